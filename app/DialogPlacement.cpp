#include "app/DialogPlacement.h"

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
