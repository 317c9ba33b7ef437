#pragma once
// Small pictures the simulated posters link to, made at start-up so the image viewer works
// offline: JPEG and PNG through QImage, GIF by a tiny encoder of our own (Qt writes no GIF).

#include <QByteArray>
#include <QHash>
#include <QString>

struct SimImage
{
    QByteArray bytes;
    QByteArray contentType;
};

// name ("1.jpg", "2.png", "1.gif" ...) -> picture; every name of Chatter::imageNames().
QHash<QString, SimImage> makeSimImages();

// An uncompressed-style GIF (LZW with a clear code every few codes) of a palette image.
// pixels: width * height palette indexes; palette: 256 RGB triples.
QByteArray encodeGif(int width, int height, const QByteArray &pixels, const QByteArray &palette);
