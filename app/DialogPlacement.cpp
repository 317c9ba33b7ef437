#include "app/DialogPlacement.h"

#include <cmath>

namespace {

// Where the mouse was on the screen at the release.
TwipsPoint pointerOnScreen(const ButtonRelease &r)
{
    return {r.window.left + r.buttonInPanel.left + r.mouse.left,
            r.window.top + r.panelTop + r.buttonInPanel.top + r.mouse.top};
}

} // namespace

TwipsPoint scrollSettingPosition(const ButtonRelease &r)
{
    const TwipsPoint p = pointerOnScreen(r);
    return {p.left - 1000, p.top - 3800};
}

TwipsPoint fontDialogPosition(const ButtonRelease &r)
{
    const TwipsPoint p = pointerOnScreen(r);
    return {p.left, p.top - 2200};
}

TwipsPoint toumeiDialogPosition(const ButtonRelease &r)
{
    return pointerOnScreen(r);
}

ButtonRelease buttonReleaseInTwips(const ButtonReleasePixels &r, double dpiX, double dpiY)
{
    auto tx = [dpiX](double px) { return qint32(std::lround(pixelsToTwips(px, dpiX))); };
    auto ty = [dpiY](double px) { return qint32(std::lround(pixelsToTwips(px, dpiY))); };
    auto point = [&](QPoint px) { return TwipsPoint{tx(px.x()), ty(px.y())}; };
    return {point(r.window), ty(r.panelTop), point(r.buttonInPanel), point(r.mouse)};
}
