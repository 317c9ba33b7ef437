// Replay through the real label strip: the controller's tick reads a scripted player, looks up
// the second and starts comments on the strip; pausing shows nothing; images reach the viewer;
// the replay mode shows and hides the panel and the player.

#include "TestSupport.h"
#include "present/gui/LabelStrip.h"
#include "replay/ReplayCaptions.h"
#include "replay/gui/ReplayController.h"
#include "replay/gui/WmpPlayer.h"
#include "replay/gui/frameWmpControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using present::CommentFamily;
using present::LabelStrip;
using present::StripLabel;

namespace {

class ScriptedPlayback : public replay::WmpPlayback
{
public:
    int playState() const override { return state; }
    double currentPosition() const override { return position; }
    int state = kWmpPlaying;
    double position = 0;
};

struct ReplayFixture
{
    qint64 now = 0;
    QWidget window;
    LabelStrip *strip = new LabelStrip(&window);
    replay::ReplayController controller{*strip};
    ScriptedPlayback playback;
    QList<QStringList> imageCalls;

    ReplayFixture()
    {
        window.resize(900, 300);
        strip->setGeometry(0, 0, 800, 200);
        strip->setClock([this] { return now; });
        controller.setPlayback(&playback);
        controller.setImageSink([this](const QStringList &resNo, const QStringList &urls) {
            imageCalls << resNo << urls;
        });
        PastLog &log = controller.log();
        log.beginLoad();
        log.lngStartSeconds = 21 * 3600;   // offsets count from 21:00:00
    }

    void add(int offset, const QString &body)
    {
        const int s = 21 * 3600 + offset;
        controller.log().appendDatLine(QStringLiteral("name<><>2009/01/13(火) %1:%2:%3 ID:x<>%4<>")
                                           .arg(s / 3600).arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                                           .arg(s % 60, 2, 10, QLatin1Char('0')).arg(body));
    }

    void tickAt(double seconds, int state = kWmpPlaying)
    {
        playback.state = state;
        playback.position = seconds;
        controller.TimerWmp_Timer();
    }

    QStringList replayCaptions()
    {
        QStringList captions;
        for (const auto &[key, comment] : strip->model().comments()) {
            if (comment.family == CommentFamily::Replay && comment.label)
                captions << comment.label->caption;
        }
        return captions;
    }

    QString lblResNo() const { return controller.panel()->lblResNo()->text(); }
};

} // namespace

TEST(ReplayDisplay, PlayerPositionPicksTheSecondAndPauseShowsNothing)
{
    ReplayFixture f;
    f.add(12, QStringLiteral("twelve"));
    f.add(13, QStringLiteral("thirteen"));
    f.add(14, QStringLiteral("fourteen"));

    f.tickAt(12.5);   // halves go to the even second
    EXPECT_EQ(f.replayCaptions(), QStringList{QStringLiteral("twelve")});
    EXPECT_EQ(f.lblResNo(), QStringLiteral("1"));
    const StripLabel *first = f.strip->model().label(CommentFamily::Replay, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->left, f.strip->pixelsToTwipsX(f.window.width()) + 1);
    EXPECT_TRUE(f.strip->isTicking());

    f.tickAt(13.5);   // 14: the second the ticks stepped over is shown too
    EXPECT_EQ(f.replayCaptions(), (QStringList{QStringLiteral("twelve"), QStringLiteral("thirteen"),
                                               QStringLiteral("fourteen")}));
    EXPECT_EQ(f.lblResNo(), QStringLiteral("3"));

    f.add(15, QStringLiteral("fifteen"));
    for (int state : {2, 1, kWmpReady, 8}) {
        f.tickAt(15.0, state);
        EXPECT_EQ(f.replayCaptions().size(), 3) << "state " << state;
    }
    f.tickAt(15.0);
    EXPECT_EQ(f.replayCaptions().size(), 4);
}

TEST(ReplayDisplay, CommentsOfOneSecondQueueUpAndLeaveTheStrip)
{
    ReplayFixture f;
    for (int i = 0; i < 5; ++i)
        f.add(3, QStringLiteral("same second %1").arg(i));
    f.controller.setSettingsSource([] {
        WmpSettings s;
        s.comboMaxWmp = QStringLiteral("2");
        s.intScroll = 3;
        return s;
    });
    f.tickAt(3.0);
    ASSERT_EQ(f.replayCaptions().size(), 3);
    const qint64 windowTwips = f.strip->pixelsToTwipsX(f.window.width());
    EXPECT_EQ(f.strip->model().label(CommentFamily::Replay, 2)->left, windowTwips + 2000);
    EXPECT_EQ(f.strip->model().label(CommentFamily::Replay, 3)->left, windowTwips + 3000);

    // Crossing takes intScroll seconds; the later starts need a little longer.
    f.now = 10000;
    f.strip->syncClock();
    EXPECT_EQ(f.strip->model().commentCount(CommentFamily::Replay), 0);
}

TEST(ReplayDisplay, ImageLinksShowAsPlaceholderAndReachTheViewer)
{
    ReplayFixture f;
    f.add(5, QStringLiteral("look http://img.example.net/a.jpg"));
    f.add(6, QStringLiteral("no picture"));
    f.add(7, QStringLiteral("again http://img.example.net/b.png"));
    f.tickAt(5);
    f.tickAt(6);
    f.tickAt(7);
    EXPECT_EQ(f.replayCaptions().first(), QStringLiteral("look imegewindow"));
    ASSERT_EQ(f.imageCalls.size(), 4);   // two calls, lists each
    EXPECT_EQ(f.imageCalls.at(2), (QStringList{"1", "3"}));
    EXPECT_EQ(f.imageCalls.at(3), (QStringList{"http://img.example.net/a.jpg", "http://img.example.net/b.png"}));
}

TEST(ReplayDisplay, ArrowKeysInTheStripsWindowMoveTheOffsetInReplayMode)
{
    ReplayFixture f;
    auto *button = new QPushButton(&f.window);
    auto *box = new QSpinBox(&f.window);
    const auto press = [](QWidget *w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(w, &event);
    };
    frameWmpControl *panel = f.controller.panel();
    press(button, Qt::Key_Right);
    EXPECT_EQ(panel->offsetSeconds(), 0);   // live mode: the keys are the window's

    f.controller.setReplayMode(true);
    press(button, Qt::Key_Right);
    press(f.strip, Qt::Key_Right, Qt::ShiftModifier);
    press(box, Qt::Key_Left);                // a number box keeps its arrows
    EXPECT_EQ(panel->offsetSeconds(), 11);
    EXPECT_FALSE(panel->lblWmpOffsetFlash()->isHidden());
    EXPECT_EQ(panel->lblWmpOffsetFlash()->text(), QStringLiteral("ずれ補正：+11秒"));

    f.add(22, QStringLiteral("eleven seconds on"));
    f.tickAt(11.0);
    EXPECT_EQ(f.replayCaptions(), QStringList{QStringLiteral("eleven seconds on")});
}

TEST(ReplayDisplay, ReplayModeShowsAndHidesPanelAndPlayer)
{
    ReplayFixture f;
    QWidget side;
    f.controller.panel()->setParent(&side);
    f.controller.video()->setParent(&f.window);
    side.show();
    f.window.show();
    QList<bool> changes;
    QObject::connect(&f.controller, &replay::ReplayController::replayModeChanged, [&](bool on) { changes << on; });

    EXPECT_FALSE(f.controller.isReplayMode());
    EXPECT_EQ(replaytext::menuWmp(f.controller.isReplayMode()), QStringLiteral("動画と過去ログを連動"));
    EXPECT_FALSE(f.controller.panel()->isVisible());
    f.controller.setReplayMode(true);
    EXPECT_TRUE(f.controller.panel()->isVisible());
    EXPECT_TRUE(f.controller.video()->isVisible());
    EXPECT_EQ(replaytext::menuWmp(f.controller.isReplayMode()), QStringLiteral("通常モード"));
    f.controller.setReplayMode(false);
    EXPECT_FALSE(f.controller.panel()->isVisible());
    EXPECT_FALSE(f.controller.video()->isVisible());
    EXPECT_EQ(changes, (QList<bool>{true, false}));
}
