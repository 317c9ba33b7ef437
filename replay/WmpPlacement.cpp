#include "replay/WmpPlacement.h"

std::optional<WmpPlacement> placeWmpLabel(const WmpPlacementInput &in)
{
    if (in.intScroll <= 0)
        return std::nullopt;

    WmpPlacement p;
    p.left = in.k == 1 ? in.windowWidth + 1 : in.windowWidth + in.k * 1000;

    if (isWmpPrevLabelGone(in.prev) || isWmpPrevLabelIn(in.prev, in.frameWidth)) {
        p.top = 1;
    } else {
        const qint64 t = in.prev->top;
        if (qint64(in.ownHeight) + in.gapBase + t + in.r > in.frameHeight)
            p.top = in.r * in.r;
        else
            p.top = int(t + in.gapBase + in.r);
    }

    p.shadowLeft = p.left + 25;
    p.shadowTop = p.top + 20;
    p.timerInterval = in.shadow ? kTimerLblWmpMsgKageInterval : kTimerLblWmpMsgInterval;
    p.step = (double(in.ownWidth) + in.frameWidth) / in.intScroll / 1000.0 * p.timerInterval;
    p.tag = QString::number(p.step, 'g', 15);
    return p;
}
