// A real video through QMediaPlayer: opened from the chooser, announced in lblMovieName, played,
// and the replay tick reads the player's own position. Skipped, with the reason, where no video
// can be generated or the platform's media backend cannot play it.

#include "TestSupport.h"
#include "present/gui/LabelStrip.h"
#include "replay/gui/ReplayController.h"
#include "replay/gui/VideoChooser.h"
#include "replay/gui/WmpPlayer.h"
#include "replay/gui/frameWmpControl.h"

#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(WmpRealVideo, PlaysAGeneratedVideoAndTicksOnItsPosition)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed, so no video can be generated";
    QTemporaryDir dir;
    const QString video = dir.filePath(QStringLiteral("clip.avi"));
    QProcess make;
    make.start(ffmpeg, {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                        QStringLiteral("-f"), QStringLiteral("lavfi"),
                        QStringLiteral("-i"), QStringLiteral("testsrc=size=160x120:rate=10:duration=6"),
                        QStringLiteral("-c:v"), QStringLiteral("mpeg4"), video});
    ASSERT_TRUE(make.waitForFinished(60000));
    ASSERT_EQ(make.exitCode(), 0) << make.readAllStandardError().toStdString();

    QWidget window;
    window.resize(640, 240);
    auto *strip = new present::LabelStrip(&window);
    strip->setGeometry(0, 0, 640, 200);
    replay::ReplayController controller(*strip);
    controller.setReplayInterval(0);   // ticks are driven by hand below
    controller.video()->setParent(&window);
    controller.video()->setGeometry(0, 0, 160, 140);
    controller.setReplayMode(true);
    window.show();

    PastLog &log = controller.log();
    log.beginLoad();
    log.lngStartSeconds = 21 * 3600;
    for (int s = 0; s <= 6; ++s)
        log.appendDatLine(QStringLiteral("n<><>2009/01/13 21:00:0%1<>second %1<>").arg(s));

    replay::ScriptedVideoChooser chooser;
    chooser.queueAnswer(video);
    replay::setVideoChooser(&chooser);
    controller.panel()->cmdMoveiFile_Click();
    replay::setVideoChooser(nullptr);

    replay::WmpPlayer &wmp = *controller.video();
    const bool opened = testsupport::waitUntil([&] {
        const QMediaPlayer::MediaStatus s = wmp.player()->mediaStatus();
        return wmp.playState() == kWmpReady || s == QMediaPlayer::InvalidMedia;
    }, 15000);
    if (!opened || wmp.playState() != kWmpReady)
        GTEST_SKIP() << "the media backend cannot open an MPEG-4 AVI here (status "
                     << int(wmp.player()->mediaStatus()) << ", error: " << wmp.player()->errorString().toStdString() << ")";
    EXPECT_EQ(controller.panel()->lblMovieName()->text(), video);

    // Nothing is shown before playing.
    controller.TimerWmp_Timer();
    EXPECT_EQ(strip->model().commentCount(present::CommentFamily::Replay), 0);

    wmp.player()->play();
    const bool advanced = testsupport::waitUntil([&] {
        return wmp.playState() == kWmpPlaying && wmp.currentPosition() >= 1.2;
    }, 15000);
    if (!advanced)
        GTEST_SKIP() << "playback does not advance on this platform (state " << wmp.playState()
                     << ", position " << wmp.currentPosition() << " s)";

    const double position = wmp.currentPosition();
    controller.TimerWmp_Timer();
    ASSERT_EQ(strip->model().commentCount(present::CommentFamily::Replay), 1);
    const QString caption = strip->model().label(present::CommentFamily::Replay, 1)->caption;
    const int shown = caption.mid(7).toInt();
    EXPECT_TRUE(caption.startsWith(QStringLiteral("second ")));
    EXPECT_NEAR(shown, position, 1.0);
    EXPECT_EQ(controller.panel()->lblResNo()->text(), QString::number(shown + 1));

    wmp.player()->pause();
    ASSERT_TRUE(testsupport::waitUntil([&] { return wmp.playState() == 2; }, 5000));
    controller.TimerWmp_Timer();
    EXPECT_EQ(strip->model().commentCount(present::CommentFamily::Replay), 1);
}
