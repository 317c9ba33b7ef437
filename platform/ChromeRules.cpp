#include "platform/ChromeRules.h"

#include <cmath>

using namespace chromesizes;

TitlePictures titlePicturesFor(int titleImageWidth)
{
    TitlePictures p;
    p.picClose = {titleImageWidth - 420, kTitlePictureTop, kTitlePictureSize, kTitlePictureSize};
    p.picMin = {p.picClose.left - 360, kTitlePictureTop, kTitlePictureSize, kTitlePictureSize};
    p.caption = {kCaptionLeft, kTitlePictureTop, p.picMin.left - 350, kTitlePictureSize};
    return p;
}

bool isReleaseInside(double x, double y, double width, double height)
{
    return x > 0 && x < width && y > 0 && y < height;
}

void DragRule::press(double x, double y)
{
    // Rounded half to even, as the conversion of the position to a whole number does.
    lngDragX = static_cast<int>(std::nearbyint(x));
    lngDragY = static_cast<int>(std::nearbyint(y));
    blnDragging = true;
}

bool DragRule::move(int windowLeft, int windowTop, double x, double y, WindowPoint &newTopLeft) const
{
    if (!blnDragging)
        return false;
    newTopLeft.x = static_cast<int>(std::nearbyint(windowLeft - lngDragX + x));
    newTopLeft.y = static_cast<int>(std::nearbyint(windowTop - lngDragY + y));
    return true;
}

bool PressRule::release(double x, double y, double width, double height)
{
    const bool wasPressed = m_pressedShown;
    m_pressedShown = false;
    return wasPressed && isReleaseInside(x, y, width, height);
}
