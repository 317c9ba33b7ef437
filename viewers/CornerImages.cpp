#include "viewers/CornerImages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cmath>

QList<GifColour> cornerPalette()
{
    QList<GifColour> palette;
    for (int i = 0; i < 16; ++i) {
        const quint8 level = quint8(std::lround(0xdc + (0xff - 0xdc) * i / 15.0));
        palette.append({level, level, level});
    }
    return palette;
}

QByteArray cornerPixels(int n)
{
    // The disc's centre is the image corner that touches the white box.
    const double r = kCornerSize;
    const double cx = (n == 1 || n == 4) ? r : 0.0;
    const double cy = (n == 1 || n == 2) ? r : 0.0;
    constexpr int kSamples = 4; // 4 x 4 samples per pixel
    QByteArray pixels;
    pixels.reserve(kCornerSize * kCornerSize);
    for (int y = 0; y < kCornerSize; ++y) {
        for (int x = 0; x < kCornerSize; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double px = x + (sx + 0.5) / kSamples - cx;
                    const double py = y + (sy + 0.5) / kSamples - cy;
                    if (px * px + py * py <= r * r)
                        ++inside;
                }
            }
            pixels.append(char(std::lround(inside * 15.0 / (kSamples * kSamples))));
        }
    }
    return pixels;
}

QByteArray cornerGif(int n)
{
    return encodeGif(kCornerSize, kCornerSize, cornerPalette(), cornerPixels(n));
}

bool installCornerImages(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    for (int n = 1; n <= 4; ++n) {
        const QString path = folder + QStringLiteral("/kado%1.gif").arg(n);
        if (QFileInfo::exists(path))
            continue;
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(cornerGif(n));
        if (!file.commit())
            return false;
    }
    return true;
}
