#pragma once
// The mini window: a compact frameless strip that stands in for the hidden main window in view
// mode "miniモード". It shows the one-row marquee page of new responses and carries a Start button
// (the main one, through the host), a small mode list, an always-on-top box, the re-fetch
// countdown and its own title pictures. Dragging the background or the caption moves it.
//
// The main window creates it once, shows or hides it when the view mode changes, writes
// lblCountDown, Command1 and the caption, and calls the two builders after every fetch in
// mini mode. The host must outlive the window.

#include "mini/MiniLayout.h"
#include "mini/MiniPageBuilder.h"

#include <QWidget>

class ChromePicture;
class MarqueeSurface;
class MiniHost;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSizeGrip;
class TitleImage;
class WindowDragger;

class formMiniMode : public QWidget
{
    Q_OBJECT
public:
    explicit formMiniMode(MiniHost *host, QWidget *parent = nullptr);
    ~formMiniMode() override;

    // "Kestrelon　スレッドが選択されていません"
    static QString initialCaption();

    // The builders: after each fetch in mini mode, dat mode and web mode (Text2 of the host).
    // A build that fails ends silently and leaves the shown page.
    void createTextFromDatWebScrollMini();
    void createTextWebScrollMini();

    // The thread selection copies the main window's title here, with the same tool tip.
    void setCaption(const QString &text);

    // Handlers, public so the host and tests can run them as the controls do.
    void Command1_Click();
    void comboMode_Click();
    void chkSaizenmen_Click();
    void picMin_Click();
    void picClose_Click();

    const MiniLayout &layoutTwips() const { return m_layout; }

    TitleImage *Image1;
    QLabel *lblCaption;
    ChromePicture *picMin;    // its pressed face is PicMinOn
    ChromePicture *picClose;  // its pressed face is PicCloseON
    QWidget *Frame1;
    MarqueeSurface *WebScroll;
    QPushButton *Command1;
    QComboBox *comboMode;
    QCheckBox *chkSaizenmen;
    QLabel *lblCountDown;
    QSizeGrip *sizeGrip() const { return m_sizeGrip; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    MiniSettings settingsFromHost() const;
    void applyBuild(const MiniBuild &build);
    void applyLayout();

    MiniHost *m_host;
    WindowDragger *m_dragger;
    QSizeGrip *m_sizeGrip;
    MiniLayout m_layout;
};
