#pragma once
// Small pictures the simulated posters link to, made at start-up so the image viewer works
// offline: JPEG and PNG through QImage, GIF by the program's own writer (platform/GifEncoder.h).

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
