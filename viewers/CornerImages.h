#pragma once
// The four 14 x 14 corner images of the thread view page, drawn here: a white quarter disc of
// radius 14 on the page's #DCDCDC, anti-aliased, so that a table of white cells gets rounded
// corners. kado1 top left, kado2 top right, kado3 bottom right, kado4 bottom left. Written as
// real GIF files (the page names them .gif).

#include "platform/GifEncoder.h"

#include <QByteArray>
#include <QList>
#include <QString>

constexpr int kCornerSize = 14;

// The palette of the corner images: index 0 the page colour #DCDCDC, index 15 white, the
// levels between for the anti-aliased edge.
QList<GifColour> cornerPalette();

// Palette indices of corner n (1 to 4), 14 x 14, row by row.
QByteArray cornerPixels(int n);

// The GIF file of corner n (1 to 4).
QByteArray cornerGif(int n);

// Creates the folder when missing and writes kado1.gif to kado4.gif into it where they are
// missing (images a user put there are kept). False when the folder or a file cannot be made.
bool installCornerImages(const QString &folder);
