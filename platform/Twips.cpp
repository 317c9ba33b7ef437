#include "platform/Twips.h"

#include <cmath>

namespace {
constexpr double kDefaultDpi = 96.0;
}

int twipsToPixels(double twips, double dpi)
{
    return static_cast<int>(std::lround(twips * (dpi > 0 ? dpi : kDefaultDpi) / 1440.0));
}

double pixelsToTwips(double pixels, double dpi)
{
    return pixels * 1440.0 / (dpi > 0 ? dpi : kDefaultDpi);
}

qint32 pixelsToWholeTwips(double pixels, double dpi)
{
    return qint32(std::lround(pixelsToTwips(pixels, dpi)));
}
