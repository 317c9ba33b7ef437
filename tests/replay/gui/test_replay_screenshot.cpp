// A picture of replay for a person to look at: the controls panel after choosing the start and
// loading the simulator's past logs, the player with a generated video, and the strip with the
// comments of the last seconds. Runs only when KESTRELON_SCREENSHOT_DIR names a folder (under
// xvfb-run, so that the video paints as on a desktop).

#include "TestSupport.h"
#include "present/gui/LabelStrip.h"
#include "replay/gui/ReplayController.h"
#include "replay/gui/WmpPlayer.h"
#include "replay/gui/formSelectDatTime.h"
#include "replay/gui/frameWmpControl.h"

#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ScriptedPlayback : public replay::WmpPlayback
{
public:
    int playState() const override { return kWmpPlaying; }
    double currentPosition() const override { return position; }
    double position = 0;
};

} // namespace

TEST(ReplayScreenshot, PanelPlayerAndCommentsFromAPastLog)
{
    const QString folder = qEnvironmentVariable("KESTRELON_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set KESTRELON_SCREENSHOT_DIR to take the picture";
    const QString boardsim = qEnvironmentVariable("KESTRELON_BOARDSIM");
    if (boardsim.isEmpty() || !QFileInfo::exists(boardsim))
        GTEST_SKIP() << "the board simulator is needed to write the past logs";
    QDir().mkpath(folder);
    QTemporaryDir dir;
    const QString logs = dir.filePath(QStringLiteral("playdat"));
    ASSERT_EQ(QProcess::execute(boardsim, {QStringLiteral("--write-logs"), logs}), 0);

    // A dark backdrop stands in for what lies behind the see-through strip.
    QWidget window;
    window.setStyleSheet(QStringLiteral("QWidget#backdrop { background: #20304a; }"));
    window.resize(960, 420);
    auto *backdrop = new QWidget(&window);
    backdrop->setObjectName(QStringLiteral("backdrop"));
    backdrop->setAttribute(Qt::WA_StyledBackground);
    auto *strip = new present::LabelStrip(backdrop);
    present::LabelLook look;
    look.pointSize = 16;
    look.colour = QColor(255, 255, 255);
    strip->setLook(look);
    qint64 now = 0;
    strip->setClock([&now] { return now; });

    replay::ReplayController controller(*strip);
    controller.setReplayInterval(0);
    auto *layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(backdrop, 1);
    layout->addWidget(controller.panel());
    controller.panel()->setFixedWidth(200);
    controller.video()->setParent(backdrop);
    controller.setReplayMode(true);
    window.show();
    backdrop->resize(760, 420);
    strip->setGeometry(0, 0, 760, 420);
    controller.video()->setGeometry(8, 250, 240, 160);
    controller.video()->raise();

    // The set-up as a user does it: folder, first row as start, load.
    frameWmpControl &panel = *controller.panel();
    panel.setDatFolder(logs);
    panel.cmdWmpStartTimeSet_Click();
    panel.startTimeDialog()->listSelectDatTime()->setCurrentRow(0);
    panel.startTimeDialog()->cmdOK_Click();
    panel.Command3_Click();

    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (!ffmpeg.isEmpty()) {
        const QString video = dir.filePath(QStringLiteral("clip.avi"));
        QProcess::execute(ffmpeg, {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-f"),
                                   QStringLiteral("lavfi"), QStringLiteral("-i"),
                                   QStringLiteral("testsrc=size=320x180:rate=10:duration=5"),
                                   QStringLiteral("-c:v"), QStringLiteral("mpeg4"), video});
        controller.video()->setMediaAddress(video);
        testsupport::waitUntil([&] { return controller.video()->playState() == kWmpReady; }, 10000);
        controller.video()->player()->play();
        testsupport::waitUntil([&] { return controller.video()->currentPosition() > 1.0; }, 10000);
        controller.video()->player()->pause();
    }

    // A minute of replay up to the busy part of the thread, a tick a second.
    ScriptedPlayback playback;
    controller.setPlayback(&playback);
    controller.setSettingsSource([] {
        WmpSettings s;
        s.comboMaxWmp = QStringLiteral("3");
        s.intMaxRow = 2;
        s.blnIsOutLineModeOn = true;
        s.varFontColor = 0xFFFFFF;
        return s;
    });
    for (int second = 60; second <= 126; ++second) {
        now = second * 1000;
        playback.position = second;
        controller.TimerWmp_Timer();
    }
    now += 600;
    strip->syncClock();
    strip->update();
    EXPECT_GT(strip->model().commentCount(present::CommentFamily::Replay), 3);

    testsupport::waitUntil([] { return false; }, 1500);
    QPixmap shot;
    if (QScreen *screen = window.screen())
        shot = screen->grabWindow(window.winId());
    if (shot.isNull())
        shot = window.grab();
    EXPECT_TRUE(shot.save(QDir(folder).filePath(QStringLiteral("replay.png"))));
}
