#pragma once
// Window geometry of the browser windows, in twips (1440 a logical inch; 15 a pixel at 96 dpi).

#include <QtGlobal>

struct ViewerRect
{
    qint32 left = 0;
    qint32 top = 0;
    qint32 width = 0;
    qint32 height = 0;

    friend bool operator==(const ViewerRect &a, const ViewerRect &b)
    {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    }
};

qint32 viewerPixelsToTwips(double pixels, double dpi);
int viewerTwipsToPixels(double twips, double dpi);

// formMerlinBrowser: its size on load, and the frame and browser for a window size.
constexpr qint32 kThreadViewLoadWidth = 11000;
constexpr qint32 kThreadViewLoadHeight = 13000;
struct ThreadViewLayout
{
    ViewerRect frame;     // Frame1
    qint32 browserWidth;  // WebBrowser1, at the frame's top left
    qint32 browserHeight;
};
ThreadViewLayout threadViewLayout(qint32 windowWidth, qint32 windowHeight);

// formWebBrowserHanyou on load: 600 x 325 pixels, centred under the main window when more than
// 320 pixels of screen are left below it, otherwise at the main window's top. screenBottom is
// the screen's lower edge (its height on a single screen).
ViewerRect hanyouPlacement(const ViewerRect &mainWindow, qint32 screenBottom, double dpi);
struct HanyouLayout
{
    qint32 browserWidth;  // WebBrowser1 at the frame's top left
    qint32 browserHeight;
    qint32 labelWidth;    // Label1, behind the browser
};
// The frame takes the window's size.
HanyouLayout hanyouLayout(qint32 windowWidth, qint32 windowHeight);
