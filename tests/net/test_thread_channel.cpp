#include "FakeHttpServer.h"
#include "TestSupport.h"
#include "core/ServicesConfig.h"
#include "net/RawHttp.h"
#include "net/ThreadChannel.h"
#include "platform/Cp932.h"

#include <QTimer>
#include <gtest/gtest.h>

using testsupport::FakeHttpServer;

namespace {

// A short network time-out for the duration of a test.
class ShortTimeout
{
public:
    explicit ShortTimeout(int seconds)
        : m_saved(services())
    {
        ServicesConfig config = m_saved;
        config.timeoutSeconds = seconds;
        setServices(config);
    }
    ~ShortTimeout() { setServices(m_saved); }

private:
    ServicesConfig m_saved;
};

QByteArray datBody()
{
    return platform::encodeCp932(QStringLiteral(
        "名無しさん<><>2024/01/01(月) 21:00:00.00 ID:abc<> ｷﾀ━━━(ﾟ∀ﾟ)━━━!! <>実況スレ\n"
        "名無しさん<>sage<>2024/01/01(月) 21:00:01.00 ID:def<> &gt;&gt;1 乙 <br> 二行目 <>\n"
        "名無しさん<><>2024/01/01(月) 21:00:02.00 ID:ghi<> 漢字～① <>\n"));
}

// Fetches the thread "ban/123" from server and returns how it ended.
FetchResult fetchDat(ThreadChannel &channel, const FakeHttpServer &server)
{
    return channel.fetchThreadAndWait(server.server(), QStringLiteral("ban"), QStringLiteral("123"));
}

} // namespace

TEST(ThreadChannel, SendsBothRequestsByteExactInOneConnectionEach)
{
    FakeHttpServer server;
    server.replyWith(FakeHttpServer::reply("1.dat<>t (1)\n"));
    ThreadChannel channel;
    ASSERT_TRUE(channel.openBoardAndWait(QStringLiteral("http://%1/ban/").arg(server.server())).ok());
    ASSERT_TRUE(fetchDat(channel, server).ok());
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests()[0], indexRequest(server.server(), QStringLiteral("ban")));
    EXPECT_EQ(server.requests()[1], datRequest(server.server(), QStringLiteral("ban"), QStringLiteral("123")));
    EXPECT_TRUE(server.requests()[1].contains("\r\nAccept -Encoding: gzip\r\nConnection: Close\r\n\r\n"));
    EXPECT_EQ(channel.address().strSvr, server.server());
    EXPECT_EQ(channel.address().strBan, QStringLiteral("ban"));
    EXPECT_EQ(channel.address().strGetSintyakuFooter, QStringLiteral("n-"));
}

TEST(ThreadChannel, DatInManyPacketsEqualsDatAtOnceAndKeepsSplitCharacters)
{
    const QByteArray reply = FakeHttpServer::reply(datBody());
    FakeHttpServer whole;
    whole.replyWith(reply);
    // One byte a packet splits every double-byte character between two arrivals.
    FakeHttpServer drip;
    drip.replyWith(reply, 1, 1);

    ThreadChannel channel;
    ASSERT_TRUE(fetchDat(channel, whole).ok());
    const ResponseRecord atOnce = channel.record();
    ASSERT_TRUE(fetchDat(channel, drip).ok());
    EXPECT_EQ(channel.record().names(), atOnce.names());
    EXPECT_EQ(channel.record().times(), atOnce.times());
    EXPECT_EQ(channel.record().bodies(), atOnce.bodies());
    EXPECT_EQ(channel.record().upperBound(), 3);
    EXPECT_EQ(channel.record().body(1), QStringLiteral(" >>1 乙 <br> 二行目 "));
    EXPECT_EQ(channel.record().body(2), QStringLiteral(" 漢字～① "));
    EXPECT_EQ(channel.intDatArrived, 1);
    EXPECT_TRUE(channel.threadReceiveBuffer().isEmpty());
}

TEST(ThreadChannel, IndexRepliesWithLfOrCrLineEndsArriveWithCrLf)
{
    const QByteArray index = "1.dat<>one (1)\n2.dat<>two (2)\n";
    FakeHttpServer lf;
    lf.replyWith("HTTP/1.0 200 OK\nContent-Type: text/plain\n\n" + index);
    FakeHttpServer cr;
    cr.replyWith("HTTP/1.0 200 OK\rContent-Type: text/plain\r\r" + QByteArray(index).replace('\n', '\r'));

    for (FakeHttpServer *server : {&lf, &cr}) {
        ThreadChannel channel;
        QString listed;
        QObject::connect(&channel, &ThreadChannel::indexArrived, [&](const QString &text) { listed = text; });
        ASSERT_TRUE(channel.openBoardAndWait(QStringLiteral("http://%1/ban/").arg(server->server())).ok());
        const QString expected = QStringLiteral("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n1.dat<>one (1)\r\n2.dat<>two (2)\r\n");
        EXPECT_EQ(channel.Text1(), expected);
        EXPECT_EQ(listed, expected);
        EXPECT_EQ(channel.intIndexArrived, 1);
    }
}

TEST(ThreadChannel, FailedFetchesLeaveRecordAndBuffersAsTheyWere)
{
    ShortTimeout timeout(1);
    FakeHttpServer good;
    good.replyWith(FakeHttpServer::reply(datBody()));
    ThreadChannel channel;
    ASSERT_TRUE(fetchDat(channel, good).ok());
    const QStringList bodies = channel.record().bodies();

    FakeHttpServer notFound;
    notFound.replyWith(FakeHttpServer::reply("<html><body>404 not here</body></html>\r\n", 404));
    FakeHttpServer midReply; // promises 4000 bytes, sends a part and closes
    midReply.replyWith(FakeHttpServer::reply(datBody(), 200, "Content-Length: 4000\r\n"), 40);
    FakeHttpServer noSeparator;
    noSeparator.replyWith("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n");
    FakeHttpServer empty;
    empty.replyWith("");
    FakeHttpServer silent;
    silent.neverAnswer();
    FakeHttpServer garbage;
    garbage.replyWith(datBody());

    struct Case { FakeHttpServer *server; FetchFailure failure; };
    const Case cases[] = {
        {&notFound, FetchFailure::HttpStatus}, {&midReply, FetchFailure::ClosedEarly},
        {&noSeparator, FetchFailure::ClosedEarly}, {&empty, FetchFailure::ClosedEarly},
        {&silent, FetchFailure::TimedOut}, {&garbage, FetchFailure::BadReply},
    };
    for (const Case &c : cases) {
        int failedSignals = 0;
        QMetaObject::Connection connection = QObject::connect(
            &channel, &ThreadChannel::fetchFailed, [&](ThreadChannel::Socket, const FetchResult &) { ++failedSignals; });
        const FetchResult result = fetchDat(channel, *c.server);
        QObject::disconnect(connection);
        EXPECT_EQ(result.failure, c.failure) << result.reason().toStdString();
        EXPECT_EQ(failedSignals, 1);
        EXPECT_EQ(channel.record().bodies(), bodies);
        EXPECT_EQ(channel.intDatArrived, 0);
        EXPECT_TRUE(channel.threadReceiveBuffer().isEmpty());
    }
    EXPECT_EQ(fetchDat(channel, notFound).httpStatus, 404);

    const FetchResult refused = channel.fetchThreadAndWait(
        QStringLiteral("127.0.0.1:%1").arg(testsupport::unusedLoopbackPort()), QStringLiteral("ban"), QStringLiteral("1"));
    EXPECT_EQ(refused.failure, FetchFailure::Refused);
    EXPECT_EQ(channel.record().bodies(), bodies);
}

TEST(ThreadChannel, ShortFieldLinesBecomeResponsesWithEmptyFields)
{
    FakeHttpServer server;
    server.replyWith(FakeHttpServer::reply("only a name\nn<>m<>t\nn<>m<>t<>b<>\n"));
    ThreadChannel channel;
    ASSERT_TRUE(fetchDat(channel, server).ok());
    EXPECT_EQ(channel.record().names(), (QStringList{"only a name", "n", "n", ""}));
    EXPECT_EQ(channel.record().times(), (QStringList{"", "t", "t", ""}));
    EXPECT_EQ(channel.record().bodies(), (QStringList{"", "", "b", ""}));
}

TEST(ThreadChannel, StrictServerGetsTheConformingRequestOnceAndThenFirst)
{
    FakeHttpServer strict;
    strict.setResponder([](const QByteArray &request, int) {
        FakeHttpServer::Reply reply;
        reply.chunks = {request.contains("Accept -Encoding")
                            ? FakeHttpServer::reply("<html>400 Bad Request</html>", 400)
                            : FakeHttpServer::reply(datBody())};
        return reply;
    });
    ThreadChannel channel;
    ASSERT_TRUE(fetchDat(channel, strict).ok());
    ASSERT_EQ(strict.requests().size(), 2);
    EXPECT_EQ(strict.requests()[0], datRequest(strict.server(), "ban", "123"));
    EXPECT_EQ(strict.requests()[1], datRequest(strict.server(), "ban", "123", true));
    EXPECT_TRUE(channel.conformingServers().contains(strict.server()));
    // Both sockets know it now: the index request goes out conforming at once.
    ASSERT_TRUE(channel.openBoardAndWait(QStringLiteral("http://%1/ban/").arg(strict.server())).ok());
    ASSERT_EQ(strict.requests().size(), 3);
    EXPECT_EQ(strict.requests()[2], indexRequest(strict.server(), "ban", true));

    // A server that answers 400 to both forms fails after exactly one retry.
    FakeHttpServer broken;
    broken.replyWith(FakeHttpServer::reply("bad", 400));
    const FetchResult result = fetchDat(channel, broken);
    EXPECT_EQ(result.failure, FetchFailure::HttpStatus);
    EXPECT_EQ(broken.requests().size(), 2);
}

TEST(ThreadChannel, OpeningASecondBoardSupersedesTheBusyIndexFetch)
{
    ShortTimeout timeout(5);
    FakeHttpServer slow;
    slow.neverAnswer();
    FakeHttpServer fast;
    fast.replyWith(FakeHttpServer::reply("9.dat<>second board (9)\n"));
    ThreadChannel channel;
    QList<FetchFailure> failures;
    QObject::connect(&channel, &ThreadChannel::fetchFailed,
                     [&](ThreadChannel::Socket, const FetchResult &r) { failures.append(r.failure); });

    // The second board is opened from inside the first opener's wait, as a double click would.
    FetchResult second;
    QTimer::singleShot(100, [&] { second = channel.openBoardAndWait(QStringLiteral("http://%1/ban2/").arg(fast.server())); });
    const FetchResult first = channel.openBoardAndWait(QStringLiteral("http://%1/ban1/").arg(slow.server()));

    EXPECT_EQ(first.failure, FetchFailure::Superseded);
    EXPECT_TRUE(second.ok());
    EXPECT_EQ(failures, (QList<FetchFailure>{FetchFailure::Superseded}));
    EXPECT_TRUE(channel.Text1().endsWith(QStringLiteral("9.dat<>second board (9)\r\n")));
    EXPECT_EQ(channel.address().strBan, QStringLiteral("ban2"));
}

TEST(ThreadChannel, SetThreadThatCannotConnectReportsItAndKeepsTheValues)
{
    testsupport::RecordedMessages messages;
    FakeHttpServer server;
    server.replyWith(FakeHttpServer::reply(datBody()));
    ThreadChannel channel;
    ASSERT_TRUE(fetchDat(channel, server).ok());
    EXPECT_FALSE(channel.SetThread(QStringLiteral("host:notaport"), QStringLiteral("other"), QStringLiteral("9")));
    EXPECT_EQ(channel.address().strSvr, server.server());
    EXPECT_EQ(channel.address().strThreNo, QStringLiteral("123"));
    EXPECT_EQ(channel.fetchThreadAndWait(QStringLiteral("host:notaport"), QStringLiteral("other"), QStringLiteral("9")).failure,
              FetchFailure::InvalidServer);
    EXPECT_EQ(channel.openBoardAndWait(QStringLiteral("no address")).failure, FetchFailure::InvalidServer);
    // The network layer never shows anything itself.
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(ThreadChannel, LogsAThreadFetchedFromALocalServer)
{
    FakeHttpServer server;
    server.replyWith(FakeHttpServer::reply(datBody()), 64, 2);
    ThreadChannel channel;
    const FetchResult result = fetchDat(channel, server);
    ASSERT_TRUE(result.ok()) << result.reason().toStdString();
    const ResponseRecord &record = channel.record();
    qInfo().noquote() << "fetched" << threadPageAddress(server.server(), "ban", "123") << "upper bound" << record.upperBound();
    for (int i = 0; i <= record.upperBound(); ++i)
        qInfo().noquote() << QStringLiteral("[%1] %2 | %3 | %4 | %5")
                                 .arg(i).arg(*record.number(i), *record.name(i), *record.time(i), *record.body(i));
    EXPECT_EQ(record.upperBound(), 3);
}
