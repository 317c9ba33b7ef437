#include "present/StripMotion.h"

#include <cmath>

namespace present {

qint64 roundHalfEven(double value)
{
    const double down = std::floor(value);
    const double diff = value - down;
    if (diff < 0.5)
        return qint64(down);
    if (diff > 0.5)
        return qint64(down) + 1;
    const qint64 d = qint64(down);
    return (d % 2 == 0) ? d : d + 1;
}

int randomGap(double uniform)
{
    return int(roundHalfEven(100.0 * uniform));
}

Placement placeComment(const PlacementInput &in)
{
    Placement p;
    const qint64 k = in.k;
    p.left = (k == 1) ? in.mainWindowWidth + 1 : in.mainWindowWidth + 3000 * k;
    if (k % 11 == 1) {
        p.top = 1;
    } else {
        const qint64 below = in.maeHeight + in.maeTop + in.r;
        if (below + in.ownHeight <= in.stripHeight)
            p.top = below;
        else
            p.top = in.stripHeight - in.ownHeight - 450 + in.r;
    }
    return p;
}

bool stepPerTick(qint64 ownWidth, qint64 stripWidth, int intScroll, int intervalMs, double *step)
{
    if (intScroll <= 0)
        return false;
    *step = double(ownWidth + stripWidth) / intScroll / 1000.0 * intervalMs;
    return true;
}

QString stepTag(double step)
{
    return QString::number(step, 'g', 15);
}

bool stepFromTag(const QString &tag, qint64 *step)
{
    bool ok = false;
    const double value = tag.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return false;
    *step = roundHalfEven(value);
    return true;
}

} // namespace present
