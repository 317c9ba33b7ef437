#pragma once
// The image viewer window ("ImageViewer"): thumbnails of the newest image links seen, in a wide
// strip scrolled with the arrow buttons (click, or hold for Timer1's ticks) or in a tall column.
// The page is built by ImageViewerState and written into the browser once it has loaded
// "about:blank"; the browser itself is created the first time the window is shown, and until
// then the page is only kept.

#include "viewers/ImageViewerPage.h"

#include <QStringList>
#include <QTimer>
#include "viewers/gui/ViewerWindow.h"

class QPushButton;
class QWebEngineView;

class formImageView : public ViewerWindow
{
    Q_OBJECT
public:
    explicit formImageView(QWidget *parent = nullptr);

    // Presenters hand the whole lists (oldest first); isModeChange re-draws the stored copies.
    void setImage(const QStringList &varNameAndTime, const QStringList &varAddress, bool isModeChange);

    const ImageViewerState &state() const { return m_state; }
    QWebEngineView *WebBrowser1() const { return m_browser; }   // null until first shown
    QPushButton *cmdLeft() const { return m_cmdLeft; }
    QPushButton *cmdRight() const { return m_cmdRight; }
    QPushButton *cmdModeChange() const { return m_cmdModeChange; }
    QTimer &Timer1() { return m_timer; }
    // The page that is in the browser now (empty before the first write).
    QString writtenPage() const { return m_written; }

    void cmdModeChange_Click();
    void cmdLeft_Click();
    void cmdRight_Click();
    void cmdLeft_MouseDown();
    void cmdRight_MouseDown();
    void arrow_MouseUp();
    void Timer1_Timer();

signals:
    // The built page has been written into the browser and has finished loading.
    void pageShown();
    // The arrows moved the page sideways by dx CSS pixels.
    void scrolled(int dx);

private:
    void firstShown() override { createBrowser(); }
    void Form_Load();
    void createBrowser();
    void navigateBlank();
    void WebBrowser1_DocumentComplete(bool ok);
    void applyLayout(const ImageViewerLayout &layout);
    void scrollBy(int dx);

    ImageViewerState m_state;
    ImageViewerLayout m_layout{};
    QWebEngineView *m_browser = nullptr;
    QPushButton *m_cmdLeft = nullptr;
    QPushButton *m_cmdRight = nullptr;
    QPushButton *m_cmdModeChange = nullptr;
    QTimer m_timer;
    bool m_blnScrollLeft = false;
    bool m_blankLoading = false;  // navigating to "about:blank"; its completion writes the page
    bool m_writing = false;       // the page is being written; its completion is the page shown
    QString m_written;
};
