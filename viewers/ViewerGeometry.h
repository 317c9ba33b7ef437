#pragma once
// Window geometry of the browser windows, in twips (1440 a logical inch; 15 a pixel at 96 dpi).

#include "platform/Twips.h"

// formMerlinBrowser: its size on load, and the frame and browser for a window size.
constexpr qint32 kThreadViewLoadWidth = 11000;
constexpr qint32 kThreadViewLoadHeight = 13000;
struct ThreadViewLayout
{
    TwipsRect frame;     // Frame1
    qint32 browserWidth;  // WebBrowser1, at the frame's top left
    qint32 browserHeight;
};
ThreadViewLayout threadViewLayout(qint32 windowWidth, qint32 windowHeight);

// formWebBrowserHanyou on load: 600 x 325 pixels, centred under the main window when more than
// 320 pixels of screen are left below it, otherwise at the main window's top. screenBottom is
// the screen's lower edge (its height on a single screen).
TwipsRect hanyouPlacement(const TwipsRect &mainWindow, qint32 screenBottom, double dpi);
struct HanyouLayout
{
    qint32 browserWidth;  // WebBrowser1 at the frame's top left
    qint32 browserHeight;
    qint32 labelWidth;    // Label1, behind the browser
};
// The frame takes the window's size.
HanyouLayout hanyouLayout(qint32 windowWidth, qint32 windowHeight);
