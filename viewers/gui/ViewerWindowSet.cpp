// The windows behind viewers/ViewerWindows.h: the thread-list window, plain widgets, built into
// the program; the browser windows from their module, loaded when one of them is first shown.
// Until then the set keeps what the main window hands the image viewer, so the viewer opened
// later shows what it would have shown had it existed from the start.

#include "viewers/ViewerWindows.h"
#include "viewers/gui/BrowserModule.h"
#include "viewers/gui/formSureItiran.h"

#include <QPointer>

namespace {

void showAndRaise(QWidget *w)
{
    w->show();
    w->raise();
}

class ViewerWindowSet : public ViewerWindows
{
public:
    ViewerWindowSet(const ViewerWindowHosts &hosts, BrowserModule &module)
        : m_hosts(hosts), m_module(module)
    {
    }

    ~ViewerWindowSet() override
    {
        delete m_threadList.data();
        m_browser.reset();
    }

    void setImage(const QStringList &resNo, const QStringList &urls, bool isModeChange) override
    {
        if (m_browser) {
            m_browser->setImage(resNo, urls, isModeChange);
            return;
        }
        // Each call hands the whole lists; a mode change re-draws on top of the last ones.
        if (!isModeChange)
            m_pendingImages.clear();
        m_pendingImages.append({resNo, urls, isModeChange});
    }
    // Showing loads the module; closing a window that was never built has nothing to do.
    void showImageViewer() override { whenBuilt(&BrowserWindows::showImageViewer); }
    void closeImageViewer() override { ifBuilt(&BrowserWindows::closeImageViewer); }
    void showTvGraph() override { whenBuilt(&BrowserWindows::showTvGraph); }
    void closeTvGraph() override { ifBuilt(&BrowserWindows::closeTvGraph); }
    void showWebPage(const QString &url) override { whenBuilt(&BrowserWindows::showWebPage, url); }
    void closeWebWindow() override { ifBuilt(&BrowserWindows::closeWebWindow); }
    bool isThreadViewVisible() const override { return m_browser && m_browser->isThreadViewVisible(); }
    void showThreadView() override { whenBuilt(&BrowserWindows::showThreadView); }
    // Called right after showing, or while the view is visible: never the call that loads.
    void refreshThreadView() override { whenBuilt(&BrowserWindows::refreshThreadView); }
    void closeThreadView() override { ifBuilt(&BrowserWindows::closeThreadView); }

    void fillThreadList(const QStringList &entries, const QStringList &addresses) override
    {
        if (m_threadList)
            m_threadList->setThreadLists(entries, addresses);
    }
    void showThreadListAt(QPoint topLeft) override
    {
        formSureItiran *w = threadList();
        w->move(topLeft);
        showAndRaise(w);
    }
    void showThreadListAtTop(int top) override
    {
        formSureItiran *w = threadList();
        w->move(w->x(), top);
        showAndRaise(w);
    }
    void closeThreadList() override
    {
        if (m_threadList)
            m_threadList->close();
    }

private:
    struct PendingImage
    {
        QStringList resNo;
        QStringList urls;
        bool isModeChange;
    };

    template <typename Call, typename... Args>
    void whenBuilt(Call call, const Args &...args)
    {
        if (BrowserWindows *b = browser())
            (b->*call)(args...);
    }
    template <typename Call>
    void ifBuilt(Call call)
    {
        if (m_browser)
            (m_browser.get()->*call)();
    }

    // The browser windows, built when first needed; null when their module cannot be loaded
    // (reported once by the module).
    BrowserWindows *browser()
    {
        if (m_browser)
            return m_browser.get();
        const BrowserModuleEntry *entry = m_module.entry();
        if (!entry)
            return nullptr;
        m_browser = entry->create(m_hosts);
        for (const PendingImage &p : std::as_const(m_pendingImages))
            m_browser->setImage(p.resNo, p.urls, p.isModeChange);
        m_pendingImages.clear();
        return m_browser.get();
    }

    formSureItiran *threadList()
    {
        if (!m_threadList)
            m_threadList = new formSureItiran(*m_hosts.threadList);
        return m_threadList;
    }

    ViewerWindowHosts m_hosts;
    BrowserModule &m_module;
    std::unique_ptr<BrowserWindows> m_browser;
    QList<PendingImage> m_pendingImages;
    QPointer<formSureItiran> m_threadList; // deletes itself when closed
};

} // namespace

std::unique_ptr<ViewerWindows> createViewerWindows(const ViewerWindowHosts &hosts, BrowserModule &module)
{
    return std::make_unique<ViewerWindowSet>(hosts, module);
}

std::unique_ptr<ViewerWindows> createViewerWindows(const ViewerWindowHosts &hosts)
{
    return createViewerWindows(hosts, programBrowserModule());
}
