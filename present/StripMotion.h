#pragma once
// Placement and speed of a comment sliding across the strip, shared by the text labels and the
// painted picture comments. Every length is in twips.

#include <QString>
#include <QtGlobal>

namespace present {

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
qint64 roundHalfEven(double value);

// The random gap below the previous comment: nearest integer to 100 x a uniform draw in [0, 1).
int randomGap(double uniform);

struct PlacementInput
{
    qint64 mainWindowWidth = 0;  // width of the main window
    qint64 stripHeight = 0;      // height of the strip
    qint64 ownHeight = 0;        // height of the comment being placed
    qint64 k = 1;                // position of the comment in its fetch, from 1
    qint64 maeHeight = 1;        // height and top of the comment created before it (1, 1 for k = 1)
    qint64 maeTop = 1;
    qint64 r = 0;                // random gap, 0..100
};

struct Placement
{
    qint64 left = 0;
    qint64 top = 0;
};

// Comment k of a fetch starts right of the window (the 1st just outside it, the k-th 3000 x k
// out); every 11th from the 1st goes to the top, the others below their predecessor, or near
// the bottom when they would not fit.
Placement placeComment(const PlacementInput &in);

// Twips per tick so that a comment covers its own width plus the strip's in intScroll seconds.
// Returns false when intScroll is not positive.
bool stepPerTick(qint64 ownWidth, qint64 stripWidth, int intScroll, int intervalMs, double *step);

// The step as the decimal text kept in a comment's Tag, and read back as a whole number of twips
// (nearest, halves to even). Reading fails on text that is not a number.
QString stepTag(double step);
bool stepFromTag(const QString &tag, qint64 *step);

} // namespace present
