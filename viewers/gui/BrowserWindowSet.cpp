// The browser windows behind BrowserWindows.h, and the module's entry.

#include "viewers/gui/BrowserWindows.h"
#include "viewers/gui/formImageView.h"
#include "viewers/gui/formMerlinBrowser.h"
#include "viewers/gui/formTv2ch.h"
#include "viewers/gui/formWebBrowserHanyou.h"

#include <QPointer>

namespace {

void showAndRaise(QWidget *w)
{
    w->show();
    w->raise();
}

template <typename Window>
void closeIfThere(const QPointer<Window> &w)
{
    if (w)
        w->close();
}

class BrowserWindowSet : public BrowserWindows
{
public:
    explicit BrowserWindowSet(const ViewerWindowHosts &hosts)
        : m_imageView(new formImageView)
        , m_tv(new formTv2ch)
        , m_web(new formWebBrowserHanyou(*hosts.geometry))
        , m_threadView(new formMerlinBrowser(*hosts.threadView))
    {
    }

    ~BrowserWindowSet() override
    {
        delete m_threadView.data();
        delete m_web.data();
        delete m_tv.data();
        delete m_imageView.data();
    }

    void setImage(const QStringList &resNo, const QStringList &urls, bool isModeChange) override
    {
        if (m_imageView)
            m_imageView->setImage(resNo, urls, isModeChange);
    }
    void showImageViewer() override
    {
        if (m_imageView)
            showAndRaise(m_imageView);
    }
    void closeImageViewer() override { closeIfThere(m_imageView); }

    void showTvGraph() override
    {
        if (m_tv)
            showAndRaise(m_tv);
    }
    void closeTvGraph() override { closeIfThere(m_tv); }

    void showWebPage(const QString &url) override
    {
        if (!m_web)
            return;
        m_web->setAndMoveUrl(url);
        showAndRaise(m_web);
    }
    void closeWebWindow() override { closeIfThere(m_web); }

    bool isThreadViewVisible() const override { return m_threadView && m_threadView->isVisible(); }
    void showThreadView() override
    {
        if (m_threadView)
            showAndRaise(m_threadView);
    }
    void refreshThreadView() override
    {
        if (m_threadView)
            m_threadView->setHtmlTextFirst();
    }
    void closeThreadView() override { closeIfThere(m_threadView); }

private:
    QPointer<formImageView> m_imageView;
    QPointer<formTv2ch> m_tv;
    QPointer<formWebBrowserHanyou> m_web;
    QPointer<formMerlinBrowser> m_threadView;
};

std::unique_ptr<BrowserWindows> createBrowserWindows(const ViewerWindowHosts &hosts)
{
    return std::make_unique<BrowserWindowSet>(hosts);
}

} // namespace

extern "C" __attribute__((visibility("default"))) const BrowserModuleEntry *kestrelon_browser_windows()
{
    static const BrowserModuleEntry entry{kBrowserModuleVersion, &createBrowserWindows};
    return &entry;
}
