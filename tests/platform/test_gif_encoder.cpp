#include "platform/GifEncoder.h"

#include <QImage>

#include <gtest/gtest.h>

// Every pixel survives the clear codes, with a full palette and with a small padded one.
TEST(GifEncoder, DecodesToTheSamePixels)
{
    for (const int colours : {256, 16, 3}) {
        QList<GifColour> palette;
        for (int i = 0; i < colours; ++i)
            palette.append({quint8(i), quint8(255 - i), quint8(i / 2)});
        QByteArray pixels(37 * 23, 0);
        for (int i = 0; i < pixels.size(); ++i)
            pixels[i] = char((i * 7) % colours);
        const QImage gif = QImage::fromData(encodeGif(37, 23, palette, pixels), "GIF");
        ASSERT_EQ(gif.size(), QSize(37, 23)) << colours;
        for (const int i : {0, 1, 249, 250, 251, 252, 253, 500, 37 * 23 - 1}) {
            const int v = (i * 7) % colours;
            EXPECT_EQ(gif.pixel(i % 37, i / 37), qRgb(v, 255 - v, v / 2)) << colours << " " << i;
        }
    }
    EXPECT_TRUE(encodeGif(2, 2, {{0, 0, 0}}, QByteArray(4, 0)).isEmpty());   // one colour
    EXPECT_TRUE(encodeGif(2, 2, {{0, 0, 0}, {1, 1, 1}}, QByteArray(3, 0)).isEmpty());
}
