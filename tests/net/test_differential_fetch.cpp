// The thread channel fetching a dat again for only what is new, against a scripted server that
// answers ranges and conditional requests the way board servers do (or ignores them).
#include "FakeHttpServer.h"
#include "core/ServicesConfig.h"
#include "net/DatConverter.h"
#include "net/RawHttp.h"
#include "net/ThreadChannel.h"
#include "platform/Cp932.h"

#include <QDateTime>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

using testsupport::FakeHttpServer;

namespace {

QByteArray httpDate(qint64 seconds)
{
    return QLocale::c()
        .toString(QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"))
        .toLatin1();
}

// A dat on a scripted server: answers Range with 206 or 416 and If-Modified-Since with 304,
// unless told to ignore the range; sends its replies in chunks of the given size.
struct RangeServer
{
    QByteArray dat;
    qint64 modified = 1700000000; // seconds; bumped by every change
    bool ignoreRange = false;
    int chunkSize = 0;
    QList<int> statuses;          // of every reply sent
    FakeHttpServer server;

    RangeServer()
    {
        server.setResponder([this](const QByteArray &request, int) { return answer(request); });
    }
    void change(const QByteArray &newDat)
    {
        dat = newDat;
        ++modified;
    }
    FakeHttpServer::Reply answer(const QByteArray &request)
    {
        static const QRegularExpression range(QStringLiteral("\\r\\nRange: bytes=(\\d+)-\\r\\n"));
        const QByteArray headers = "Last-Modified: " + httpDate(modified) + "\r\nDate: " + httpDate(modified + 5) + "\r\n";
        const QRegularExpressionMatch m = range.match(QString::fromLatin1(request));
        QByteArray bytes;
        if (request.contains("If-Modified-Since: " + httpDate(modified) + "\r\n") && !ignoreRange) {
            bytes = FakeHttpServer::reply({}, 304, headers);
        } else if (m.hasMatch() && !ignoreRange) {
            const qsizetype from = m.captured(1).toLongLong();
            bytes = from >= dat.size()
                ? FakeHttpServer::reply({}, 416)
                : FakeHttpServer::reply(dat.mid(from), 206,
                                        headers + "Content-Range: bytes " + QByteArray::number(from) + "-"
                                            + QByteArray::number(dat.size() - 1) + "/" + QByteArray::number(dat.size())
                                            + "\r\n");
        } else {
            bytes = FakeHttpServer::reply(dat, 200, headers);
        }
        statuses << replyStatus(bytes);
        FakeHttpServer::Reply reply;
        reply.chunks = FakeHttpServer::split(bytes, chunkSize);
        return reply;
    }
};

QByteArray datLine(QRandomGenerator &random, int n)
{
    const QString body = QStringLiteral(" 実況 %1 ｷﾀ━ &gt;&gt;%2 %3 ").arg(n).arg(random.bounded(1, n + 1)).arg(QString(int(random.bounded(40)), QLatin1Char('w')));
    return platform::encodeCp932(QStringLiteral("名無しさん<>sage<>2024/06/01(土) 21:%1:%2.%3 ID:%4<>%5<>\n")
                                     .arg(n / 60 % 60, 2, 10, QLatin1Char('0'))
                                     .arg(n % 60, 2, 10, QLatin1Char('0'))
                                     .arg(random.bounded(100), 2, 10, QLatin1Char('0'))
                                     .arg(random.bounded(100000))
                                     .arg(body));
}

ResponseRecord wholeRecord(const QByteArray &dat)
{
    return convertDat(platform::decodeCp932("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + dat));
}

FetchResult fetch(ThreadChannel &channel, const RangeServer &server)
{
    return channel.fetchThreadAndWait(server.server.server(), QStringLiteral("ban"), QStringLiteral("123"));
}

} // namespace

TEST(DifferentialFetch, RandomGrowthDeletionsIgnoredRangesAndSplitPacketsGiveTheWholeFetchRecord)
{
    for (const quint32 seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        QRandomGenerator random(seed);
        RangeServer server;
        QList<QByteArray> lines;
        for (int i = 0; i < 5; ++i)
            lines << datLine(random, i + 1);
        server.change(lines.join());
        ThreadChannel channel;
        for (int round = 0; round < 40; ++round) {
            SCOPED_TRACE(round);
            const int what = int(random.bounded(10));
            if (what < 6) { // growth, sometimes by nothing
                for (int k = int(random.bounded(4)); k > 0; --k)
                    lines << datLine(random, int(lines.size()) + 1);
            } else if (what < 8 && lines.size() > 1) { // a deletion, often with growth
                lines[int(random.bounded(int(lines.size())))] =
                    platform::encodeCp932(QStringLiteral("あぼーん<>あぼーん<>あぼーん<>あぼーん<>\n"));
                if (random.bounded(2))
                    lines << datLine(random, int(lines.size()) + 1);
            }
            if (lines.join() != server.dat)
                server.change(lines.join());
            server.ignoreRange = random.bounded(8) == 0;
            server.chunkSize = int(random.bounded(3)) == 0 ? 0 : int(random.bounded(1, 40));
            const FetchResult result = fetch(channel, server);
            ASSERT_TRUE(result.ok()) << result.reason().toStdString();
            const ResponseRecord expected = wholeRecord(server.dat);
            ASSERT_EQ(channel.record().bodies(), expected.bodies());
            ASSERT_EQ(channel.record().names(), expected.names());
            ASSERT_EQ(channel.record().times(), expected.times());
            ASSERT_EQ(channel.record().numbers(), expected.numbers());
        }
        for (const int status : {200, 206, 304})
            EXPECT_TRUE(server.statuses.contains(status)) << status;
    }
}

TEST(DifferentialFetch, RequestsAndAnswersOfOneThread)
{
    RangeServer server;
    const QByteArray first = "a<>m<>t<>one<>title\nb<>m<>t<>two<>\n";
    server.change(first);
    ThreadChannel channel;
    const QString svr = server.server.server();
    ASSERT_TRUE(fetch(channel, server).ok());
    // The first fetch sends the exact request.
    EXPECT_EQ(server.server.requests().last(), datRequest(svr, "ban", "123"));

    // Nothing new: 304, a success with nothing new; record and arrival flag as after a fetch.
    int converted = 0;
    QObject::connect(&channel, &ThreadChannel::datConverted, [&] { ++converted; });
    const FetchResult unchanged = fetch(channel, server);
    EXPECT_TRUE(unchanged.ok());
    EXPECT_TRUE(unchanged.nothingNew);
    EXPECT_EQ(server.statuses.last(), 304);
    EXPECT_EQ(channel.record().upperBound(), 2);
    EXPECT_EQ(channel.intDatArrived, 1);
    EXPECT_EQ(converted, 0);
    EXPECT_TRUE(server.server.requests().last().endsWith(
        "Connection: Close\r\nRange: bytes=" + QByteArray::number(first.indexOf("\nb<>")) + "-\r\nIf-Modified-Since: "
        + httpDate(server.modified) + "\r\n\r\n"));

    // A rewritten response: the stale range is followed by the whole dat in the same fetch.
    server.change("あぼーん<>あぼーん<>あぼーん<>あぼーん<>\nb<>m<>t<>two<>\nc<>m<>t<>three<>\n");
    const int connections = server.server.connectionCount();
    const FetchResult rewritten = fetch(channel, server);
    ASSERT_TRUE(rewritten.ok());
    EXPECT_FALSE(rewritten.nothingNew);
    EXPECT_EQ(server.server.connectionCount(), connections + 2);
    EXPECT_EQ(server.server.requests().last(), datRequest(svr, "ban", "123"));
    EXPECT_EQ(channel.record().bodies(), wholeRecord(server.dat).bodies());
    EXPECT_EQ(converted, 1);

    // After Stop the next Start sends the exact request again.
    channel.resetRecordAfterStop();
    ASSERT_TRUE(fetch(channel, server).ok());
    EXPECT_EQ(server.server.requests().last(), datRequest(svr, "ban", "123"));

    // Another thread on the same server starts whole too.
    ASSERT_TRUE(channel.fetchThreadAndWait(svr, "ban", "456").ok());
    EXPECT_EQ(server.server.requests().last(), datRequest(svr, "ban", "456"));

    // With network/differential off every fetch is the exact request.
    ServicesConfig config = services();
    config.differential = false;
    setServices(config);
    ASSERT_TRUE(fetch(channel, server).ok());
    ASSERT_TRUE(fetch(channel, server).ok());
    EXPECT_EQ(server.server.requests().last(), datRequest(svr, "ban", "123"));
    config.differential = true;
    setServices(config);
}
