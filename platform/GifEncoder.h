#pragma once
// A small GIF writer of our own (Qt writes no GIF): the thread view's corner images and the
// board simulator's pictures.

#include <QByteArray>
#include <QList>

struct GifColour
{
    quint8 red;
    quint8 green;
    quint8 blue;
};

// A single-image GIF89a of width x height pixels, one palette index per pixel, row by row.
// The palette holds 2 to 256 colours (padded to a power of two). The LZW stream only ever
// sends single-pixel codes, restarting the table before it grows, which every decoder reads.
// Empty for sizes or a palette out of range, or indices that are not width x height.
QByteArray encodeGif(int width, int height, const QList<GifColour> &palette, const QByteArray &indices);
