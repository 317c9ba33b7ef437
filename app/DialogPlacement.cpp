#include "app/DialogPlacement.h"

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
    auto point = [dpiX, dpiY](QPoint px) {
        return TwipsPoint{pixelsToWholeTwips(px.x(), dpiX), pixelsToWholeTwips(px.y(), dpiY)};
    };
    return {point(r.window), pixelsToWholeTwips(r.panelTop, dpiY), point(r.buttonInPanel), point(r.mouse)};
}
