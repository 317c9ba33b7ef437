// The fault matrix: every misbehaviour of the board server (boardsim --fault, switched on and off
// while it runs) against every place where the main window waits for it. Each case checks that
// the wait ends within the network time-out plus a margin, the window stays usable, what was
// shown before is kept, at most one message appears, and the next good reply is taken again.
//
// One test per column; ctest runs them as separate entries side by side. Each writes its column
// to $KESTRELON_FAULT_MATRIX_DIR (else the working folder) and rewrites fault-matrix.md there
// from every column present, for docs/reliability.md.

#include "app/FetchMessages.h"
#include "app/LiveCycleRules.h"
#include "app/gui/BoardTreeView.h"
#include "app/gui/SettingsDialogs.h"
#include "app/gui/formMain.h"
#include "app/gui/formScrollSetting.h"
#include "net/ResponseRecord.h"
#include "net/ThreadChannel.h"
#include "present/MarqueePageBuilder.h"
#include "present/gui/MarqueeSurface.h"
#include "BoardSim.h"
#include "LiveWindowDriver.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include "platform/gui/ModelListView.h"
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>

#include <gtest/gtest.h>
#include <functional>

namespace {

using testsupport::BoardSim;
using testsupport::entries;
using testsupport::newResponsesWaiting;
using testsupport::pause;

constexpr int kTimeoutSeconds = 2;
// Time past the network time-out that a faulty case may take: event delivery, the window's own
// work, and a conforming retry after a 400.
constexpr int kMarginMs = 2500;

// The places (columns) a fault row is run at.
enum Column : unsigned {
    kMenu = 1, kBoard = 2, kStartDat = 4, kStartWeb = 8, kRefetch = 16, kFollow = 32,
    kEveryColumn = 63, kDatColumns = kStartDat | kRefetch | kFollow,
};

struct Fault
{
    const char *label; // row of the table
    const char *mode;  // boardsim --fault MODE
    // The fault does not stop the operation: the conforming request gets past "strict",
    // undecodable bytes are shown as U+FFFD, a stale or ignored range is followed by the whole
    // dat, a redirect to the TLS port is followed.
    bool survivable;
    unsigned columns = kEveryColumn;
    // The window reaches the board over TLS (the menu of the TLS port): the tls- faults act there.
    bool overTls = false;
};

const Fault kFaults[] = {
    {"refuse", "refuse", false},
    {"stall", "stall", false},
    {"drip", "drip", false},
    {"truncate", "truncate", false},
    {"garbage", "garbage", false},
    {"huge (24 MB)", "huge", false},
    {"status 404", "status=404", false},
    {"status 302", "status=302", false},
    {"strict (400 to the exact request)", "strict", true},
    {"invalid CP932", "badcp932", true},
    {"empty reply", "empty", false},
    {"only headers (200, no body)", "headers", false},
    {"range ignored (200, the whole dat)", "ignore-range", true, kDatColumns},
    {"bad range (206 from the wrong offset)", "bad-range", true, kDatColumns},
    {"redirect (301 to the TLS port)", "redirect", true, kDatColumns},
    {"TLS: untrusted certificate", "tls-untrusted", false, kDatColumns, true},
    {"TLS: certificate for another host", "tls-wronghost", false, kDatColumns, true},
    {"TLS: handshake stalls", "tls-stall", false, kDatColumns, true},
    {"TLS: plain text on the TLS port", "tls-plain", false, kDatColumns, true},
};

// What one case saw, for the table.
struct CaseOutcome
{
    QString what;      // what the user is left with
    qint64 elapsedMs = -1;
    int messages = 0;
    bool recovered = false;
    QStringList problems;

    QString cell() const
    {
        QString text = what;
        text += QStringLiteral(", %1 s").arg(double(elapsedMs) / 1000.0, 0, 'f', 1);
        if (messages > 0)
            text += QStringLiteral(", %1 message").arg(messages);
        text += recovered ? QStringLiteral(", recovers") : QStringLiteral(", **no recovery**");
        if (!problems.isEmpty())
            text += QStringLiteral(" — **FAIL**: ") + problems.join(QStringLiteral("; "));
        return text;
    }
};

class FaultMatrix : public ::testing::Test
{
public:
    struct Case
    {
        const Fault &fault;
        BoardSim &sim;
        formMain &w;
        testsupport::TempProgramFolder &home;
        testsupport::RecordedMessages &messages;
        CaseOutcome &outcome;

        // Records a failed expectation both in the test and in the table.
        void check(bool condition, const QString &what)
        {
            if (condition)
                return;
            outcome.problems << what;
            ADD_FAILURE() << fault.label << ": " << what.toStdString();
        }
        void faultOn(const QString &pathText)
        {
            check(sim.setFaults({QString::fromLatin1(fault.mode) + QLatin1Char(':') + pathText}),
                  QStringLiteral("boardsim took the fault"));
        }
        void faultOff() { check(sim.setFaults({}), QStringLiteral("boardsim cleared the fault")); }
        // Runs the faulty operation and checks its time and messages.
        void timed(const std::function<void()> &operation)
        {
            messages.service().clear();
            QElapsedTimer clock;
            clock.start();
            operation();
            outcome.elapsedMs = clock.elapsed();
            outcome.messages = int(messages.shown().size());
            check(outcome.elapsedMs <= kTimeoutSeconds * 1000 + kMarginMs,
                  QStringLiteral("took %1 ms").arg(outcome.elapsedMs));
            check(messages.shown().size() <= 1,
                  QStringLiteral("%1 messages").arg(messages.shown().size()));
            for (const QString &text : messages.shown())
                check(text == startFailedMessage() || text == connectFailedMessage(),
                      QStringLiteral("unclear message \"%1\"").arg(text));
        }
        // The side panel and the board lists still answer.
        void checkBoardListsUsable()
        {
            check(w.List3->count() > 0 && w.List3->isEnabled(), QStringLiteral("live-board list usable"));
            check(w.cmdAll2ch->isEnabled() && w.cmdGoLive->isEnabled() && w.comboFavorite->isEnabled(),
                  QStringLiteral("board buttons enabled"));
        }
        bool running() const
        {
            return w.Command1->text() == QStringLiteral("停止") && w.Command1->isEnabled() && w.isRegetTimerEnabled();
        }
        bool stopped() const
        {
            return w.Command1->text() == QStringLiteral("開始") && !w.isRegetTimerEnabled();
        }
        // Start then Stop on the current thread (both must work).
        void checkStartAndStop(const QString &when)
        {
            w.Command1_Click();
            check(running(), QStringLiteral("Start works ") + when);
            w.Command1_Click();
            check(stopped() && w.Command1->isEnabled(), QStringLiteral("Stop works ") + when);
        }
    };

    // Runs body for every fault, each with a fresh server, program folder and window.
    void runColumn(const QString &column, Column place, const BoardSim::Options &simOptions,
                   const std::function<void(Case &)> &body)
    {
        QList<QPair<QString, CaseOutcome>> rows;
        for (const Fault &fault : kFaults) {
            if (!(fault.columns & place))
                continue;
            SCOPED_TRACE(fault.label);
            CaseOutcome outcome;
            {
                testsupport::TempProgramFolder home;
                testsupport::RecordedMessages messages;
                BoardSim::Options options = simOptions;
                options.dripIntervalMs = 300;
                options.hugeMegabytes = 24;
                options.tls = fault.overTls || QByteArray(fault.mode) == "redirect";
                BoardSim sim(options);
                if (!sim.isRunning()) {
                    ADD_FAILURE() << sim.error().toStdString();
                    outcome.problems << QStringLiteral("boardsim did not start");
                } else {
                    ServicesConfig config = sim.services();
                    config.timeoutSeconds = kTimeoutSeconds;
                    auto w = testsupport::openMainWindow(config, fault.overTls ? sim.tlsMenuUrl() : sim.menuUrl());
                    Case c{fault, sim, *w, home, messages, outcome};
                    body(c);
                    w->close();
                }
            }
            rows << qMakePair(QString::fromLatin1(fault.label), outcome);
        }
        writeColumn(column, rows);
    }

    static QString matrixDir()
    {
        const QString dir = qEnvironmentVariable("KESTRELON_FAULT_MATRIX_DIR", QDir::currentPath());
        QDir().mkpath(dir);
        return dir;
    }

    // One file per column ("fault<TAB>cell" lines), then the whole table from every column there.
    static void writeColumn(const QString &column, const QList<QPair<QString, CaseOutcome>> &rows)
    {
        const QString dir = matrixDir();
        QByteArray lines;
        for (const auto &[fault, outcome] : rows)
            lines += (fault + QLatin1Char('\t') + outcome.cell() + QLatin1Char('\n')).toUtf8();
        QSaveFile file(dir + QStringLiteral("/column-") + column + QStringLiteral(".tsv"));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(lines);
            file.commit();
        }
        writeTable(dir);
    }

    static void writeTable(const QString &dir)
    {
        static const QList<QPair<QString, QString>> columns = {
            {QStringLiteral("Menu"), QStringLiteral("board menu")},
            {QStringLiteral("Board"), QStringLiteral("open a board")},
            {QStringLiteral("StartDat"), QStringLiteral("Start, dat mode")},
            {QStringLiteral("StartWeb"), QStringLiteral("Start, web mode")},
            {QStringLiteral("Refetch"), QStringLiteral("re-fetch in the countdown")},
            {QStringLiteral("Follow"), QStringLiteral("next-thread follow")},
        };
        QStringList faults;
        for (const Fault &fault : kFaults)
            faults << QString::fromLatin1(fault.label);
        // Transposed: one row per fault and place, which reads better than a six-column table.
        QString table = QStringLiteral("| place | fault | outcome |\n|---|---|---|\n");
        for (const auto &[key, title] : columns) {
            QFile file(dir + QStringLiteral("/column-") + key + QStringLiteral(".tsv"));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            for (const QString &line : lines)
                table += QStringLiteral("| %1 | %2 | %3 |\n").arg(title, line.section(QLatin1Char('\t'), 0, 0),
                                                             line.section(QLatin1Char('\t'), 1));
        }
        QSaveFile out(dir + QStringLiteral("/fault-matrix.md"));
        if (out.open(QIODevice::WriteOnly)) {
            out.write(table.toUtf8());
            out.commit();
        }
    }

    static BoardSim::Options liveOptions(double rate = 4, int startCount = 0)
    {
        BoardSim::Options options;
        options.rate = rate;
        options.startCount = startCount;
        return options;
    }
};

TEST_F(FaultMatrix, Menu)
{
    runColumn(QStringLiteral("Menu"), kMenu, liveOptions(0), [](Case &c) {
        const QStringList live = entries(c.w.List3);
        const QStringList all = entries(c.w.List1);
        ASSERT_FALSE(live.isEmpty());
        c.faultOn(QStringLiteral("/bbsmenu.html"));
        c.timed([&] { c.w.cmdGoLive_Click(); });
        if (c.fault.survivable) {
            c.check(c.w.List3->count() > 0, QStringLiteral("live boards listed"));
            c.outcome.what = QStringLiteral("lists filled");
        } else {
            c.check(entries(c.w.List3) == live && entries(c.w.List1) == all, QStringLiteral("board lists kept"));
            c.outcome.what = QStringLiteral("board lists kept");
        }
        c.checkBoardListsUsable();
        testsupport::openLiveBoard(c.w, QStringLiteral("livenhk"));
        c.check(c.w.List5->count() > 0, QStringLiteral("a board opens from the kept list"));

        c.faultOff();
        c.w.cmdAll2ch_Click();
        c.check(c.w.TreeViewIta->isVisibleTo(&c.w) && c.w.TreeViewIta->model()->rowCount() > 0,
                QStringLiteral("tree after recovery"));
        c.w.cmdGoLive_Click();
        c.outcome.recovered = entries(c.w.List3) == live;
        c.check(c.outcome.recovered, QStringLiteral("live boards after recovery"));
    });
}

TEST_F(FaultMatrix, Board)
{
    runColumn(QStringLiteral("Board"), kBoard, liveOptions(0), [](Case &c) {
        testsupport::openLiveBoard(c.w, QStringLiteral("livenhk"));
        testsupport::chooseTopThread(c.w);
        const QStringList threads = entries(c.w.List5);
        c.faultOn(QStringLiteral("/livenhk/subject.txt"));
        c.timed([&] { testsupport::openLiveBoard(c.w, QStringLiteral("livenhk")); });
        if (c.fault.survivable) {
            c.check(c.w.List5->count() == threads.size(), QStringLiteral("threads listed"));
            c.outcome.what = QStringLiteral("threads listed");
        } else {
            // A board that cannot be opened leaves its thread list empty, nothing half-filled.
            c.check(c.w.List5->count() == 0 && c.w.List6->count() == 0, QStringLiteral("thread list empty"));
            c.outcome.what = QStringLiteral("thread list empty, board lists kept");
        }
        c.checkBoardListsUsable();
        c.check(c.w.Command1->isEnabled(), QStringLiteral("Start enabled for the chosen thread"));
        c.checkStartAndStop(QStringLiteral("after the failed board"));

        c.faultOff();
        testsupport::openLiveBoard(c.w, QStringLiteral("livenhk"));
        c.outcome.recovered = entries(c.w.List5) == threads;
        c.check(c.outcome.recovered, QStringLiteral("threads listed after recovery"));
    });
}

// Start under the fault, in dat or web mode; the thread page path is faulty.
void startColumn(FaultMatrix::Case &c, bool datMode)
{
    c.w.dialogs().settingsDialog()->chkIsDat->setChecked(datMode);
    testsupport::setViewMode(c.w, 1);
    testsupport::openLiveBoard(c.w, QStringLiteral("livenhk"));
    testsupport::chooseTopThread(c.w);
    const int before = c.w.record().upperBound();
    c.faultOn(datMode ? QStringLiteral("/livenhk/dat/") : QStringLiteral("/test/read.cgi/livenhk/"));
    c.timed([&] { c.w.Command1_Click(); });
    if (c.fault.survivable) {
        c.check(c.running(), QStringLiteral("running"));
        c.check(c.messages.shown().isEmpty(), QStringLiteral("no message"));
        c.outcome.what = QStringLiteral("runs");
        c.w.Command1_Click();
        c.check(c.stopped(), QStringLiteral("Stop works"));
    } else {
        c.check(c.stopped() && c.w.Command1->isEnabled(), QStringLiteral("back to Start, enabled"));
        c.check(c.w.record().upperBound() == before, QStringLiteral("record kept"));
        c.check(c.messages.shown() == QStringList{startFailedMessage()}, QStringLiteral("one start-failed message"));
        c.check(c.w.List5->isEnabled(), QStringLiteral("thread list enabled"));
        c.outcome.what = QStringLiteral("back to Start, record kept");
    }
    c.checkBoardListsUsable();

    c.faultOff();
    c.w.Command1_Click();
    c.outcome.recovered = c.running() && c.w.threadPosition().intLastDt > 0;
    c.check(c.outcome.recovered, QStringLiteral("runs after recovery"));
    c.w.Command1_Click();
    c.check(c.stopped(), QStringLiteral("Stop after recovery"));
}

TEST_F(FaultMatrix, StartDat)
{
    runColumn(QStringLiteral("StartDat"), kStartDat, liveOptions(0), [](Case &c) { startColumn(c, true); });
}

TEST_F(FaultMatrix, StartWeb)
{
    runColumn(QStringLiteral("StartWeb"), kStartWeb, liveOptions(0), [](Case &c) { startColumn(c, false); });
}

TEST_F(FaultMatrix, Refetch)
{
    runColumn(QStringLiteral("Refetch"), kRefetch, liveOptions(8), [](Case &c) {
        testsupport::setViewMode(c.w, 1);
        testsupport::openLiveBoard(c.w, QStringLiteral("livenhk"));
        testsupport::chooseTopThread(c.w);
        c.w.Command1_Click();
        ASSERT_TRUE(c.running());
        ASSERT_TRUE(newResponsesWaiting(c.sim, c.w));
        ASSERT_EQ(testsupport::tickUntilFetched(c.w), 13);
        const QString pagePath = c.home.file(marqueePageFileName());
        const QByteArray page = testsupport::readBytes(pagePath);
        const int last = c.w.threadPosition().intLastDt;
        const int upper = c.w.record().upperBound();
        ASSERT_FALSE(page.isEmpty());

        c.faultOn(QStringLiteral("/livenhk/dat/"));
        c.check(newResponsesWaiting(c.sim, c.w), QStringLiteral("new responses waiting on the server"));
        for (int i = 0; i < 11; ++i)
            c.w.TimerReget_Timer();
        c.timed([&] { c.w.TimerReget_Timer(); });
        c.check(c.running(), QStringLiteral("still running"));
        c.check(c.w.lblCountDown->text() == countdownCaption(kRegetSteps), QStringLiteral("countdown restarted"));
        c.check(c.messages.shown().isEmpty(), QStringLiteral("no message"));
        if (c.fault.survivable) {
            c.check(c.w.threadPosition().intLastDt > last, QStringLiteral("new responses shown"));
            c.outcome.what = QStringLiteral("new responses shown");
        } else {
            c.check(c.w.threadPosition().intLastDt == last && c.w.record().upperBound() == upper,
                    QStringLiteral("position and record kept"));
            c.check(testsupport::readBytes(pagePath) == page, QStringLiteral("page kept"));
            c.outcome.what = QStringLiteral("page and record kept, counts down again");
        }
        c.checkBoardListsUsable();

        c.faultOff();
        const int beforeRecovery = c.w.threadPosition().intLastDt;
        c.check(newResponsesWaiting(c.sim, c.w), QStringLiteral("new responses waiting after recovery"));
        c.check(testsupport::tickUntilFetched(c.w) == 12, QStringLiteral("next countdown fetches"));
        c.outcome.recovered = c.running() && c.w.threadPosition().intLastDt > beforeRecovery;
        c.check(c.outcome.recovered, QStringLiteral("new responses after recovery"));
        c.w.Command1_Click();
        c.check(c.stopped(), QStringLiteral("Stop works"));
    });
}

TEST_F(FaultMatrix, Follow)
{
    // 16 responses to go at 2 a second: time enough for the window to open and Start on a loaded
    // machine before the thread is full (a thread full before Start would hand over to a new one).
    runColumn(QStringLiteral("Follow"), kFollow, liveOptions(2, 985), [](Case &c) {
        c.w.dialogs().settingsDialog()->Option1[0]->setChecked(true);
        testsupport::setViewMode(c.w, 1);
        testsupport::openLiveBoard(c.w, QStringLiteral("livenhk"));
        testsupport::chooseTopThread(c.w);
        const QString oldThread = c.w.threadChannel().address().strThreNo;
        // The board turns faulty as soon as the thread is seen full: the follow meets the fault.
        bool armed = false;
        QObject::connect(&c.w.threadChannel(), &ThreadChannel::datConverted, &c.w, [&] {
            if (!armed && c.w.record().upperBound() >= 1001) {
                armed = true;
                c.faultOn(QStringLiteral("/livenhk/"));
            }
        });
        c.w.Command1_Click();
        ASSERT_TRUE(c.running());
        // Countdowns until the fetch that sees 1001, which runs the follow inside its tick.
        const QDeadlineTimer deadline(120000);
        while (!armed && c.running() && !deadline.hasExpired()) {
            pause(250);
            for (int k = 0; k < kRegetSteps && c.w.TimerRegetTag() != QStringLiteral("12"); ++k)
                c.w.TimerReget_Timer();
            c.timed([&] { c.w.TimerReget_Timer(); });
        }
        ASSERT_TRUE(armed) << "the thread never reached 1001";
        if (c.fault.survivable) {
            c.check(c.w.threadChannel().address().strThreNo != oldThread && c.running(),
                    QStringLiteral("the new thread runs"));
            c.check(c.messages.shown().isEmpty(), QStringLiteral("no message"));
            c.outcome.what = QStringLiteral("follows to the new thread");
            c.w.Command1_Click();
        } else {
            c.check(c.stopped(), QStringLiteral("cycle ended"));
            c.check(c.w.threadChannel().address().strThreNo == oldThread, QStringLiteral("no restart of the old thread"));
            c.check(c.w.record().upperBound() >= 1001, QStringLiteral("record kept"));
            c.check(c.w.List5->count() == 0, QStringLiteral("no half-listed board"));
            c.check(c.messages.shown().isEmpty(), QStringLiteral("no message"));
            c.outcome.what = QStringLiteral("stops at 1001, record kept");
        }
        c.check(c.stopped(), QStringLiteral("stopped before recovery"));
        c.checkBoardListsUsable();

        c.faultOff();
        testsupport::openLiveBoard(c.w, QStringLiteral("livenhk"));
        c.check(c.w.List5->count() > 0, QStringLiteral("board lists after recovery"));
        if (c.w.List5->count() > 0)
            testsupport::chooseTopThread(c.w);
        c.w.Command1_Click();
        c.outcome.recovered = c.running() && c.w.threadChannel().address().strThreNo != oldThread;
        c.check(c.outcome.recovered, QStringLiteral("the new thread runs after recovery"));
        c.w.Command1_Click();
        c.check(c.stopped(), QStringLiteral("Stop works"));
    });
}

} // namespace
