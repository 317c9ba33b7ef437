// The browser windows behind viewers/ViewerWindows.h.

#include "viewers/ViewerWindows.h"
#include "viewers/gui/formImageView.h"
#include "viewers/gui/formMerlinBrowser.h"
#include "viewers/gui/formSureItiran.h"
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

class ViewerWindowSet : public ViewerWindows
{
public:
    explicit ViewerWindowSet(const ViewerWindowHosts &hosts)
        : m_hosts(hosts)
        , m_imageView(new formImageView)
        , m_tv(new formTv2ch)
        , m_web(new formWebBrowserHanyou(*hosts.geometry))
        , m_threadView(new formMerlinBrowser(*hosts.threadView))
    {
    }

    ~ViewerWindowSet() override
    {
        delete m_threadList.data();
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
    void closeThreadList() override { closeIfThere(m_threadList); }

private:
    formSureItiran *threadList()
    {
        if (!m_threadList)
            m_threadList = new formSureItiran(*m_hosts.threadList);
        return m_threadList;
    }

    ViewerWindowHosts m_hosts;
    QPointer<formImageView> m_imageView;
    QPointer<formTv2ch> m_tv;
    QPointer<formWebBrowserHanyou> m_web;
    QPointer<formMerlinBrowser> m_threadView;
    QPointer<formSureItiran> m_threadList; // deletes itself when closed
};

} // namespace

std::unique_ptr<ViewerWindows> createViewerWindows(const ViewerWindowHosts &hosts)
{
    return std::make_unique<ViewerWindowSet>(hosts);
}
