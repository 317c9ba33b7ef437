#pragma once
// The thread view window: the whole current thread as a page of rounded response boxes
// ("image/tempHtml3.html"), rebuilt on demand, opening where the previous page ended.
//
// formMain shows it from the menu entry "開く（人大杉用）" and then calls setHtmlTextFirst, and
// calls setHtmlTextFirst after every dat-mode fetch while the window is visible.

#include "viewers/ThreadViewScroll.h"
#include "viewers/ViewerHosts.h"

#include <QUrl>
#include "viewers/gui/ViewerWindow.h"

class QWebEngineView;

class formMerlinBrowser : public ViewerWindow
{
    Q_OBJECT
public:
    explicit formMerlinBrowser(ThreadViewHost &host, QWidget *parent = nullptr);
    ~formMerlinBrowser() override;

    // Builds the page file and shows it. False when the build failed or was overtaken by a
    // newer one started while this one let events run; the page shown then stays.
    // Window events run after each response: anything may happen meanwhile, including a new
    // call or the window's destruction (which also ends this one with false).
    bool setHtmlTextFirst();

    const ThreadViewScroll &scrollState() const { return m_scroll; }
    // The browser control; null until the window is first shown.
    QWebEngineView *WebBrowser1() const { return m_browser; }
    QWidget *Frame1() const { return m_frame; }
    // programFolder() + "/image/tempHtml3.html"
    static QString pagePath();

signals:
    // A document finished loading and the scroll position was restored and recorded.
    void documentCompleted();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The browser is made on the first show; a show after closing loads the window again.
    void firstShown() override;
    void layoutControls() override { Form_Resize(); }
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void WebBrowser1_DocumentComplete(bool ok);
    void ensureBrowser();

    ThreadViewHost &m_host;
    QWidget *m_frame = nullptr;
    QWebEngineView *m_browser = nullptr;
    ThreadViewScroll m_scroll;
    bool m_loaded = false;
    quint32 m_buildGeneration = 0;
    quint64 m_navigationCount = 0;
    QUrl m_pendingUrl; // navigated to once the browser exists
};
