#include "platform/Twips.h"

#include <cmath>

int twipsToPixels(double twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double pixelsToTwips(double pixels, double dpi)
{
    return dpi > 0 ? pixels * 1440.0 / dpi : pixels * 15.0;
}
