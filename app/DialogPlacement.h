#pragma once
// Where the settings dialogs open: near the point where the mouse button was released over the
// main window's button that opens them. Everything in screen twips.

#include "platform/Twips.h"

#include <QPoint>

// The release over an opening button: the button's position inside the bottom panel, the
// panel's top inside the window, the window's screen position and the mouse position inside
// the button (for the transparency dialog: the position recorded at the last release of the
// function-menu button, lngPopupX / lngPopupY, with that button's position).
struct ButtonRelease
{
    qint32 windowLeft = 0;
    qint32 windowTop = 0;
    qint32 panelTop = 0;
    qint32 buttonLeft = 0;
    qint32 buttonTop = 0;
    qint32 mouseX = 0;
    qint32 mouseY = 0;
};

// Settings dialog ("コンフィグ"): up and to the left of the pointer.
TwipsPoint scrollSettingPosition(const ButtonRelease &r);
// Font dialog: above the pointer.
TwipsPoint fontDialogPosition(const ButtonRelease &r);
// Transparency dialog: at the pointer.
TwipsPoint toumeiDialogPosition(const ButtonRelease &r);

// A release as the window sees it, in pixels: the window's screen position, the panel's top in
// the window, the button's position in the panel and the mouse in the button.
struct ButtonReleasePixels
{
    QPoint window;
    int panelTop = 0;
    QPoint buttonInPanel;
    QPoint mouse;
};

// The same in whole twips at the screen's resolution (rounded to nearest).
ButtonRelease buttonReleaseInTwips(const ButtonReleasePixels &r, double dpiX, double dpiY);
