#include "viewers/ViewerGeometry.h"

ThreadViewLayout threadViewLayout(qint32 windowWidth, qint32 windowHeight)
{
    // A window made smaller than the margins gets empty controls rather than negative sizes.
    ThreadViewLayout layout;
    layout.frame = {0, 0, qMax(0, windowWidth - 120), qMax(0, windowHeight)};
    layout.browserWidth = layout.frame.width;
    layout.browserHeight = qMax(0, layout.frame.height - 400);
    return layout;
}

TwipsRect hanyouPlacement(const TwipsRect &mainWindow, qint32 screenBottom, double dpi)
{
    TwipsRect rect;
    rect.width = pixelsToWholeTwips(600, dpi);
    rect.height = pixelsToWholeTwips(325, dpi);
    rect.left = mainWindow.left + (mainWindow.width - rect.width) / 2;
    const qint32 mainBottom = mainWindow.top + mainWindow.height;
    rect.top = screenBottom - mainBottom > pixelsToWholeTwips(320, dpi) ? mainBottom : mainWindow.top;
    return rect;
}

HanyouLayout hanyouLayout(qint32 windowWidth, qint32 windowHeight)
{
    return {qMax(0, windowWidth - 100), qMax(0, windowHeight - 350), qMax(0, windowWidth - 100)};
}
