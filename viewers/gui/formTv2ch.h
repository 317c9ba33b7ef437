#pragma once
// The TV momentum-graph window: the outside site's top page (services().tvTopPage) cut down to
// its graph part with a credit line (TvGraphPage.h). "更新" loads it again.

#include "viewers/gui/ViewerWindow.h"

class QPushButton;
class QWebEngineView;

class formTv2ch : public ViewerWindow
{
    Q_OBJECT
public:
    explicit formTv2ch(QWidget *parent = nullptr);

    QWebEngineView *WebBrowserTv2ch() const { return m_browser; } // null until first shown
    QPushButton *cmdGetTv2ch() const { return m_refresh; }

    // Navigates to the site's top page (load and "更新").
    void cmdGetTv2ch_Click();

signals:
    // The cut-down page has been written into the browser and has finished loading.
    void pageShown();

private:
    void firstShown() override { Form_Load(); }
    void layoutControls() override;
    void Form_Load();
    void WebBrowserTv2ch_DocumentComplete(bool ok);

    QPushButton *m_refresh = nullptr;
    QWebEngineView *m_browser = nullptr;
    // Set by a navigation to the site, cleared when its document is rewritten: writing the
    // new page finishes a load too, which must not be cut down again.
    bool m_siteLoading = false;
    bool m_rewriting = false;
};
