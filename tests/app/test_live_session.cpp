// The live session without a window: a recording view, the thread channel against a scripted
// loopback server, and the countdown ticked by hand (the session's timer never fires here).

#include "app/LiveCycleRules.h"
#include "app/LiveSession.h"
#include "app/MainSettings.h"
#include "net/ThreadChannel.h"
#include "platform/Cp932.h"
#include "present/MarqueePageBuilder.h"
#include "FakeHttpServer.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using testsupport::FakeHttpServer;

QByteArray dat(int responses)
{
    QString text;
    for (int i = 1; i <= responses; ++i)
        text += QStringLiteral("名無し<><>2024/05/01(水) 12:00:00 ID:abc<> body %1 <>\n").arg(i);
    return FakeHttpServer::reply(platform::encodeCp932(text));
}

FakeHttpServer::Reply whole(const QByteArray &bytes)
{
    FakeHttpServer::Reply r;
    r.chunks = {bytes};
    return r;
}

FakeHttpServer::Reply dripped(const QByteArray &bytes)
{
    FakeHttpServer::Reply r;
    r.chunks = FakeHttpServer::split(bytes, 32);
    r.chunkDelayMs = 40;
    return r;
}

// Records what the session asks of the windows; the board lists hold one thread.
struct RecordingView : LiveView
{
    explicit RecordingView(ThreadChannel &channel) : channel(channel) {}

    void setStartCaption(const QString &c) override { startCaption = c; }
    void setStartEnabled(bool on) override { startEnabled = on; }
    void setCommand1Enabled(bool on) override { startEnabled = on; }
    void setCommand2Enabled(bool on) override { command2 = on; }
    void setCountdownCaption(const QString &c) override { countdown << c; }
    void setList5Enabled(bool on) override { list5 = on; }
    void setOutLineModeBoxEnabled(bool) override {}
    void setLabel3Caption(const QString &c) override { channel.setLabel3Caption(c); }
    void setLabel1Caption(const QString &) override {}
    QString comboMaxText() const override { return QStringLiteral("30"); }
    QString comboMaxRowText() const override { return QStringLiteral("4"); }
    void setBusy(bool) override {}
    void showMessage(const LiveMessage &m) override { messages << m.kind; }
    void clearMarquee() override { events << QStringLiteral("blank"); }
    void showMarqueeRows(const QString &, const MarqueePage &) override { events << QStringLiteral("rows"); }
    void setLabelLook(int, bool) override {}
    bool showLiveComment(const QString &, quint32, qint32, int) override
    {
        events << QStringLiteral("label");
        return true;
    }
    void spreadLabelBatch(const QList<present::SpreadComment> &, qint64) override {}
    void runMiniPresenter(bool) override {}
    void refreshThreadView() override {}
    void setImage(const ImageLists &) override {}
    void showNgCount() override {}
    void showThreadList() override { events << QStringLiteral("thread list"); }
    bool reopenBoard() override
    {
        events << QStringLiteral("reopen");
        return true;
    }
    QList<ThreadSummary> listedThreads() const override
    {
        return {summariseThread(QStringLiteral("1: 次 (1)"), nextAddress)};
    }
    void makeListedThreadCurrent(int row) override
    {
        events << QStringLiteral("current %1").arg(row);
        if (onCurrent)
            onCurrent();
    }
    QString currentThreadEntry() const override { return QStringLiteral("1: 試験 (1001)"); }

    ThreadChannel &channel;
    QString startCaption = QStringLiteral("開始");
    bool startEnabled = true;
    bool command2 = false;
    bool list5 = true;
    QStringList countdown;
    QStringList events;
    QList<LiveMessage::Kind> messages;
    QString nextAddress;
    std::function<void()> onCurrent;
};

class LiveSessionTest : public ::testing::Test
{
protected:
    LiveSessionTest()
    {
        server.setResponder([this](const QByteArray &request, int) {
            requests << request;
            return replies.at(std::min(int(requests.size()) - 1, int(replies.size()) - 1));
        });
        settings.intViewMode = 2;
        settings.intNextWhen1000 = 2;
        session.setRegetInterval(24 * 3600 * 1000);
    }

    // Makes thread `number` of the server current, as choosing it in the thread list does (its
    // address is stored by a fetch, which takes one reply).
    void choose(const QString &number)
    {
        ASSERT_TRUE(channel.fetchThreadAndWait(server.server(), QStringLiteral("live"), number).ok());
        channel.resetRecordAfterStop();
        channel.setLabel3Caption(QStringLiteral("http://%1/test/read.cgi/live/%2/l50").arg(server.server(), number));
        session.position() = ThreadPosition();
    }
    // Ticks until the countdown's fetch has run; returns the ticks it took.
    int tickUntilFetched()
    {
        int ticks = 1;
        for (; session.timerRegetTag() != QStringLiteral("12"); ++ticks)
            session.tick();
        session.tick();
        return ticks;
    }

    testsupport::TempProgramFolder home;
    FakeHttpServer server;
    QList<FakeHttpServer::Reply> replies; // in order; the last repeats
    QList<QByteArray> requests;
    ThreadChannel channel;
    MainSettings settings;
    RecordingView view{channel};
    LiveSession session{channel, settings, view};
};

TEST_F(LiveSessionTest, StartFailsThenStartsAndCountsDownToTheRefetch)
{
    // No thread chosen: nothing can be fetched, Start says so and stands ready again.
    session.command1Click();
    EXPECT_EQ(view.messages, QList{LiveMessage::Kind::FetchFailed});
    EXPECT_EQ(view.startCaption, QStringLiteral("開始"));
    EXPECT_TRUE(view.startEnabled);
    EXPECT_FALSE(session.isRegetTimerEnabled());

    replies = {whole(dat(5)), whole(dat(5)), whole(dat(8))};
    choose(QStringLiteral("123"));
    session.command1Click();
    EXPECT_EQ(view.startCaption, QStringLiteral("停止"));
    EXPECT_TRUE(view.startEnabled && view.command2);
    EXPECT_FALSE(view.list5);
    EXPECT_TRUE(session.isRegetTimerEnabled());
    EXPECT_EQ(session.position().intLastDt, 5);
    EXPECT_TRUE(view.events.isEmpty()); // the first display only records the position

    // The tag starts at "0": the first cycle takes 13 ticks, counting 12 down to 1.
    view.countdown.clear();
    EXPECT_EQ(tickUntilFetched(), 13);
    QStringList expected;
    for (int n = 12; n >= 1; --n)
        expected << countdownCaption(n);
    expected << fetchingCaption() << showingCaption() << countdownCaption(12);
    EXPECT_EQ(view.countdown, expected);
    EXPECT_EQ(session.position().intLastDt, 8);
    EXPECT_EQ(view.events, QStringList{QStringLiteral("rows")});
    EXPECT_TRUE(QFile::exists(home.file(marqueePageFileName())));
    EXPECT_EQ(tickUntilFetched(), 12); // after a fetch the tag is "1"
    EXPECT_EQ(view.messages.size(), 1);
}

TEST_F(LiveSessionTest, StopWhileAFetchWaitsDropsWhatArrives)
{
    // A Stop inside Start's own wait (another window's Start button) and inside a re-fetch's.
    replies = {whole(dat(1)), dripped(dat(5)), whole(dat(5)), dripped(dat(9))};
    choose(QStringLiteral("123"));
    QTimer::singleShot(60, &session, [&] { session.command1Click(); });
    session.command1Click();
    EXPECT_EQ(view.startCaption, QStringLiteral("開始"));
    EXPECT_EQ(session.position().intLastDt, 0);
    EXPECT_FALSE(session.isRegetTimerEnabled());

    session.command1Click();
    ASSERT_EQ(session.position().intLastDt, 5);
    QTimer::singleShot(100, &session, [&] { session.command1Click(); });
    tickUntilFetched();
    EXPECT_EQ(view.startCaption, QStringLiteral("開始"));
    EXPECT_EQ(view.countdown.last(), QString());
    EXPECT_EQ(session.timerRegetTag(), QStringLiteral("1"));
    EXPECT_FALSE(session.isRegetTimerEnabled());
    EXPECT_EQ(session.position().intLastDt, 5);
    EXPECT_EQ(view.events, (QStringList{QStringLiteral("blank"), QStringLiteral("blank")}));
}

// The end of a thread stops the cycle in every view, also when the page cannot be written.
TEST_F(LiveSessionTest, ThreadEndAt1001StopsTheCycle)
{
    struct Case
    {
        int viewMode;
        bool pageWritable;
        int nextWhen1000;
        QStringList events;
    };
    const QList<Case> cases = {
        {2, false, 2, {}},
        {2, true, 1, {QStringLiteral("rows"), QStringLiteral("thread list")}},
        {1, true, 2, {QStringLiteral("label"), QStringLiteral("label"), QStringLiteral("label")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.viewMode);
        QDir(home.path()).rmdir(marqueePageFileName());
        QFile::remove(home.file(marqueePageFileName()));
        if (!c.pageWritable)
            ASSERT_TRUE(QDir(home.path()).mkdir(marqueePageFileName())); // a folder where it goes
        settings.intViewMode = qint16(c.viewMode);
        settings.intNextWhen1000 = qint16(c.nextWhen1000);
        requests.clear();
        replies = {whole(dat(998)), whole(dat(998)), whole(dat(1001))};
        choose(QStringLiteral("123"));
        session.command1Click();
        ASSERT_EQ(session.position().intLastDt, 998);
        view.events.clear();

        tickUntilFetched();
        EXPECT_EQ(session.position().intLastDt, 1001);
        EXPECT_EQ(view.startCaption, QStringLiteral("開始"));
        EXPECT_FALSE(view.startEnabled);
        EXPECT_FALSE(session.isRegetTimerEnabled());
        EXPECT_EQ(view.events, c.events);
        EXPECT_EQ(requests.size(), 3);
    }
}

TEST_F(LiveSessionTest, FollowAt1000StartsTheTopThreadOfTheBoardListedAgain)
{
    settings.intNextWhen1000 = 0;
    replies = {whole(dat(998)), whole(dat(998)), whole(dat(1001)), whole(dat(3))};
    view.nextAddress = QStringLiteral("http://%1/test/read.cgi/live/456/l50").arg(server.server());
    view.onCurrent = [&] { choose(QStringLiteral("456")); };
    choose(QStringLiteral("123"));
    session.command1Click();

    tickUntilFetched();
    EXPECT_EQ(view.events, (QStringList{QStringLiteral("rows"), QStringLiteral("reopen"), QStringLiteral("current 0")}));
    EXPECT_TRUE(requests.last().contains("/456.dat")) << requests.last().toStdString();
    EXPECT_EQ(view.startCaption, QStringLiteral("停止"));
    EXPECT_EQ(session.position().intLastDt, 3);
    EXPECT_TRUE(session.isRegetTimerEnabled());
}

} // namespace
