#pragma once
// A frameless window's own title strip: the title image Image1, the caption lblCaption, and
// the minimise and close pictures. Dragging Image1 or lblCaption moves the window; picMin
// minimises it; picClose asks "EXIT ?" and closes it on Yes. The window places the pieces from
// its layout in twips with applyLayout. The pieces are also offered one by one, for a window
// whose title image is its whole background.

#include "platform/ChromeRules.h"

#include <QWidget>

class ChromePicture;
class QLabel;
class WindowDragger;

// The stretched title image (also the mini-mode window's whole-window background).
class TitleImage : public QWidget
{
    Q_OBJECT
public:
    explicit TitleImage(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Asks "EXIT ?" with Yes and No, the box owned by the window; true for Yes.
bool confirmExit(const QWidget *window);

// Pictures with their pressed faces, drawn by the chrome art.
ChromePicture *createMinPicture(QWidget *parent);
ChromePicture *createClosePicture(QWidget *parent);

// The caption label's look: light text on the dark title image, no background of its own.
QLabel *createCaptionLabel(const QString &text, QWidget *parent);

class TitleStrip : public QWidget
{
    Q_OBJECT
public:
    explicit TitleStrip(QWidget *parent = nullptr);

    // Places the strip in its parent and the pieces inside it, all from twips.
    void applyLayout(const TwipsRect &strip, const TwipsRect &image, const TitlePictures &pictures);

    // lblCaption's text, with the same text as its plain tool tip.
    void setCaption(const QString &text);

    TitleImage *Image1;
    QLabel *lblCaption;
    ChromePicture *picMin;    // its pressed face is PicMinOn
    ChromePicture *picClose;  // its pressed face is PicCloseON

signals:
    void minimiseClicked();
    void exitConfirmed();

private:
    void picMinActivated();
    void picCloseActivated();

    WindowDragger *m_dragger = nullptr;
};

// A twips rectangle in the widget's logical pixels (its screen's logical dpi).
QRect twipsToPixelRect(const TwipsRect &rect, const QWidget *widget);
