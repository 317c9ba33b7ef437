#pragma once
// The general-purpose web window: the current thread's page, so that the user can post through
// it. Opens under the main window (or at its top when the screen ends close below it); an
// address that is empty (or not http/https) hides the browser and leaves an explanation.
//
// formMain's "書き込み" button calls setAndMoveUrl with the current thread page address, then
// shows the window.

#include "viewers/ViewerHosts.h"

#include <QUrl>
#include "viewers/gui/ViewerWindow.h"

class QLabel;
class QWebEngineView;

class formWebBrowserHanyou : public ViewerWindow
{
    Q_OBJECT
public:
    explicit formWebBrowserHanyou(MainGeometryHost &host, QWidget *parent = nullptr);

    void setAndMoveUrl(const QString &strUrl);

    QWebEngineView *WebBrowser1() const { return m_browser; } // null until first shown
    QLabel *Label1() const { return m_label; }
    QWidget *Frame1() const { return m_frame; }
    // Whether the browser control is to be seen (false: Label1 shows).
    bool browserShown() const { return m_browserShown; }

    static QString label1Text();

signals:
    // A page finished loading and was scrolled to its end.
    void pageScrolledToEnd();

private:
    void firstShown() override { Form_Load(); }
    void layoutControls() override { Form_Resize(); }
    void Form_Load();
    void Form_Resize();
    void WebBrowser1_DocumentComplete(bool ok);
    void WebBrowser1_Loading();
    void setBrowserShown(bool shown);

    MainGeometryHost &m_host;
    QWidget *m_frame = nullptr;
    QLabel *m_label = nullptr;
    QWebEngineView *m_browser = nullptr;
    bool m_browserShown = true;
    QUrl m_pendingUrl;
};
