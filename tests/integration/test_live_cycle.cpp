// The main window against the local board server: the board menu, opening boards, the thread
// list, Start/Stop, the re-fetch countdown, web mode, the follow at 1000 and misbehaving servers.
// TimerReget is driven by hand (its interval is set out of reach) unless a test says otherwise.

#include "app/LiveCycleRules.h"
#include "app/LiveSession.h"
#include "app/SettingsFile.h"
#include "app/gui/BoardTreeView.h"
#include "net/BoardTreeModel.h"
#include "app/gui/MainWindowWiring.h"
#include "app/gui/SettingsDialogs.h"
#include "app/gui/formMain.h"
#include "app/gui/formScrollSetting.h"
#include "core/ServicesConfig.h"
#include "net/NextThreadSearch.h"
#include "net/ResponseRecord.h"
#include "net/ThreadChannel.h"
#include "platform/Cp932.h"
#include "present/MarqueePageBuilder.h"
#include "present/gui/LabelStrip.h"
#include "present/gui/MarqueeSurface.h"
#include "viewers/gui/formSureItiran.h"
#include "BoardSim.h"
#include "FakeHttpServer.h"
#include "LiveWindowDriver.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include "platform/gui/ModelListView.h"
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>
#include <memory>

namespace {

using testsupport::BoardSim;
using testsupport::chooseTopThread;
using testsupport::entries;
using testsupport::newResponsesWaiting;
using testsupport::openLiveBoard;
using testsupport::pause;
using testsupport::setViewMode;
using testsupport::tickUntilFetched;

class LiveCycle : public ::testing::Test
{
protected:
    std::unique_ptr<formMain> openWindow(const BoardSim &sim, int timeoutSeconds = 5)
    {
        ServicesConfig config = sim.services();
        config.timeoutSeconds = timeoutSeconds;
        return testsupport::openMainWindow(config, sim.menuUrl());
    }
    QString page() const
    {
        return platform::decodeCp932(testsupport::readBytes(home.file(marqueePageFileName())));
    }

    testsupport::TempProgramFolder home;
    testsupport::RecordedMessages messages;
};

TEST_F(LiveCycle, BoardMenuAsListsAndAsTree)
{
    BoardSim sim;
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    auto w = openWindow(sim);

    // Every link form of the menu is found; the address gets "subback.html".
    const QStringList all = entries(w->List2);
    EXPECT_TRUE(all.contains(sim.boardUrl("news") + "subback.html"));       // "HREF = "
    EXPECT_TRUE(all.contains(sim.boardUrl("mnewsplus") + "subback.html"));  // quoted
    EXPECT_TRUE(all.contains(sim.boardUrl("tvd") + "subback.html"));        // "href= ... >"
    EXPECT_EQ(w->List1->count(), w->List2->count());
    // Only boards on the live servers reach the visible list.
    EXPECT_TRUE(entries(w->List1).contains(QStringLiteral("速報ニュース")));
    EXPECT_FALSE(entries(w->List3).contains(QStringLiteral("速報ニュース")));
    EXPECT_TRUE(entries(w->List3).contains(QStringLiteral("番組ch(NHK)")));
    EXPECT_TRUE(entries(w->List4).contains(sim.boardUrl("livenhk") + "subback.html"));
    EXPECT_FALSE(w->TreeViewIta->isVisibleTo(w.get()));

    w->cmdAll2ch_Click();
    EXPECT_TRUE(w->TreeViewIta->isVisibleTo(w.get()));
    EXPECT_EQ(w->List3->count(), 0);
    EXPECT_TRUE(w->comboFavorite->isEnabled());
    const QAbstractItemModel *tree = w->TreeViewIta->model();
    QModelIndex live;
    for (int i = 0; i < tree->rowCount(); ++i)
        if (tree->index(i, 0).data().toString() == QStringLiteral("実況ch"))
            live = tree->index(i, 0);
    ASSERT_TRUE(live.isValid());
    ASSERT_GT(tree->rowCount(live), 0);
    EXPECT_EQ(BoardTreeModel::keyOf(tree->index(0, 0, live)), sim.boardUrl("livenhk") + BoardTreeModel::keyOf(live));

    w->cmdGoLive_Click();
    EXPECT_FALSE(w->TreeViewIta->isVisibleTo(w.get()));
    EXPECT_GT(w->List3->count(), 0);
}

TEST_F(LiveCycle, OpeningBoardsFromListAndTreeRecordsWhereAndRefillsTheThreadListWindow)
{
    BoardSim sim;
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    auto w = openWindow(sim);
    QList<QStringList> filled;
    w->hooks().threadList.fillLists = [&](const QStringList &e, const QStringList &a) {
        filled << e << a;
    };

    openLiveBoard(*w, "livenhk");
    EXPECT_EQ(w->intGetSureFrom(), 1);
    ASSERT_GT(w->List5->count(), 0); // listed before the opener returned
    EXPECT_TRUE(w->List5->text(0).startsWith(QStringLiteral("1: ")));
    EXPECT_TRUE(w->List5->toolTip(0).startsWith(QStringLiteral("勢い："))) << w->List5->toolTip(0).toStdString();
    const QRegularExpression threadPage(QStringLiteral("^http://127\\.0\\.0\\.1:\\d+/test/read\\.cgi/livenhk/\\d+/l50$"));
    EXPECT_TRUE(threadPage.match(w->List6->text(0)).hasMatch()) << w->List6->text(0).toStdString();

    w->cmdAll2ch_Click();
    const QAbstractItemModel *tree = w->TreeViewIta->model();
    QModelIndex board;
    for (int i = 0; i < tree->rowCount() && !board.isValid(); ++i) {
        const QModelIndex category = tree->index(i, 0);
        for (int j = 0; j < tree->rowCount(category); ++j)
            if (BoardTreeModel::keyOf(tree->index(j, 0, category)).startsWith(sim.boardUrl("livetv")))
                board = tree->index(j, 0, category);
    }
    ASSERT_TRUE(board.isValid());
    w->TreeViewIta->setCurrentIndex(board);
    w->TreeViewIta_DblClick();
    EXPECT_EQ(w->intGetSureFrom(), 2);
    ASSERT_GT(w->List6->count(), 0);
    EXPECT_TRUE(w->List6->text(0).contains(QStringLiteral("/livetv/")));

    // The thread-list window ends with exactly the second board.
    ASSERT_EQ(filled.size(), 4);
    EXPECT_EQ(filled[2], entries(w->List5));
    EXPECT_EQ(filled[3], entries(w->List6));

    // A category has no board behind it: nothing changes.
    const QStringList before = entries(w->List5);
    w->TreeViewIta->setCurrentIndex(board.parent());
    w->TreeViewIta_DblClick();
    EXPECT_EQ(entries(w->List5), before);
    EXPECT_EQ(w->intGetSureFrom(), 2);
}

TEST_F(LiveCycle, FavouritesAddTwiceAndOpenWithoutSubback)
{
    BoardSim sim;
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    auto w = openWindow(sim);
    openLiveBoard(*w, "livesports");
    w->menuAddFavorite_Click();
    w->menuAddFavorite_Click();
    ASSERT_EQ(w->comboFavorite->count(), 2);
    EXPECT_EQ(w->comboFavorite->itemText(0), w->comboFavorite->itemText(1));
    EXPECT_TRUE(w->listFavoriteHide->text(0).endsWith(QStringLiteral("subback.html")));

    w->comboFavorite->setCurrentIndex(1);
    w->comboFavorite_Click();
    EXPECT_EQ(w->intGetSureFrom(), 3);
    EXPECT_EQ(w->threadChannel().address().strBan, QStringLiteral("livesports"));
    EXPECT_GT(w->List5->count(), 0);
    EXPECT_EQ(w->List3->count(), 0);
    EXPECT_TRUE(w->cmdAll2ch->isEnabled());
    EXPECT_TRUE(w->comboFavorite->isEnabled());
}

TEST_F(LiveCycle, StartCountdownRefetchAndStop)
{
    BoardSim::Options options;
    options.rate = 8;
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    auto w = openWindow(sim);
    setViewMode(*w, 1);
    openLiveBoard(*w, "livenhk");
    chooseTopThread(*w);
    ASSERT_TRUE(w->Command1->isEnabled());

    w->Command1_Click();
    EXPECT_EQ(w->Command1->text(), QStringLiteral("停止"));
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_TRUE(w->Command2->isEnabled());
    EXPECT_FALSE(w->List5->isEnabled());
    EXPECT_TRUE(w->isRegetTimerEnabled());
    EXPECT_TRUE(w->Label3Caption().endsWith(QStringLiteral("n-")));
    const int first = w->threadPosition().intLastDt;
    EXPECT_GT(first, 0);
    EXPECT_EQ(w->Label1->text(), QString::number(first));
    EXPECT_FALSE(QFile::exists(home.file(marqueePageFileName()))); // the first display shows nothing

    // The first cycle after start-up: 12 .. 1 shown, the thirteenth tick fetches.
    QStringList captions;
    for (int i = 0; i < 12; ++i) {
        w->TimerReget_Timer();
        captions << w->lblCountDown->text();
    }
    EXPECT_EQ(captions.first(), countdownCaption(12));
    EXPECT_EQ(captions.last(), countdownCaption(1));
    ASSERT_TRUE(newResponsesWaiting(sim, *w));
    w->TimerReget_Timer();
    EXPECT_EQ(w->lblCountDown->text(), countdownCaption(12));
    EXPECT_EQ(w->TimerRegetTag(), QStringLiteral("1"));
    EXPECT_GT(w->threadPosition().intLastDt, first);
    EXPECT_TRUE(page().contains(QStringLiteral("<Marquee loop=1")));
    EXPECT_TRUE(w->WebScroll->locationURL().endsWith(marqueePageFileName()));

    // Every later cycle takes twelve ticks.
    pause(300);
    EXPECT_EQ(tickUntilFetched(*w), 12);

    // Stop during the countdown.
    w->TimerReget_Timer();
    w->TimerReget_Timer();
    w->Command1_Click();
    EXPECT_EQ(w->Command1->text(), QStringLiteral("開始"));
    EXPECT_TRUE(w->lblCountDown->text().isEmpty());
    EXPECT_EQ(w->TimerRegetTag(), QStringLiteral("1"));
    EXPECT_FALSE(w->isRegetTimerEnabled());
    EXPECT_TRUE(w->List5->isEnabled());
    EXPECT_FALSE(w->Command2->isEnabled());
    EXPECT_EQ(w->record().upperBound(), 0);
    EXPECT_EQ(w->WebScroll->locationURL(), QStringLiteral("about:blank"));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(LiveCycle, ARefetchThatBringsNothingNewKeepsCountingDown)
{
    BoardSim::Options options;
    options.rate = 0;
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    auto w = openWindow(sim);
    for (const int view : {0, 1}) {
        SCOPED_TRACE(view);
        setViewMode(*w, view);
        openLiveBoard(*w, "livenhk");
        chooseTopThread(*w);
        w->Command1_Click();
        const int last = w->threadPosition().intLastDt;
        const QStringList bodies = w->record().bodies();
        ASSERT_GT(tickUntilFetched(*w), 0);
        // The server answered 304 (or a range of only the bytes held, when its Last-Modified
        // could not be kept): the cycle goes on with the record and position as they were.
        const QString answer = sim.log().trimmed().section(QLatin1Char('\n'), -1);
        EXPECT_TRUE(answer.contains(QStringLiteral(".dat HTTP/1.0\" 304 ")) || answer.contains(QStringLiteral(".dat HTTP/1.0\" 206 ")))
            << answer.toStdString();
        EXPECT_EQ(w->Command1->text(), QStringLiteral("停止"));
        EXPECT_TRUE(w->isRegetTimerEnabled());
        EXPECT_EQ(w->lblCountDown->text(), countdownCaption(12));
        EXPECT_EQ(w->threadPosition().intLastDt, last);
        EXPECT_EQ(w->record().bodies(), bodies);
        EXPECT_FALSE(QFile::exists(home.file(marqueePageFileName())));
        w->Command1_Click();
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(LiveCycle, WebModeFetchesFirstThroughTheTemporaryFileThenStraightIntoText2)
{
    BoardSim::Options options;
    options.rate = 8;
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    auto w = openWindow(sim);
    w->dialogs().settingsDialog()->chkIsDat->setChecked(false);
    ASSERT_FALSE(w->settings().blnIsDatMode);
    openLiveBoard(*w, "livetv");
    chooseTopThread(*w);

    w->Command1_Click();
    EXPECT_EQ(w->Command1->text(), QStringLiteral("停止"));
    EXPECT_TRUE(w->session().text2().startsWith(QStringLiteral("<dt>"))); // trimmed by the presenter
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("tempHtml.txt"))));
    EXPECT_TRUE(sim.log().contains(QStringLiteral("/l50")));
    EXPECT_TRUE(w->isRegetTimerEnabled());
    const QString firstNext = w->Label3Caption();
    EXPECT_TRUE(firstNext.endsWith(QStringLiteral("n-")));

    ASSERT_TRUE(newResponsesWaiting(sim, *w));
    EXPECT_EQ(tickUntilFetched(*w), 13);
    // The re-fetch asked for the responses after the last one shown and showed them as labels.
    EXPECT_TRUE(sim.log().contains(firstNext.mid(firstNext.indexOf(QStringLiteral("/test/")))));
    EXPECT_NE(w->Label3Caption(), firstNext);
    EXPECT_GT(w->lblMsgStrip->model().commentCount(), 0);
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("tempHtml.txt"))));
}

TEST_F(LiveCycle, OverloadedThreadPageEndsTheStartWithTheMessage)
{
    BoardSim sim;
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    auto w = openWindow(sim);
    w->dialogs().settingsDialog()->chkIsDat->setChecked(false);
    const QByteArray index = BoardSim::get(sim.boardUrl("heavy") + "subject.txt");
    const QString number = QString::fromLatin1(index.left(index.indexOf(".dat")));
    ASSERT_FALSE(number.isEmpty());
    w->openThreadAddress(sim.host(), QStringLiteral("heavy"), number);

    w->command1Click();
    EXPECT_EQ(messages.shown(), QStringList{overloadedMessage()});
    EXPECT_EQ(w->Command1->text(), QStringLiteral("停止")); // as the service's own program left it
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_FALSE(w->isRegetTimerEnabled());
}

TEST_F(LiveCycle, ThreadReachingThousandIsFollowedToTheNewTopThread)
{
    BoardSim::Options options;
    options.rate = 6;
    options.startCount = 985;
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    auto w = openWindow(sim);
    w->dialogs().settingsDialog()->Option1[0]->setChecked(true);
    ASSERT_EQ(w->settings().intNextWhen1000, 0);
    setViewMode(*w, 1);
    w->setRegetInterval(15); // the whole cycle runs on the real timer, quickly
    openLiveBoard(*w, "livenhk");
    chooseTopThread(*w);
    const QString oldThread = w->threadChannel().address().strThreNo;
    w->Command1_Click();
    ASSERT_EQ(w->Command1->text(), QStringLiteral("停止"));

    const bool followed = testsupport::waitUntil(
        [&] {
            return w->threadChannel().address().strThreNo != oldThread
                && w->Command1->text() == QStringLiteral("停止") && w->isRegetTimerEnabled();
        },
        30000);
    ASSERT_TRUE(followed) << "still on " << oldThread.toStdString();
    EXPECT_EQ(w->intGetSureFrom(), 1);
    EXPECT_EQ(w->List5->currentRow(), 0);
    EXPECT_TRUE(w->lblCaptionText().contains(w->List5->text(0)));
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.shown().join('|').toStdString();
}

TEST_F(LiveCycle, NextPartByTitleIsAwaitedWhileTheFinishedThreadTopsTheBoardThenFollowed)
{
    BoardSim::Options options;
    options.rate = 6;
    options.startCount = 990;
    options.extraArguments = {QStringLiteral("--next-delay"), QStringLiteral("3")};
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    auto w = openWindow(sim);
    w->dialogs().settingsDialog()->Option1[0]->setChecked(true);
    w->dialogs().settingsDialog()->chkNextByTitle->setChecked(true);
    setViewMode(*w, 1);
    w->setRegetInterval(15);
    openLiveBoard(*w, "livenhk");
    chooseTopThread(*w);
    const QString oldThread = w->threadChannel().address().strThreNo;
    const SeriesTitle oldTitle = seriesTitle(summariseThread(w->List5->text(0), QString()).title);
    w->Command1_Click();

    // Full, and nobody has made the next part yet: the top thread is the finished one.
    ASSERT_TRUE(testsupport::waitUntil(
        [&] { return w->lblCountDown->text().startsWith(QStringLiteral("次スレ待ち：")); }, 30000));
    EXPECT_EQ(w->threadChannel().address().strThreNo, oldThread);
    EXPECT_EQ(w->Command1->text(), QStringLiteral("停止"));
    EXPECT_TRUE(w->Command1->isEnabled());

    ASSERT_TRUE(testsupport::waitUntil(
        [&] {
            return w->threadChannel().address().strThreNo != oldThread
                && w->Command1->text() == QStringLiteral("停止") && w->isRegetTimerEnabled();
        },
        15000));
    const SeriesTitle newTitle =
        seriesTitle(summariseThread(w->lblCaptionText().section(QLatin1Char(' '), 1), QString()).title);
    EXPECT_EQ(newTitle.stem, oldTitle.stem);
    EXPECT_EQ(newTitle.number, *oldTitle.number + 1);
    EXPECT_FALSE(w->lblCountDown->text().startsWith(QStringLiteral("次スレ待ち")));
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.shown().join('|').toStdString();
}

TEST_F(LiveCycle, DeadServerDuringStartReturnsToStartWithOneMessage)
{
    for (const char *fault : {"stall:/dat/", "refuse:/dat/", "garbage:/dat/"}) {
        SCOPED_TRACE(fault);
        messages.service().clear();
        BoardSim::Options options;
        options.faults = {QString::fromLatin1(fault)};
        BoardSim sim(options);
        ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
        auto w = openWindow(sim, 1);
        openLiveBoard(*w, "livenhk");
        chooseTopThread(*w);
        const int upper = w->record().upperBound();

        QElapsedTimer clock;
        clock.start();
        w->Command1_Click();
        EXPECT_LT(clock.elapsed(), 8000);
        EXPECT_EQ(w->Command1->text(), QStringLiteral("開始"));
        EXPECT_TRUE(w->Command1->isEnabled());
        EXPECT_FALSE(w->isRegetTimerEnabled());
        EXPECT_EQ(w->record().upperBound(), upper);
        EXPECT_EQ(messages.shown(), QStringList{startFailedMessage()});
    }
}

// A board of our own: the index, then the dat as scripted per request.
// A main window for a scripted server: the given network time-out, the countdown left to the
// test's own ticks, the other windows wired when asked.
std::unique_ptr<formMain> scriptedWindow(int timeoutSeconds, bool wired = false)
{
    ServicesConfig config = ServicesConfig::defaults();
    config.timeoutSeconds = timeoutSeconds;
    setServices(config);
    auto w = std::make_unique<formMain>();
    if (wired)
        wireOtherWindows(*w);
    w->Form_Load();
    w->setRegetInterval(24 * 3600 * 1000);
    return w;
}

struct ScriptedBoard
{
    testsupport::FakeHttpServer server;
    QList<testsupport::FakeHttpServer::Reply> datReplies; // in order; the last repeats
    int datRequests = 0;

    static QByteArray dat(int responses)
    {
        QString text;
        for (int i = 1; i <= responses; ++i)
            text += QStringLiteral("名無し<><>2024/05/01(水) 12:00:%1 ID:abc<> body %2 <>\n")
                        .arg(i, 2, 10, QLatin1Char('0'))
                        .arg(i);
        return platform::encodeCp932(text);
    }
    static testsupport::FakeHttpServer::Reply whole(const QByteArray &bytes)
    {
        testsupport::FakeHttpServer::Reply r;
        r.chunks = {bytes};
        return r;
    }

    int indexRequests = 0;
    bool indexFailsAfterFirst = false;

    ScriptedBoard()
    {
        server.setResponder([this](const QByteArray &request, int) {
            if (request.contains("subject.txt")) {
                if (indexRequests++ > 0 && indexFailsAfterFirst)
                    return whole(testsupport::FakeHttpServer::reply("gone", 404));
                return whole(testsupport::FakeHttpServer::reply(
                    platform::encodeCp932(QStringLiteral("123.dat<>試験スレ (5)\n"))));
            }
            const int i = std::min(datRequests++, int(datReplies.size()) - 1);
            return datReplies.at(i);
        });
    }
};

TEST_F(LiveCycle, FailedRefetchKeepsThePageAndASlowOneShowsOnlyWhatIsNew)
{
    ScriptedBoard board;
    testsupport::FakeHttpServer::Reply silent;
    silent.answer = false;
    testsupport::FakeHttpServer::Reply slow;
    slow.chunks = testsupport::FakeHttpServer::split(testsupport::FakeHttpServer::reply(ScriptedBoard::dat(8)), 40);
    slow.chunkDelayMs = 15;
    board.datReplies = {ScriptedBoard::whole(testsupport::FakeHttpServer::reply(ScriptedBoard::dat(5))),
                        silent, slow};
    auto w = scriptedWindow(1);
    setViewMode(*w, 1);
    ASSERT_TRUE(w->openThreadAddress(board.server.server(), QStringLiteral("live"), QStringLiteral("123")));
    w->Command1_Click();
    ASSERT_EQ(w->threadPosition().intLastDt, 5);

    // The re-fetch meets a silent server; a tick arriving during the wait is dropped.
    QString tagDuringWait;
    QTimer::singleShot(300, w.get(), [&] {
        w->TimerReget_Timer();
        tagDuringWait = w->TimerRegetTag();
    });
    EXPECT_EQ(tickUntilFetched(*w), 13);
    EXPECT_EQ(tagDuringWait, QStringLiteral("12"));
    EXPECT_EQ(board.datRequests, 2);
    EXPECT_EQ(w->Command1->text(), QStringLiteral("停止"));
    EXPECT_EQ(w->lblCountDown->text(), countdownCaption(12));
    EXPECT_EQ(w->threadPosition().intLastDt, 5);
    EXPECT_EQ(w->record().upperBound(), 5);
    EXPECT_FALSE(QFile::exists(home.file(marqueePageFileName())));
    EXPECT_TRUE(messages.shown().isEmpty());

    // The next countdown tries again; the dripped reply shows responses 6 to 8 only.
    EXPECT_EQ(tickUntilFetched(*w), 12);
    EXPECT_EQ(w->threadPosition().intLastDt, 8);
    const QString shown = page();
    for (int i = 6; i <= 8; ++i)
        EXPECT_TRUE(shown.contains(QStringLiteral("body&nbsp;%1").arg(i))) << i;
    for (int i = 1; i <= 5; ++i)
        EXPECT_FALSE(shown.contains(QStringLiteral("body&nbsp;%1&nbsp;").arg(i))) << i;
}

TEST_F(LiveCycle, StopDuringARefetchDropsWhatArrivesAfterIt)
{
    ScriptedBoard board;
    testsupport::FakeHttpServer::Reply slow;
    slow.chunks = testsupport::FakeHttpServer::split(testsupport::FakeHttpServer::reply(ScriptedBoard::dat(9)), 64);
    slow.chunkDelayMs = 40;
    board.datReplies = {ScriptedBoard::whole(testsupport::FakeHttpServer::reply(ScriptedBoard::dat(5))), slow};
    auto w = scriptedWindow(5);
    setViewMode(*w, 1);
    ASSERT_TRUE(w->openThreadAddress(board.server.server(), QStringLiteral("live"), QStringLiteral("123")));
    w->Command1_Click();
    ASSERT_EQ(w->threadPosition().intLastDt, 5);

    QTimer::singleShot(100, w.get(), [&] { w->Command1_Click(); }); // Stop while the dat drips in
    EXPECT_EQ(tickUntilFetched(*w), 13);
    EXPECT_EQ(w->Command1->text(), QStringLiteral("開始"));
    EXPECT_TRUE(w->lblCountDown->text().isEmpty());
    EXPECT_EQ(w->TimerRegetTag(), QStringLiteral("1"));
    EXPECT_FALSE(w->isRegetTimerEnabled());
    EXPECT_EQ(w->threadPosition().intLastDt, 5);
    EXPECT_FALSE(QFile::exists(home.file(marqueePageFileName())));
}

TEST_F(LiveCycle, FollowThatCannotListTheBoardAgainDoesNotRestartTheFinishedThread)
{
    ScriptedBoard board;
    board.indexFailsAfterFirst = true;
    board.datReplies = {ScriptedBoard::whole(testsupport::FakeHttpServer::reply(ScriptedBoard::dat(998))),
                        ScriptedBoard::whole(testsupport::FakeHttpServer::reply(ScriptedBoard::dat(1001)))};
    ServicesConfig config = ServicesConfig::defaults();
    config.timeoutSeconds = 2;
    setServices(config);
    testsupport::writeBytes(home.file(QStringLiteral("favorite.txt")),
                            platform::encodeCp932(QStringLiteral("試験板--http://") + board.server.server()
                                                  + QStringLiteral("/live/subback.html")));
    auto w = std::make_unique<formMain>();
    w->Form_Load();
    w->setRegetInterval(24 * 3600 * 1000);
    w->dialogs().settingsDialog()->Option1[0]->setChecked(true);
    setViewMode(*w, 1);
    w->comboFavorite->setCurrentIndex(0);
    w->comboFavorite_Click();
    ASSERT_EQ(w->intGetSureFrom(), 3);
    chooseTopThread(*w);
    w->Command1_Click();
    ASSERT_EQ(w->threadPosition().intLastDt, 998);

    EXPECT_EQ(tickUntilFetched(*w), 13); // reaches 1001: the follow finds no board to list
    EXPECT_EQ(w->threadPosition().intLastDt, 1001);
    EXPECT_EQ(board.indexRequests, 2);
    EXPECT_EQ(board.datRequests, 2);
    EXPECT_EQ(w->List5->count(), 0);
    EXPECT_EQ(w->Command1->text(), QStringLiteral("開始"));
    EXPECT_FALSE(w->isRegetTimerEnabled());
    EXPECT_EQ(w->lblCountDown->text(), countdownCaption(12)); // after every fetch, as ever
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.shown().join('|').toStdString();
}

// At 1001 with "スレ一覧" chosen, the thread-list window opens at the top of Frame2 and the main
// window's left, and the cycle stands stopped.
TEST_F(LiveCycle, ThreadEndWithTheListSettingOpensTheThreadListAtTheStatusPanel)
{
    ScriptedBoard board;
    board.datReplies = {ScriptedBoard::whole(testsupport::FakeHttpServer::reply(ScriptedBoard::dat(998))),
                        ScriptedBoard::whole(testsupport::FakeHttpServer::reply(ScriptedBoard::dat(1001)))};
    auto w = scriptedWindow(5, true);
    w->dialogs().settingsDialog()->Option1[1]->setChecked(true);
    ASSERT_EQ(w->settings().intNextWhen1000, 1);
    setViewMode(*w, 1);
    w->move(40, 60);
    w->show();
    ASSERT_TRUE(w->openThreadAddress(board.server.server(), QStringLiteral("live"), QStringLiteral("123")));
    w->Command1_Click();
    ASSERT_EQ(w->threadPosition().intLastDt, 998);

    EXPECT_EQ(tickUntilFetched(*w), 13);
    EXPECT_EQ(w->threadPosition().intLastDt, 1001);
    formSureItiran *list = nullptr;
    ASSERT_TRUE(testsupport::waitUntil([&] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *l = qobject_cast<formSureItiran *>(top); l && l->isVisible())
                list = l;
        return list != nullptr;
    }));
    EXPECT_EQ(list->pos(), QPoint(w->frameGeometry().left(), w->Frame2->mapToGlobal(QPoint(0, 0)).y()));
    EXPECT_EQ(w->Command1->text(), QStringLiteral("開始"));
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_FALSE(w->isRegetTimerEnabled());
    EXPECT_EQ(w->lblCountDown->text(), countdownCaption(12)); // the fetch's tick ends as every tick
    EXPECT_EQ(board.datRequests, 2);
    list->close();
}

// Web mode's first fetch downloads the page into a file with the busy pointer up; it is back to
// normal once the page is there.
TEST_F(LiveCycle, WebModeStartShowsTheBusyPointerWhileThePageDownloads)
{
    testsupport::FakeHttpServer server;
    QList<std::optional<Qt::CursorShape>> cursors; // at each request
    server.setResponder([&](const QByteArray &request, int) {
        const QCursor *c = QApplication::overrideCursor();
        cursors << (c ? std::optional<Qt::CursorShape>(c->shape()) : std::nullopt);
        testsupport::FakeHttpServer::Reply r;
        r.chunks = {testsupport::FakeHttpServer::reply(
            request.contains("subject.txt") ? platform::encodeCp932(QStringLiteral("123.dat<>試験 (2)\n"))
                                            : platform::encodeCp932(QStringLiteral("<dl><dt>1 ：名無し：2024/05/01<dd> 一 <br><br>"
                                                                                   "<dt>2 ：名無し：2024/05/01<dd> 二 <br><br></dl>")))};
        return r;
    });
    auto w = scriptedWindow(5);
    w->dialogs().settingsDialog()->chkIsDat->setChecked(false);
    ASSERT_TRUE(w->openThreadAddress(server.server(), QStringLiteral("live"), QStringLiteral("123")));
    cursors.clear();
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    w->Command1_Click();
    EXPECT_EQ(w->Command1->text(), QStringLiteral("停止"));
    EXPECT_EQ(w->threadPosition().intLastDt, 2);
    QStringList requestLines; // every request of the test, for a count that is off
    for (const QByteArray &r : server.requests())
        requestLines << QString::fromLatin1(r.left(r.indexOf('\r')));
    ASSERT_EQ(cursors.size(), 1) << requestLines.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(cursors.first(), std::optional<Qt::CursorShape>(Qt::WaitCursor));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A finished thread whose last page cannot be written still ends the cycle: the marquee view
// used to return before the end-of-thread step and fetch the finished thread for ever.
TEST_F(LiveCycle, ThreadEndingWhileThePageCannotBeWrittenStillStops)
{
    ScriptedBoard board;
    board.datReplies = {ScriptedBoard::whole(testsupport::FakeHttpServer::reply(ScriptedBoard::dat(998))),
                        ScriptedBoard::whole(testsupport::FakeHttpServer::reply(ScriptedBoard::dat(1001)))};
    auto w = scriptedWindow(5);
    w->dialogs().settingsDialog()->Option1[2]->setChecked(true);
    setViewMode(*w, 1);
    ASSERT_TRUE(w->openThreadAddress(board.server.server(), QStringLiteral("live"), QStringLiteral("123")));
    w->Command1_Click();
    ASSERT_EQ(w->threadPosition().intLastDt, 998);
    ASSERT_TRUE(QDir(home.path()).mkdir(marqueePageFileName())); // a folder where the page goes

    EXPECT_EQ(tickUntilFetched(*w), 13);
    EXPECT_EQ(w->threadPosition().intLastDt, 1001);
    EXPECT_EQ(w->Command1->text(), QStringLiteral("開始"));
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_FALSE(w->isRegetTimerEnabled());
    EXPECT_EQ(board.datRequests, 2);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.shown().join('|').toStdString();
}

} // namespace
