#pragma once
// The image viewer's page (formImageView.setImage): thumbnails of the newest ten image links,
// newest first, each under the number of its response, in a strip or a column. The page keeps
// its fixed script, so an address reaches it only when it cannot leave its quotes.

#include <QString>
#include <QStringList>

enum class ImageViewerMode { Column = 1, Strip = 2 };

// The address as shown and stored: the redirector prefix removed everywhere, blanks, angle
// brackets, backslashes and control characters percent-encoded; the empty text when it is not
// an http(s) address or holds a quote (it then shows nothing, like an empty address). The page
// writes its "&" as "&amp;".
QString imageViewerAddress(const QString &address, const QString &redirectorPrefix);

// Runs in the page before its own script, for our browser engine: the page's script and styles
// are written for an engine with style.pixelLeft / pixelTop and the "filter:Alpha(opacity=N)"
// style, which ours ignores (the pop-up would never move, the thumbnails would be opaque). This
// gives pixelLeft / pixelTop as "left" / "top" in pixels, applies an Alpha(opacity=N) written in
// a style attribute as standard opacity, and does what the thumbnails' mouse handlers ask of
// "this.style.filter" with opacity (an empty filter: fully opaque). The page text stays as is.
QString imageViewerCompatibilityScript();

// Window, browser and button geometry of a layout, in twips.
struct ImageViewerLayout
{
    int windowWidth;
    int windowHeight;
    int browserWidth;
    int browserHeight;
    int modeChangeTop;
    int modeChangeLeft;
    bool arrowsVisible;   // cmdLeft / cmdRight, placed 300 twips apart right of cmdModeChange
};
ImageViewerLayout imageViewerLayout(ImageViewerMode mode);

// Horizontal scroll step of the arrows (click and each Timer1 tick), CSS pixels.
constexpr int kImageViewerScrollStep = 100;

// The window's state: the copies of what is shown and the page last built.
class ImageViewerState
{
public:
    ImageViewerMode intImageMode = ImageViewerMode::Column;
    QStringList varShownResNo;   // same indexes as the caller's lists; empty where nothing shown
    QStringList varShownUrl;     // shown addresses, redirector prefix removed
    QString strImagePage = QStringLiteral("about:blank");
    bool blnImagePageSet = false;

    // Builds the page from two parallel lists, oldest first (the last entry is the newest).
    // isModeChange: re-drawing the stored copies, which are then kept as they are.
    void setImage(const QStringList &names, const QStringList &addresses, bool isModeChange);

    // The window's load: column layout, no page, then one layout change, so the window opens
    // in the strip layout. Returns the geometry the window takes.
    ImageViewerLayout load();

    // cmdModeChange: switches the layout and re-draws the stored copies once a page exists.
    // Returns the geometry the window takes.
    ImageViewerLayout modeChange();
};
