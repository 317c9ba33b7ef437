// The player's picture: frames from the media player's sink are painted scaled, centred on black,
// in an ordinary widget that a comment strip can be drawn over.

#include "replay/gui/VideoFrameView.h"
#include "replay/gui/WmpPlayer.h"

#include <QImage>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>
#include <cstring>
#include <gtest/gtest.h>

using replay::VideoFrameView;

TEST(VideoFrameView, ThePlayerAndItsSinkAreMadeOnlyWhenAMediumIsOpened)
{
    // Either one loads the platform's media backend: a session that never replays makes neither.
    replay::WmpPlayer wmp;
    EXPECT_EQ(wmp.findChild<QMediaPlayer *>(), nullptr);
    EXPECT_EQ(wmp.findChild<QVideoSink *>(), nullptr);
    EXPECT_EQ(wmp.playState(), 0);
    EXPECT_EQ(wmp.currentPosition(), 0.0);
    EXPECT_TRUE(wmp.sourceAddress().isEmpty());
    wmp.setMediaAddress(QStringLiteral("/nowhere/match.avi"));
    EXPECT_NE(wmp.findChild<QMediaPlayer *>(), nullptr);
    EXPECT_NE(wmp.findChild<QVideoSink *>(), nullptr);
    EXPECT_EQ(wmp.sourceAddress(), QStringLiteral("/nowhere/match.avi"));
}

TEST(VideoFrameView, FittedRectKeepsTheAspectRatioAndCentres)
{
    struct Case
    {
        QSize frame, area;
        QRect expected;
    };
    const Case cases[] = {
        {{320, 180}, {640, 360}, {0, 0, 640, 360}},    // same shape: fills
        {{100, 100}, {200, 100}, {50, 0, 100, 100}},   // square in wide: side bars
        {{400, 100}, {200, 200}, {0, 75, 200, 50}},    // wide in square: bars above and below
        {{0, 0}, {200, 100}, {}},                      // no frame yet: nothing drawn
        {{320, 180}, {0, 0}, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(VideoFrameView::fittedRect(c.frame, c.area), c.expected) << c.frame.width() << "x" << c.frame.height();
}

TEST(VideoFrameView, PaintsTheSinksLatestFrameOnBlack)
{
    VideoFrameView view;
    view.resize(200, 100);
    QVideoFrame frame(QVideoFrameFormat(QSize(2, 2), QVideoFrameFormat::Format_BGRA8888));
    ASSERT_TRUE(frame.map(QVideoFrame::WriteOnly));
    for (int y = 0; y < 2; ++y) {
        uchar *line = frame.bits(0) + y * frame.bytesPerLine(0);
        for (int x = 0; x < 2; ++x) {
            const uchar red[4] = {0, 0, 255, 255}; // B, G, R, A
            std::memcpy(line + 4 * x, red, 4);
        }
    }
    frame.unmap();

    EXPECT_EQ(view.grab().toImage().pixelColor(100, 50), QColor(Qt::black));
    view.videoSink()->setVideoFrame(frame);
    const QImage shown = view.grab().toImage();
    EXPECT_EQ(shown.pixelColor(10, 50), QColor(Qt::black));
    const QColor centre = shown.pixelColor(100, 50);
    EXPECT_GT(centre.red(), 200);
    EXPECT_LT(centre.green(), 60);
}
