#include "app/DialogPlacement.h"

#include <cmath>

TwipsPoint scrollSettingPosition(const ButtonRelease &r)
{
    return {r.buttonLeft + r.windowLeft + r.mouseX - 1000,
            r.panelTop + r.windowTop + r.buttonTop + r.mouseY - 3800};
}

TwipsPoint fontDialogPosition(const ButtonRelease &r)
{
    return {r.buttonLeft + r.windowLeft + r.mouseX,
            r.panelTop + r.windowTop + r.buttonTop + r.mouseY - 2200};
}

TwipsPoint toumeiDialogPosition(const ButtonRelease &r)
{
    return {r.buttonLeft + r.windowLeft + r.mouseX, r.panelTop + r.windowTop + r.buttonTop + r.mouseY};
}

ButtonRelease buttonReleaseInTwips(const ButtonReleasePixels &r, double dpiX, double dpiY)
{
    auto tx = [dpiX](double px) { return qint32(std::lround(pixelsToTwips(px, dpiX))); };
    auto ty = [dpiY](double px) { return qint32(std::lround(pixelsToTwips(px, dpiY))); };
    ButtonRelease out;
    out.windowLeft = tx(r.window.x());
    out.windowTop = ty(r.window.y());
    out.panelTop = ty(r.panelTop);
    out.buttonLeft = tx(r.buttonInPanel.x());
    out.buttonTop = ty(r.buttonInPanel.y());
    out.mouseX = tx(r.mouse.x());
    out.mouseY = ty(r.mouse.y());
    return out;
}
