// The program as a user meets it, against the board simulator, with every window wired as the
// program wires them: the label view with and without shadow text, mini mode following the
// fetches, replay of the simulator's past logs with a generated video and the image viewer, the
// thread view and the thread-list window. When KESTRELON_SHOTS_DIR names a folder the windows are
// saved there as PNG (run under xvfb-run so that the video and the browsers paint).

#include "app/SettingsFile.h"
#include "app/gui/BoardTreeView.h"
#include "app/gui/MainWindowWiring.h"
#include "app/gui/SettingsDialogs.h"
#include "platform/gui/TitleStrip.h"
#include "app/gui/formMain.h"
#include "app/gui/formScrollSetting.h"
#include "core/ServicesConfig.h"
#include "mini/gui/formMiniMode.h"
#include "present/gui/LabelStrip.h"
#include "present/gui/MarqueeSurface.h"
#include "replay/gui/ReplayController.h"
#include "replay/gui/VideoChooser.h"
#include "replay/gui/WmpPlayer.h"
#include "replay/gui/formSelectDatTime.h"
#include "replay/gui/frameWmpControl.h"
#include "viewers/gui/formImageView.h"
#include "viewers/gui/formMerlinBrowser.h"
#include "viewers/gui/formSureItiran.h"
#include "BoardSim.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLinearGradient>
#include "platform/gui/ModelListView.h"
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QRect>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTimer>

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

using present::CommentFamily;
using testsupport::BoardSim;
using testsupport::waitUntil;

void pause(int ms)
{
    waitUntil([] { return false; }, ms);
}

template <typename T>
T *topLevel()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *t = qobject_cast<T *>(w))
            return t;
    return nullptr;
}

// Saves a window when KESTRELON_SHOTS_DIR is set. See-through areas are laid over a stand-in for
// the video behind the window, as a desktop with a compositor shows them.
void saveShot(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("KESTRELON_SHOTS_DIR");
    if (folder.isEmpty() || !window)
        return;
    QDir().mkpath(folder);
    QPixmap shot;
    if (QScreen *screen = window->screen(); screen && QGuiApplication::platformName() == QStringLiteral("xcb"))
        shot = screen->grabWindow(window->winId());
    if (shot.isNull())
        shot = window->grab();
    QImage out(shot.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&out);
    QLinearGradient g(0, 0, out.width(), out.height());
    g.setColorAt(0, QColor(0x20, 0x40, 0x5e));
    g.setColorAt(1, QColor(0x8f, 0xb3, 0xc9));
    p.fillRect(out.rect(), g);
    p.drawPixmap(0, 0, shot);
    p.end();
    EXPECT_TRUE(out.save(QDir(folder).filePath(name))) << name.toStdString();
}

class UserScreens : public ::testing::Test
{
protected:
    void open(const BoardSim &sim, int width = 1280, int height = 360)
    {
        ServicesConfig config = sim.services();
        config.timeoutSeconds = 5;
        setServices(config);
        storeBoardMenuUrl(settingsFilePath(), sim.menuUrl());
        w = std::make_unique<formMain>();
        wireOtherWindows(*w);
        w->Form_Load();
        w->resize(width, height);
        w->show();
        mini = topLevel<formMiniMode>();
        ASSERT_NE(mini, nullptr);
        rc = w->findChild<replay::ReplayController *>();
        ASSERT_NE(rc, nullptr);
    }
    void chooseLiveThread()
    {
        for (int i = 0; i < w->List4->count(); ++i)
            if (w->List4->text(i).endsWith(QStringLiteral("/livenhk/subback.html")))
                w->List3->setCurrentRow(i);
        ASSERT_GE(w->List3->currentRow(), 0);
        w->List3_DblClick();
        ASSERT_GT(w->List5->count(), 0);
        w->List5->setCurrentRow(0);
        w->List5_DblClick();
    }
    void setViewMode(int index)
    {
        w->comboMode->setCurrentIndex(index);
        w->comboMode_Click();
    }
    // Lets the countdown run until the given number of re-fetches has happened.
    bool waitForFetches(int count, int timeoutMs = 20000)
    {
        int seen = 0;
        QString last = w->TimerRegetTag();
        return waitUntil([&] {
            const QString tag = w->TimerRegetTag();
            if (tag == QStringLiteral("1") && last != tag)
                ++seen;
            last = tag;
            return seen >= count;
        }, timeoutMs);
    }

    testsupport::TempProgramFolder home;
    testsupport::RecordedMessages messages;
    std::unique_ptr<formMain> w;
    formMiniMode *mini = nullptr;
    replay::ReplayController *rc = nullptr;
};

TEST_F(UserScreens, LabelViewCommentsOfEveryFetchCrossAndLeaveWithAndWithoutShadow)
{
    BoardSim::Options options;
    options.rate = 3;
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    open(sim);
    chooseLiveThread();
    setViewMode(0);
    ASSERT_EQ(w->settings().intViewMode, 1);
    w->setRegetInterval(120); // a fetch every 1.4 s
    w->Command1_Click();
    ASSERT_EQ(w->Command1->text(), QStringLiteral("停止"));
    present::LabelStrip &strip = *w->lblMsgStrip;

    // Every fetch that brings new responses adds as many comments (up to comboMax); a fetch
    // with nothing new adds none.
    int fetchesWithNews = 0;
    for (int round = 0; round < 4; ++round) {
        const qint32 before = qMax<qint32>(w->lngMsgCount(), 1); // the first index is 1
        const int last = w->threadPosition().intLastDt;
        ASSERT_TRUE(waitForFetches(1));
        const int news = w->threadPosition().intLastDt - last;
        EXPECT_EQ(qMax<qint32>(w->lngMsgCount(), 1) - before, qMin(news, 15)) << "fetch " << round;
        fetchesWithNews += news > 0 ? 1 : 0;
    }
    EXPECT_GE(fetchesWithNews, 2);
    ASSERT_GT(strip.model().commentCount(CommentFamily::Live), 0);
    QHash<qint32, qint64> lefts;
    for (const auto &[key, c] : strip.model().comments())
        if (c.label)
            lefts[c.index] = c.label->left;
    // Motion follows the clock: wait for it rather than for a time a loaded machine overruns.
    EXPECT_TRUE(waitUntil([&] {
        for (const auto &[key, c] : strip.model().comments())
            if (c.label && lefts.contains(c.index) && c.label->left < lefts[c.index])
                return true;
        return false;
    }));
    saveShot(w.get(), QStringLiteral("label-view.png"));

    // Shadow text: the next fetch's comments carry a black copy behind them.
    w->dialogs().settingsDialog()->chkOutLineMode->setChecked(true);
    const qint32 first = w->lngMsgCount();
    ASSERT_TRUE(waitForFetches(1));
    int shaded = 0;
    for (const auto &[key, c] : strip.model().comments())
        if (c.index >= first && c.shadow) {
            ++shaded;
            EXPECT_EQ(c.shadow->colour, 0u);
            EXPECT_EQ(c.shadow->left, c.label->left + 25);
        }
    EXPECT_GT(shaded, 0);
    // By four fetches later only shadowed comments are left on the strip.
    ASSERT_TRUE(waitForFetches(4));
    pause(700);
    saveShot(w.get(), QStringLiteral("label-view-shadow.png"));

    // Stopped, the strip empties: every comment leaves past the left edge.
    w->Command1_Click();
    EXPECT_EQ(w->Command1->text(), QStringLiteral("開始"));
    EXPECT_TRUE(waitUntil([&] { return strip.model().commentCount() == 0; }, 20000))
        << strip.model().commentCount() << " comments still on the strip";
    EXPECT_EQ(strip.cachedImageCount(), 0);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.shown().join(" / ").toStdString();
}

TEST_F(UserScreens, LabelViewWithLanesAtSixPostsASecondKeepsCommentsApart)
{
    BoardSim::Options options;
    options.rate = 6;
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    // Tall enough for the lanes to hold six posts a second: when every lane is busy a comment
    // takes the lane freeing first and may overlap (about a dozen times a run at 480 pixels).
    open(sim, 1280, 960);
    chooseLiveThread();
    setViewMode(0);
    w->dialogs().settingsDialog()->chkLanes->setChecked(true);
    w->dialogs().settingsDialog()->chkSpread->setChecked(true);
    present::LabelStrip &strip = *w->lblMsgStrip;
    // The strip's clock stands still while the fetches come in real time; after each fetch the
    // test plays its spread batch out millisecond by millisecond, so a slow machine changes
    // neither where comments enter nor how they move, and every state between ticks is seen.
    qint64 clock = 0;
    strip.setClock([&clock] { return clock; });
    w->setRegetInterval(250); // a fetch every 3 s
    w->Command1_Click();
    int checked = 0;
    for (int fetch = 0; fetch < 3; ++fetch) {
        ASSERT_TRUE(waitForFetches(1));
        for (const qint64 end = clock + 3000; clock < end;) {
            ++clock;
            strip.releaseDueComments();
            strip.advanceTo(clock);
            std::vector<QRect> rects;
            for (const auto &[key, c] : strip.model().comments())
                if (c.label && c.label->visible)
                    rects.emplace_back(int(c.label->left), int(c.label->top), c.label->width, c.label->height);
            for (size_t a = 0; a < rects.size(); ++a)
                for (size_t b = a + 1; b < rects.size(); ++b)
                    ASSERT_FALSE(rects[a].intersects(rects[b]))
                        << "at " << clock << " ms: " << rects[a].x() << "," << rects[a].y() << " and "
                        << rects[b].x() << "," << rects[b].y();
            checked += int(rects.size());
        }
    }
    EXPECT_GT(strip.model().commentCount(CommentFamily::Live), 3);
    EXPECT_GT(checked, 10000);
    saveShot(w.get(), QStringLiteral("label-view-lanes.png"));
    w->Command1_Click();
}

TEST_F(UserScreens, MiniModeFollowsEveryFetchAndReturnsToTheMarqueeView)
{
    BoardSim::Options options;
    options.rate = 3;
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    open(sim);
    chooseLiveThread();
    EXPECT_EQ(mini->lblCaption->text(), w->Frame6->lblCaption->text());
    setViewMode(2);
    ASSERT_TRUE(mini->isVisible());
    ASSERT_FALSE(w->isVisible());

    // Start from the mini window; its countdown counts and every fetch writes a new row.
    w->setRegetInterval(120);
    mini->Command1_Click();
    EXPECT_EQ(mini->Command1->text(), QStringLiteral("停止"));
    EXPECT_TRUE(waitUntil([&] { return mini->lblCountDown->text().contains(QStringLiteral("再取得まで")); }));
    QStringList pages; // the written page of each fetch
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(waitForFetches(1));
        pages << QString::fromLatin1(testsupport::readBytes(home.file(QStringLiteral("tempHtml2.html"))).toHex());
        EXPECT_GT(mini->WebScroll->marqueeCount(), 0);
    }
    EXPECT_NE(pages[0], pages[1]);
    EXPECT_NE(pages[1], pages[2]);
    pause(900);
    saveShot(mini, QStringLiteral("mini-live.png"));

    // Stop and start again from the mini window.
    mini->Command1_Click();
    EXPECT_EQ(mini->Command1->text(), QStringLiteral("開始"));
    EXPECT_EQ(w->Command1->text(), QStringLiteral("開始"));
    mini->Command1_Click();
    EXPECT_EQ(w->Command1->text(), QStringLiteral("停止"));

    // "スレ一覧" opens the thread list of the board; "元に戻す" returns in "モード２".
    mini->comboMode->setCurrentIndex(1);
    mini->comboMode_Click();
    auto *list = topLevel<formSureItiran>();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(waitUntil([&] { return list->isVisible(); }));
    mini->comboMode->setCurrentIndex(2);
    mini->comboMode_Click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(mini->isVisible());
    EXPECT_EQ(w->comboMode->currentText(), QStringLiteral("モード２"));
    EXPECT_TRUE(w->WebScroll->isVisible());
    w->Command1_Click();
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.shown().join(" / ").toStdString();
}

TEST_F(UserScreens, ReplayToggleHidesBoardControlsAndBothCountdownsAndRestoresThem)
{
    BoardSim sim;
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    open(sim);
    w->cmdAll2ch_Click(); // the tree shown instead of List3
    mini->show();
    QList<QWidget *> controls = {w->cmdAll2ch, w->cmdGoLive, w->comboFavorite, w->List3, w->List5,
                                 w->TreeViewIta, w->lblCountDown, mini->lblCountDown};
    QList<bool> shown;
    for (QWidget *c : controls)
        shown << c->isVisible();
    ASSERT_TRUE(w->TreeViewIta->isVisible());

    w->menuWmp_Click();
    EXPECT_EQ(w->menuWmp->text(), QStringLiteral("通常モード"));
    EXPECT_TRUE(w->frameWmpControl->isVisible());
    for (QWidget *c : controls)
        EXPECT_FALSE(c->isVisible()) << c->objectName().toStdString();
    // The countdown setting does not bring the label back while replay is shown.
    w->dialogs().settingsDialog()->chkCowntDown->setChecked(false);
    w->dialogs().settingsDialog()->chkCowntDown->setChecked(true);
    EXPECT_FALSE(w->lblCountDown->isVisible());

    w->menuWmp_Click();
    EXPECT_EQ(w->menuWmp->text(), QStringLiteral("動画と過去ログを連動"));
    EXPECT_FALSE(w->frameWmpControl->isVisible());
    for (int i = 0; i < controls.size(); ++i)
        EXPECT_EQ(controls[i]->isVisible(), shown[i]) << controls[i]->objectName().toStdString();
}

TEST_F(UserScreens, ReplayOfPastLogsWithAGeneratedVideoFeedsTheStripAndTheImageViewer)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    // The past logs link their pictures to the simulator of the same port, which serves them.
    int port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    BoardSim::Options options;
    options.extraArguments = {QStringLiteral("--port"), QString::number(port)};
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    open(sim, 1280, 420);
    const QString logs = home.file(QStringLiteral("playdat"));
    ASSERT_EQ(QProcess::execute(BoardSim::executable(), {QStringLiteral("--write-logs"), logs,
                                                         QStringLiteral("--port"), QString::number(port)}),
              0);

    // Up to ten responses of one second, so that every picture link of a second is shown.
    QComboBox *maxWmp = w->dialogs().settingsDialog()->ComboMaxWmp;
    maxWmp->setCurrentIndex(maxWmp->count() - 1);
    w->menuWmp_Click();
    frameWmpControl &panel = *rc->panel();
    EXPECT_FALSE(panel.Command3()->isEnabled());
    panel.setDatFolder(logs);
    panel.cmdWmpStartTimeSet_Click();
    ASSERT_TRUE(panel.startTimeDialog()->isVisible());
    panel.startTimeDialog()->listSelectDatTime()->setCurrentRow(0);
    panel.startTimeDialog()->cmdOK_Click();
    ASSERT_TRUE(panel.Command3()->isEnabled());
    panel.Command3_Click();
    ASSERT_GT(rc->log().lngDatResCount, 100);
    EXPECT_TRUE(panel.lblWmpDatResCount()->text().startsWith(QStringLiteral("レス数：")));

    // The second to play up to: one with a picture link, in the busiest few seconds.
    const PastLog &log = rc->log();
    QHash<qint64, int> perSecond;
    QList<qint64> withPicture;
    for (qsizetype i = 0; i < log.lngDatResCount; ++i) {
        if (log.strDatResTime[i].isEmpty())
            continue;
        const qint64 t = log.strDatResTime[i].toLongLong();
        ++perSecond[t];
        if (log.strDatRes[i].contains(QStringLiteral("/img/")))
            withPicture << t;
    }
    ASSERT_FALSE(withPicture.isEmpty());
    qint64 busy = withPicture.first();
    int most = 0;
    for (qint64 t : withPicture) {
        const int around = perSecond.value(t) + perSecond.value(t - 1) + perSecond.value(t - 2);
        if (t >= 3 && around > most) {
            most = around;
            busy = t;
        }
    }

    // The video: generated like the demo's, opened from the chooser, played from a few seconds
    // before the busy second. Without a playing medium the position is scripted.
    bool realVideo = false;
    if (!ffmpeg.isEmpty()) {
        const QString video = home.file(QStringLiteral("replay-demo.avi"));
        const qint64 length = busy + 20;
        QProcess::execute(ffmpeg, {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y"),
                                   QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                   QStringLiteral("testsrc=size=320x180:rate=5:duration=%1").arg(length),
                                   QStringLiteral("-c:v"), QStringLiteral("mpeg4"), video});
        replay::ScriptedVideoChooser chooser;
        chooser.queueAnswer(video);
        replay::setVideoChooser(&chooser);
        panel.cmdMoveiFile_Click();
        replay::setVideoChooser(nullptr);
        replay::WmpPlayer &wmp = *rc->video();
        if (waitUntil([&] { return wmp.playState() == kWmpReady; }, 15000)) {
            EXPECT_EQ(panel.lblMovieName()->text(), video);
            wmp.player()->setPosition(qMax<qint64>(0, busy - 7) * 1000);
            wmp.player()->play();
            realVideo = waitUntil([&] { return wmp.playState() == kWmpPlaying && wmp.currentPosition() >= busy - 2.5; },
                                  15000);
            wmp.player()->pause();
        }
    }
    // While the video played, TimerWmp showed the responses of its seconds.
    if (realVideo)
        EXPECT_GT(w->lblMsgStrip->model().commentCount(CommentFamily::Replay), 0);
    struct Scripted : replay::WmpPlayback
    {
        int playState() const override { return kWmpPlaying; }
        double currentPosition() const override { return position; }
        double position = 0;
    } scripted;
    // The last seconds tick by hand, so none is stepped over (the player's own ticks may).
    {
        rc->setPlayback(&scripted);
        for (qint64 s = busy - 2; s <= busy + 1; ++s) {
            scripted.position = double(s);
            rc->TimerWmp_Timer();
            pause(150);
        }
    }
    EXPECT_GT(w->lblMsgStrip->model().commentCount(CommentFamily::Replay), 0);
    EXPECT_FALSE(panel.lblResNo()->text().isEmpty());
    EXPECT_FALSE(rc->display().images().varImageUrl.isEmpty());
    pause(500);
    saveShot(w.get(), QStringLiteral("replay.png"));
    rc->setPlayback(nullptr);

    // The image viewer got the picture links of the replayed responses and shows them.
    w->menuImageView_Click();
    auto *images = topLevel<formImageView>();
    ASSERT_NE(images, nullptr);
    EXPECT_TRUE(images->isVisible());
    pause(2500);
    saveShot(images, QStringLiteral("image-viewer.png"));
}

TEST_F(UserScreens, ThreadViewAndThreadListOpenFromTheirMenusAndShowTheThread)
{
    BoardSim::Options options;
    options.rate = 2;
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    open(sim);
    chooseLiveThread();
    setViewMode(1);
    w->Command1_Click();
    ASSERT_EQ(w->Command1->text(), QStringLiteral("停止"));

    // "開く（人大杉用）": the thread view page of the fetched thread.
    w->menuOpenURL->trigger();
    auto *view = topLevel<formMerlinBrowser>();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_TRUE(waitUntil([&] { return view->windowTitle() != QStringLiteral("MerlinBrowser"); }, 10000));
    EXPECT_TRUE(QFile::exists(home.file(QStringLiteral("image/tempHtml3.html"))));
    pause(2500);
    saveShot(view, QStringLiteral("thread-view.png"));

    // The thread list: at 1000 with "show the thread list", or from the mini window's list.
    setViewMode(2);
    mini->comboMode->setCurrentIndex(1);
    mini->comboMode_Click();
    auto *list = topLevel<formSureItiran>();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(waitUntil([&] { return list->isVisible(); }));
    pause(1500);
    saveShot(list, QStringLiteral("thread-list.png"));
    mini->comboMode->setCurrentIndex(2);
    mini->comboMode_Click();
    w->Command1_Click();
}

} // namespace

