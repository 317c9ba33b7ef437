#pragma once
// Where the settings dialogs open: near the point where the mouse button was released over the
// main window's button that opens them. Everything in screen twips.

#include "platform/Twips.h"

#include <QPoint>

// The release over an opening button, in screen twips: the window's screen position, the
// bottom panel's top inside the window, the button's position inside the panel and the mouse
// position inside the button (for the transparency dialog: the position recorded at the last
// release of the function-menu button, lngPopupX / lngPopupY, with that button's position).
struct ButtonRelease
{
    TwipsPoint window;
    qint32 panelTop = 0;
    TwipsPoint buttonInPanel;
    TwipsPoint mouse;
};

// Settings dialog ("コンフィグ"): up and to the left of the pointer.
TwipsPoint scrollSettingPosition(const ButtonRelease &r);
// Font dialog: above the pointer.
TwipsPoint fontDialogPosition(const ButtonRelease &r);
// Transparency dialog: at the pointer.
TwipsPoint toumeiDialogPosition(const ButtonRelease &r);

// The same release as the window sees it, in pixels.
struct ButtonReleasePixels
{
    QPoint window;
    int panelTop = 0;
    QPoint buttonInPanel;
    QPoint mouse;
};

// The pixels release in whole twips at the screen's resolution, each value rounded to nearest.
ButtonRelease buttonReleaseInTwips(const ButtonReleasePixels &r, double dpiX, double dpiY);
