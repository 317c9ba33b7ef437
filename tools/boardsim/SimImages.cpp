#include "SimImages.h"

#include "Chatter.h"

#include "platform/GifEncoder.h"

#include <QBuffer>
#include <QImage>

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// Colour pattern number `seed`: a diagonal gradient with a disc and stripes, so thumbnails differ.
QRgb patternColour(int seed, int x, int y)
{
    const int cx = 40 + (seed * 37) % 80;
    const int cy = 30 + (seed * 23) % 60;
    const int dx = x - cx;
    const int dy = y - cy;
    if (dx * dx + dy * dy < 900)
        return qRgb(250, 240 - seed * 30 % 200, 40 + seed * 50 % 200);
    if ((x + y + seed * 7) % 40 < 4)
        return qRgb(255, 255, 255);
    return qRgb((x * 255 / kWidth + seed * 60) % 256, (y * 255 / kHeight + seed * 90) % 256, (seed * 80 + 60) % 256);
}

QByteArray saveImage(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 85);
    return bytes;
}

QByteArray gifPicture(int seed)
{
    QList<GifColour> palette;
    for (int i = 0; i < 256; ++i)
        palette.append({quint8((i * 5 + seed * 40) % 256), quint8((i * 3 + 80) % 256), quint8(255 - i)});
    QByteArray pixels(kWidth * kHeight, 0);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int dx = x - kWidth / 2;
            const int dy = y - kHeight / 2;
            pixels[y * kWidth + x] = char((dx * dx + dy * dy) / (20 + seed * 10) % 256);
        }
    }
    return encodeGif(kWidth, kHeight, palette, pixels);
}

} // namespace


QHash<QString, SimImage> makeSimImages()
{
    QHash<QString, SimImage> images;
    int seed = 0;
    for (const QString &name : Chatter::imageNames()) {
        ++seed;
        if (name.endsWith(QLatin1String(".gif"))) {
            images.insert(name, {gifPicture(seed), QByteArrayLiteral("image/gif")});
            continue;
        }
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                image.setPixel(x, y, patternColour(seed, x, y));
        }
        const bool jpeg = name.endsWith(QLatin1String(".jpg"));
        images.insert(name, {saveImage(image, jpeg ? "JPEG" : "PNG"),
                             jpeg ? QByteArrayLiteral("image/jpeg") : QByteArrayLiteral("image/png")});
    }
    return images;
}
