#include "viewers/gui/BrowserView.h"

#include "platform/gui/DesktopServices.h"
#include "viewers/ViewerNavigation.h"

#include <QPointer>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace {

// Stays on its own page file; the engine asks before every navigation, clicks included.
class OwnFilePage : public QWebEnginePage
{
public:
    OwnFilePage(const QString &ownFile, QObject *parent)
        : QWebEnginePage(parent)
        , m_ownPage(QUrl::fromLocalFile(ownFile))
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        switch (threadViewNavigation(url, m_ownPage, type == NavigationTypeLinkClicked, isMainFrame)) {
        case ViewerNavigation::Load:
            return true;
        case ViewerNavigation::OpenOutside:
            platform::openInDesktopBrowser(url.toString());
            return false;
        case ViewerNavigation::Refuse:
            break;
        }
        return false;
    }

private:
    QUrl m_ownPage;
};

// Every request of the page, its own load included, whatever the engine's rules for local pages.
class OwnFileRequests : public QWebEngineUrlRequestInterceptor
{
public:
    OwnFileRequests(const QString &ownFile, QObject *parent)
        : QWebEngineUrlRequestInterceptor(parent)
        , m_ownPage(QUrl::fromLocalFile(ownFile))
    {
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (!threadViewMayLoad(info.requestUrl(), m_ownPage))
            info.block(true);
    }

private:
    QUrl m_ownPage;
};

void configure(QWebEngineView *view, bool pageScripts)
{
    view->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, pageScripts);
    view->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    // Nobody else answers a request for a new window: without this a target=new link does
    // nothing. The address goes to the user's browser, which accepts only http and https.
    QObject::connect(view->page(), &QWebEnginePage::newWindowRequested, view, [](QWebEngineNewWindowRequest &request) {
        platform::openInDesktopBrowser(request.requestedUrl().toString());
    });
}

} // namespace

QWebEngineView *createBrowserView(QWidget *parent, bool pageScripts)
{
    auto *view = new QWebEngineView(parent);
    configure(view, pageScripts);
    return view;
}

QWebEngineView *createLocalPageView(QWidget *parent, const QString &ownFile)
{
    auto *view = new QWebEngineView(parent);
    auto *page = new OwnFilePage(ownFile, view);
    page->setUrlRequestInterceptor(new OwnFileRequests(ownFile, page));
    view->setPage(page);
    configure(view, false);
    // Set here rather than left to the engine's defaults for local pages. Local files stay
    // reachable for the engine (the corner images are files beside the page); which ones the
    // page gets is the interceptor's decision: its own file and the corners only.
    QWebEngineSettings *settings = view->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    return view;
}

void runPrivateScript(QWebEngineView *view, const QString &script,
                      const std::function<void(const QVariant &)> &done)
{
    if (!view)
        return;
    QPointer<QWebEngineView> guard(view);
    view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [guard, done](const QVariant &result) {
        if (guard && done)
            done(result);
    });
}

// The page has no doctype, so it renders in quirks mode where the body is the scrolling
// element, as the page was written for; scrollingElement covers both modes.
QString scrollTopThenHeightScript(qint32 top)
{
    return QStringLiteral("(function(){var b=document.body;if(!b)return 0;"
                          "var s=document.scrollingElement||b;if(%1>=0)s.scrollTop=%1;"
                          "return b.scrollHeight;})()")
        .arg(top);
}

QString scrollToEndScript()
{
    return QStringLiteral("(function(){var b=document.body;if(!b)return 0;"
                          "var s=document.scrollingElement||b;s.scrollTop=b.scrollHeight;"
                          "return s.scrollTop;})()");
}
