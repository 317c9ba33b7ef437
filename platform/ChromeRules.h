#pragma once
// The rules of a window's own title strip, free of widgets so both the main window and the
// mini-mode window (and the tests) share them: where the title pictures sit, when a picture
// acts, how dragging moves the window. Pictures are placed in twips; the press and drag rules
// take whatever unit the caller uses throughout (the widgets use logical pixels).

#include "platform/Twips.h"

namespace chromesizes {
constexpr int kTitlePictureSize = 270;    // 18 px minimise and close pictures
constexpr int kTitlePictureTop = 38;
constexpr int kCaptionLeft = 120;
} // namespace chromesizes

struct TitlePictures
{
    TwipsRect picMin;    // and PicMinOn over it
    TwipsRect picClose;  // and PicCloseON over it
    TwipsRect caption;
};

// Places of the minimise and close pictures and the caption's width, for a title image of the
// given width: the pictures follow the image's right edge and the caption runs up to them.
TitlePictures titlePicturesFor(int titleImageWidth);

// A release acts only strictly inside the picture: 0 < x < width and 0 < y < height. A release
// on the right or bottom edge (x == width) or outside cancels.
bool isReleaseInside(double x, double y, double width, double height);

struct WindowPoint
{
    int x = 0;
    int y = 0;
};

// Dragging a window by its title image or caption (blnDragging, lngDragX, lngDragY).
class DragRule
{
public:
    // Mouse down at (x, y) within the handle, any button.
    void press(double x, double y);
    // Mouse move to (x, y) within the handle: the window's new top-left, or false when not
    // dragging (the window stays).
    bool move(int windowLeft, int windowTop, double x, double y, WindowPoint &newTopLeft) const;
    void release() { blnDragging = false; }

    bool dragging() const { return blnDragging; }
    int dragX() const { return lngDragX; }
    int dragY() const { return lngDragY; }

private:
    bool blnDragging = false;
    int lngDragX = 0;
    int lngDragY = 0;
};

// A title picture with its pressed face (picMin/PicMinOn, picClose/PicCloseON).
class PressRule
{
public:
    void press() { m_pressedShown = true; }
    // Hides the pressed face; true when the release was inside, so the picture acts. A release
    // without a press before it (the press went to another control) does not act.
    bool release(double x, double y, double width, double height);
    bool pressedShown() const { return m_pressedShown; }

private:
    bool m_pressedShown = false;
};
