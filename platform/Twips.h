#pragma once
// Lengths in twips, the unit window and control geometry is given in: 1440 a logical inch, 15 a
// pixel at 96 dpi. pixels = twips x dpi / 1440, with the screen's logical dpi, so layouts scale
// on high-dpi screens.

#include <QtGlobal>

struct TwipsRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const TwipsRect &o) const
    {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

struct TwipsPoint
{
    qint32 left = 0;
    qint32 top = 0;

    friend bool operator==(const TwipsPoint &a, const TwipsPoint &b)
    {
        return a.left == b.left && a.top == b.top;
    }
};

// Rounded to whole pixels; and back, unrounded or rounded. An unknown dpi (0) counts as 96.
int twipsToPixels(double twips, double dpi);
double pixelsToTwips(double pixels, double dpi);
qint32 pixelsToWholeTwips(double pixels, double dpi);
