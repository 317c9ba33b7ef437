// Long run of a busy live thread in accelerated time: the program re-fetches the board
// simulator's live thread through several 1000-response handovers (followed to the new top
// thread), in the label view with and without shadow text, in the marquee view and in mini mode,
// while replay plays a past log on the same strip. It watches resident memory, the comments on
// the strip, and the timers, sockets, objects and file descriptors the program holds.
//
// One TimerReget tick is one simulated second; the strips' clocks run on simulated time, so a
// comment crosses in intScroll simulated seconds. The CI run covers one simulated hour; set
// KESTRELON_SOAK_HOURS for a long run (8 or more) and KESTRELON_SOAK_REPORT to a file to keep
// the figures. KESTRELON_SOAK_TICK_MS sets the real length of a simulated second (default 4).

#include "app/SettingsFile.h"
#include "app/gui/MainWindowWiring.h"
#include "app/gui/SettingsDialogs.h"
#include "app/gui/formMain.h"
#include "app/gui/formScrollSetting.h"
#include "core/ServicesConfig.h"
#include "net/ThreadChannel.h"
#include "mini/gui/formMiniMode.h"
#include "present/gui/LabelStrip.h"
#include "present/gui/MarqueeSurface.h"
#include "replay/gui/ReplayController.h"
#include "replay/gui/WmpPlayer.h"
#include "replay/gui/formSelectDatTime.h"
#include "replay/gui/frameWmpControl.h"
#include "BoardSim.h"
#include "TestSupport.h"

#include <QAbstractSocket>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include "platform/gui/ModelListView.h"
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>

namespace {

using present::CommentFamily;

// kB of a line of /proc/self/status ("VmRSS", "VmHWM").
qint64 procStatusKb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size());
}

// What the program holds at one moment, counted from every top-level window down.
struct Holdings
{
    int timers = 0;
    int activeTimers = 0;
    int sockets = 0;
    int objects = 0;
    int descriptors = 0;
    qint64 rssKb = 0;
};

Holdings countHoldings()
{
    Holdings h;
    QList<QObject *> roots;
    for (QWidget *w : QApplication::topLevelWidgets())
        roots << w;
    roots << QCoreApplication::instance();
    for (QObject *root : roots) {
        const QList<QObject *> all = root->findChildren<QObject *>();
        h.objects += int(all.size()) + 1;
        for (QObject *o : all) {
            if (auto *t = qobject_cast<QTimer *>(o)) {
                ++h.timers;
                h.activeTimers += t->isActive() ? 1 : 0;
            }
            if (qobject_cast<QAbstractSocket *>(o))
                ++h.sockets;
        }
    }
    h.descriptors = openDescriptors();
    h.rssKb = procStatusKb("VmRSS");
    return h;
}

class AlwaysPlaying : public replay::WmpPlayback
{
public:
    int playState() const override { return playing ? kWmpPlaying : 2; }
    double currentPosition() const override { return position; }
    bool playing = true;
    double position = 0;
};

struct HourFigures
{
    int hour = 0;
    Holdings held;
    qint64 fetches = 0;
    int threads = 0;
    qint32 comments = 0;
};

double envNumber(const char *name, double fallback)
{
    bool ok = false;
    const double v = qEnvironmentVariable(name).toDouble(&ok);
    return ok && v > 0 ? v : fallback;
}

formMiniMode *miniWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *m = qobject_cast<formMiniMode *>(w))
            return m;
    return nullptr;
}

TEST(Soak, BusyThreadForHoursWithHandoversAndReplayHoldsNothingBack)
{
    const double hours = envNumber("KESTRELON_SOAK_HOURS", 1.0);
    const int tickMs = int(envNumber("KESTRELON_SOAK_TICK_MS", 4));
    const qint64 totalSeconds = qint64(hours * 3600);

    testsupport::TempProgramFolder home;
    testsupport::RecordedMessages messages;
    testsupport::BoardSim::Options options;
    // About 25 responses a simulated fetch at the default tick: a thread lasts some 40 fetches.
    options.rate = envNumber("KESTRELON_SOAK_RATE", 400);
    options.startCount = 990;
    testsupport::BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();

    // Past logs for replay, written by the simulator.
    const QString logs = home.file(QStringLiteral("playdat"));
    ASSERT_EQ(QProcess::execute(testsupport::BoardSim::executable(), {QStringLiteral("--write-logs"), logs}), 0);

    ServicesConfig config = sim.services();
    config.timeoutSeconds = 5;
    setServices(config);
    storeBoardMenuUrl(settingsFilePath(), sim.menuUrl());

    formMain w;
    wireOtherWindows(w);
    w.Form_Load();
    w.resize(1920, 360);
    w.show();
    formMiniMode *mini = miniWindow();
    ASSERT_NE(mini, nullptr);
    auto *rc = w.findChild<replay::ReplayController *>();
    ASSERT_NE(rc, nullptr);

    // Every moving thing runs on simulated time.
    qint64 simSeconds = 0;
    auto simClock = [&simSeconds] { return simSeconds * 1000; };
    w.lblMsgStrip->setClock(simClock);
    w.WebScroll->setClock(simClock);
    mini->WebScroll->setClock(simClock);

    // Replay: the first response as start, all files loaded, played in a loop over its span.
    w.menuWmp_Click();
    frameWmpControl &panel = *rc->panel();
    panel.setDatFolder(logs);
    panel.cmdWmpStartTimeSet_Click();
    ASSERT_GT(panel.startTimeDialog()->listSelectDatTime()->count(), 0);
    panel.startTimeDialog()->listSelectDatTime()->setCurrentRow(0);
    panel.startTimeDialog()->cmdOK_Click();
    panel.Command3_Click();
    ASSERT_GT(rc->log().lngDatResCount, 100);
    qint64 replaySpan = 0;
    for (const QString &t : rc->log().strDatResTime)
        replaySpan = std::max(replaySpan, t.toLongLong());
    ASSERT_GT(replaySpan, 60);
    w.menuWmp_Click(); // back to the live controls; replay keeps running beside the live cycle
    AlwaysPlaying playback;
    rc->setPlayback(&playback);
    rc->setReplayInterval(tickMs);

    // The live board's top thread, started in the label view.
    const QString needle = QStringLiteral("/livenhk/subback.html");
    for (int i = 0; i < w.List4->count(); ++i)
        if (w.List4->text(i).endsWith(needle))
            w.List3->setCurrentRow(i);
    ASSERT_GE(w.List3->currentRow(), 0);
    w.List3_DblClick();
    ASSERT_GT(w.List5->count(), 0);
    w.List5->setCurrentRow(0);
    w.List5_DblClick();
    w.comboMode->setCurrentIndex(0);
    w.comboMode_Click();
    // A finished thread is followed to the board's new top thread.
    w.dialogs().settingsDialog()->Option1[0]->setChecked(true);
    ASSERT_EQ(w.settings().intNextWhen1000, 0);
    w.setRegetInterval(tickMs);
    w.Command1_Click();
    ASSERT_TRUE(w.isRegetTimerEnabled()) << messages.shown().join(" / ").toStdString();

    // One tick of TimerReget is one simulated second. This runs after the window's own handler
    // (connected later), also for ticks the handler drops while a fetch waits.
    qint64 fetches = 0;
    int threads = 1;
    QString thread = w.threadChannel().address().strThreNo;
    // Bursts in the label view: each fetch's comments must have left the strip by the time two
    // more fetches have come (a comment far down the queue starts up to 30000 twips to the right).
    int burstsInLabels = 0;
    int burstsOverdue = 0;
    qsizetype mostOnStrip = 0;
    qint64 lookedAtFetch = -1;
    std::vector<qint32> msgCountAtFetch;
    QObject::connect(w.TimerReget, &QTimer::timeout, &w, [&] {
        ++simSeconds;
        playback.position = double(simSeconds % replaySpan);
        if (w.threadChannel().address().strThreNo != thread) {
            thread = w.threadChannel().address().strThreNo;
            ++threads;
        }
        if (w.TimerRegetTag() == QStringLiteral("1"))
            ++fetches;
        // Eleven seconds after a fetch the next one is due: the last burst should be gone. (Ticks
        // dropped while that fetch waits see the same tag: one look a cycle.)
        if (w.TimerRegetTag() == QStringLiteral("12") && w.settings().intViewMode == 1
            && lookedAtFetch != fetches) {
            lookedAtFetch = fetches;
            w.lblMsgStrip->syncClock();
            const auto &comments = w.lblMsgStrip->model().comments();
            mostOnStrip = std::max(mostOnStrip, w.lblMsgStrip->model().commentCount(CommentFamily::Live));
            msgCountAtFetch.push_back(w.lngMsgCount());
            if (msgCountAtFetch.size() >= 3) {
                const qint32 olderThan = msgCountAtFetch[msgCountAtFetch.size() - 3];
                const auto oldest = comments.lower_bound({int(CommentFamily::Live), 0});
                ++burstsInLabels;
                if (oldest != comments.end() && oldest->second.family == CommentFamily::Live
                    && oldest->second.index < olderThan)
                    ++burstsOverdue;
            }
        } else if (w.settings().intViewMode != 1) {
            msgCountAtFetch.clear();
        }
    });

    formScrollSetting *config2 = w.dialogs().settingsDialog();
    // A quarter of every simulated hour in each view: labels, labels with shadow text, the
    // marquee page, mini mode (left through its "元に戻す").
    auto enterPhase = [&](int phase) {
        switch (phase) {
        case 0:
            if (w.isHiddenForMini()) {
                mini->comboMode->setCurrentIndex(2);
                mini->comboMode_Click();
            }
            config2->chkOutLineMode->setChecked(false);
            w.comboMode->setCurrentIndex(0);
            w.comboMode_Click();
            break;
        case 1:
            config2->chkOutLineMode->setChecked(true);
            break;
        case 2:
            config2->chkOutLineMode->setChecked(false);
            w.comboMode->setCurrentIndex(1);
            w.comboMode_Click();
            break;
        default:
            w.comboMode->setCurrentIndex(2);
            w.comboMode_Click();
            break;
        }
    };

    std::vector<HourFigures> figures;
    auto sample = [&](int hour) {
        HourFigures f;
        f.hour = hour;
        f.held = countHoldings();
        f.fetches = fetches;
        f.threads = threads;
        f.comments = w.lngMsgCount();
        figures.push_back(f);
    };

    QElapsedTimer real;
    real.start();
    const qint64 quarter = 900;
    int stalls = 0;
    int lulls = 0;
    int lullsEmpty = 0;
    qint64 peakRssKb = procStatusKb("VmRSS");
    // The first simulated minutes warm up fonts, pages and caches: the baseline comes after.
    bool baselineTaken = false;
    qint64 nextSample = 3600;
    for (qint64 phaseStart = 0; phaseStart < totalSeconds; phaseStart += quarter) {
        enterPhase(int(phaseStart / quarter) % 4);
        const qint64 phaseEnd = std::min(phaseStart + quarter, totalSeconds);
        while (simSeconds < phaseEnd) {
            const qint64 before = simSeconds;
            testsupport::waitUntil([&] { return simSeconds >= phaseEnd; }, 1000);
            peakRssKb = std::max(peakRssKb, procStatusKb("VmRSS"));
            if (!baselineTaken && simSeconds >= 600) {
                sample(0);
                baselineTaken = true;
            }
            if (simSeconds == before && !w.isRegetTimerEnabled()) {
                // The cycle stopped (a follow that did not start): counted, then restarted.
                ++stalls;
                ADD_FAILURE() << "live cycle stopped at simulated second " << simSeconds << ": "
                              << messages.shown().join(" / ").toStdString() << " | start "
                              << w.Command1->text().toStdString() << " " << w.Command1->isEnabled()
                              << " | thread " << w.threadChannel().address().strThreNo.toStdString()
                              << " last " << w.threadPosition().intLastDt << " | list5 "
                              << w.List5->count() << " " << (w.List5->count() ? w.List5->text(0).toStdString() : "");
                w.List3_DblClick();
                if (w.List5->count() > 0) {
                    w.List5->setCurrentRow(0);
                    w.List5_DblClick();
                    if (w.Command1->text() == QStringLiteral("開始"))
                        w.Command1_Click();
                }
                if (stalls > 3)
                    break;
            }
            if (simSeconds >= nextSample) {
                sample(int(nextSample / 3600));
                nextSample += 3600;
            }
        }
        if (stalls > 3)
            break;
        // A lull: the cycle and the video pause for a simulated minute, and the strip empties.
        const bool cycling = w.isRegetTimerEnabled();
        w.TimerReget->stop();
        playback.playing = false;
        simSeconds += 60;
        w.lblMsgStrip->syncClock();
        ++lulls;
        lullsEmpty += w.lblMsgStrip->model().commentCount() == 0 ? 1 : 0;
        playback.playing = true;
        if (cycling)
            w.TimerReget->start();
    }
    const qint64 realMs = real.elapsed();

    // Drain: the cycle stops, replay pauses, two simulated minutes pass.
    w.TimerReget->stop();
    playback.playing = false;
    enterPhase(0);
    simSeconds += 120;
    w.lblMsgStrip->syncClock();
    testsupport::waitUntil([] { return false; }, 50);
    sample(-1); // after the drain
    const HourFigures &end = figures.back();
    const HourFigures &base = figures.front();

    QString report;
    report += QStringLiteral("soak: %1 simulated h in %2 s real, %3 fetches, %4 threads (%5 handovers), "
                             "%6 live comments shown (lngMsgCount), %7 stalls\n")
                  .arg(double(simSeconds) / 3600, 0, 'f', 2).arg(realMs / 1000.0, 0, 'f', 1)
                  .arg(fetches).arg(threads).arg(threads - 1).arg(w.lngMsgCount()).arg(stalls);
    report += QStringLiteral("label view: %1 bursts, %2 still on the strip two fetches later, at most %3 "
                             "live comments at a fetch; strip empty after %4 of %5 lulls\n")
                  .arg(burstsInLabels).arg(burstsOverdue).arg(mostOnStrip).arg(lullsEmpty).arg(lulls);
    // The image lists only grow during a run (by design); they are part of any growth seen.
    report += QStringLiteral("image lists: live %1 addresses, replay %2 addresses\n")
                  .arg(w.imageLists().varImageUrl.size()).arg(rc->display().images().varImageUrl.size());
    report += QStringLiteral("RSS kB: baseline %1, peak %2, end %3 (VmHWM %4)\n")
                  .arg(base.held.rssKb).arg(peakRssKb).arg(end.held.rssKb).arg(procStatusKb("VmHWM"));
    report += QStringLiteral("hour  rss_kB  timers(active)  sockets  objects  fds  fetches  threads\n");
    for (const HourFigures &f : figures)
        report += QStringLiteral("%1  %2  %3(%4)  %5  %6  %7  %8  %9\n")
                      .arg(f.hour < 0 ? QStringLiteral("end") : QString::number(f.hour), 4).arg(f.held.rssKb, 7).arg(f.held.timers, 6).arg(f.held.activeTimers)
                      .arg(f.held.sockets, 7).arg(f.held.objects, 7).arg(f.held.descriptors, 4)
                      .arg(f.fetches, 7).arg(f.threads, 7);
    std::fprintf(stdout, "%s", report.toLocal8Bit().constData());
    std::fflush(stdout);
    const QString reportPath = qEnvironmentVariable("KESTRELON_SOAK_REPORT");
    if (!reportPath.isEmpty())
        testsupport::writeBytes(reportPath, report.toUtf8());

    EXPECT_EQ(stalls, 0);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.shown().join(" / ").toStdString();
    // Several handovers, followed each time.
    EXPECT_GE(threads, 1 + int(hours * 3));
    // Every comment has left the strip, and its picture with it.
    EXPECT_EQ(w.lblMsgStrip->model().commentCount(), 0);
    EXPECT_EQ(w.lblMsgStrip->cachedImageCount(), 0);
    EXPECT_FALSE(w.lblMsgStrip->isTicking());
    // Each burst leaves the strip, and the strip is empty after every lull.
    EXPECT_GT(burstsInLabels, 0);
    EXPECT_EQ(burstsOverdue, 0);
    EXPECT_EQ(lullsEmpty, lulls);
    // Nothing accumulates: the same timers, sockets and descriptors as after the warm-up, a
    // handful of objects either way, and memory within a margin of the baseline.
    EXPECT_LE(end.held.timers, base.held.timers);
    EXPECT_LE(end.held.sockets, base.held.sockets);
    EXPECT_LE(end.held.descriptors, base.held.descriptors + 2);
    EXPECT_LE(end.held.objects, base.held.objects + 20);
    EXPECT_LT(end.held.rssKb - base.held.rssKb, 40 * 1024);
}

} // namespace
