#include "viewers/gui/BrowserView.h"

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

QWebEngineView *createBrowserView(QWidget *parent, bool pageScripts)
{
    auto *view = new QWebEngineView(parent);
    view->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, pageScripts);
    view->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
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
