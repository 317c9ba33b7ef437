// Each --fault mode of boardsim, seen from a client sending the viewer's own request bytes.

#include "BoardSim.h"

#include "platform/Cp932.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <gtest/gtest.h>

using testsupport::BoardSim;

namespace {

BoardSim::Options withFaults(const QStringList &faults)
{
    BoardSim::Options options;
    options.rate = 0;
    options.faults = faults;
    options.dripIntervalMs = 1;
    options.hugeMegabytes = 2;
    return options;
}

QByteArray request(const BoardSim &sim, const QString &path)
{
    return BoardSim::viewerRequest(path, sim.host());
}

int statusOf(const QByteArray &reply)
{
    return reply.startsWith("HTTP/1.1 ") ? reply.mid(9, 3).toInt() : 0;
}

qint64 contentLength(const QByteArray &reply)
{
    const qsizetype at = reply.indexOf("\r\nContent-Length: ");
    return at < 0 ? -1 : reply.mid(at + 18, reply.indexOf("\r\n", at + 2) - at - 18).toLongLong();
}

QByteArray bodyOf(const QByteArray &reply)
{
    return reply.mid(reply.indexOf("\r\n\r\n") + 4);
}

} // namespace

TEST(BoardSimFaults, RefuseClosesAtOnceEverywhereOrOnlyOnMatchingPaths)
{
    {
        BoardSim sim(withFaults({QStringLiteral("refuse")}));
        ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
        bool closed = false;
        EXPECT_TRUE(BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/bbsmenu.html")), 3000, &closed).isEmpty());
        EXPECT_TRUE(closed);
    }
    BoardSim sim(withFaults({QStringLiteral("refuse:/dat/")}));
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    bool closed = false;
    EXPECT_TRUE(BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/news/dat/1.dat")), 3000, &closed).isEmpty());
    EXPECT_TRUE(closed);
    EXPECT_EQ(statusOf(BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/news/subject.txt")))), 200);
    EXPECT_TRUE(sim.log().contains(QStringLiteral("(fault refuse)")));
}

TEST(BoardSimFaults, StallHoldsTheConnectionWithoutAnswering)
{
    BoardSim sim(withFaults({QStringLiteral("stall:/subject.txt")}));
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    bool closed = true;
    EXPECT_TRUE(BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/news/subject.txt")), 800, &closed).isEmpty());
    EXPECT_FALSE(closed);
    EXPECT_EQ(statusOf(BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/bbsmenu.html")))), 200);
}

TEST(BoardSimFaults, DripSendsTheWholeReplyInSinglebytePieces)
{
    BoardSim sim(withFaults({QStringLiteral("drip:/news/subject.txt")}));
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(sim.port()));
    ASSERT_TRUE(socket.waitForConnected(3000));
    socket.write(request(sim, QStringLiteral("/news/subject.txt")));
    QByteArray reply;
    int arrivals = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000 && (socket.state() == QAbstractSocket::ConnectedState || socket.bytesAvailable())) {
        if (socket.waitForReadyRead(200) || socket.bytesAvailable()) {
            const QByteArray piece = socket.readAll();
            arrivals += piece.isEmpty() ? 0 : 1;
            reply += piece;
        }
    }
    ASSERT_EQ(statusOf(reply), 200);
    EXPECT_EQ(bodyOf(reply).size(), contentLength(reply)) << "nothing is lost on the way";
    EXPECT_GT(arrivals, 20);
    EXPECT_TRUE(bodyOf(reply).endsWith('\n'));
}

TEST(BoardSimFaults, TruncateClosesHalfwayThroughTheBody)
{
    BoardSim sim(withFaults({QStringLiteral("truncate:/dat/")}));
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    const QString subject = QString::fromLatin1(
        bodyOf(BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/news/subject.txt")))));
    const QString key = subject.section(QLatin1Char('.'), 0, 0);
    bool closed = false;
    const QByteArray reply =
        BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/news/dat/%1.dat").arg(key)), 5000, &closed);
    EXPECT_TRUE(closed);
    ASSERT_EQ(statusOf(reply), 200);
    const qint64 promised = contentLength(reply);
    EXPECT_GT(promised, 100);
    EXPECT_EQ(bodyOf(reply).size(), promised / 2);
}

TEST(BoardSimFaults, GarbageAnswersRandomBytes)
{
    BoardSim sim(withFaults({QStringLiteral("garbage")}));
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    bool closed = false;
    const QByteArray reply = BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/news/subject.txt")), 5000, &closed);
    EXPECT_TRUE(closed);
    EXPECT_GE(reply.size(), 2048);
    EXPECT_FALSE(reply.startsWith("HTTP/"));
    const QByteArray again = BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/news/subject.txt")));
    EXPECT_NE(reply, again) << "each answer is new noise";
}

TEST(BoardSimFaults, HugeSendsManyMegabytes)
{
    BoardSim sim(withFaults({QStringLiteral("huge:/dat/")}));
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    bool closed = false;
    const QByteArray reply = BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/news/dat/1.dat")), 20000, &closed);
    EXPECT_TRUE(closed);
    ASSERT_EQ(statusOf(reply), 200);
    EXPECT_EQ(contentLength(reply), 2 * 1024 * 1024);
    EXPECT_EQ(bodyOf(reply).size(), 2 * 1024 * 1024);
    EXPECT_TRUE(bodyOf(reply).startsWith(platform::encodeCp932(QStringLiteral("名無しさん<><>")))) << "dat-like lines";
}

TEST(BoardSimFaults, StatusAnswersTheChosenCode)
{
    BoardSim sim(withFaults({QStringLiteral("status:/dat/"), QStringLiteral("status=302:/subject.txt")}));
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    EXPECT_EQ(statusOf(BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/news/dat/1.dat")))), 404);
    const QByteArray moved = BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/news/subject.txt")));
    EXPECT_EQ(statusOf(moved), 302);
    EXPECT_TRUE(moved.contains("\r\nLocation: http://"));
    EXPECT_EQ(statusOf(BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/bbsmenu.html")))), 200);
}

TEST(BoardSimFaults, StrictRejectsHeaderNamesWithABlank)
{
    BoardSim sim(withFaults({QStringLiteral("strict")}));
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    // The viewer's own request carries "Accept -Encoding".
    const QByteArray viewer = request(sim, QStringLiteral("/news/subject.txt"));
    ASSERT_TRUE(viewer.contains("\r\nAccept -Encoding: gzip\r\n"));
    EXPECT_EQ(statusOf(BoardSim::exchange(sim.host(), viewer)), 400);
    QByteArray conforming = viewer;
    conforming.replace("Accept -Encoding", "Accept-Encoding");
    EXPECT_EQ(statusOf(BoardSim::exchange(sim.host(), conforming)), 200);
}

TEST(BoardSimFaults, WithoutFaultsTheViewerRequestIsAnsweredWhole)
{
    BoardSim sim(withFaults({}));
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    bool closed = false;
    const QByteArray reply = BoardSim::exchange(sim.host(), request(sim, QStringLiteral("/news/subject.txt")), 5000, &closed);
    EXPECT_TRUE(closed) << "the server closes after its reply, as the viewer expects";
    EXPECT_EQ(statusOf(reply), 200);
    EXPECT_EQ(bodyOf(reply).size(), contentLength(reply));
}

TEST(BoardSimFaults, RangeFaultsAndTheRedirectToTheTlsPort)
{
    BoardSim::Options options = withFaults({});
    options.tls = true;
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    ASSERT_TRUE(sim.tlsMenuUrl().startsWith(QStringLiteral("https://127.0.0.1:"))) << qPrintable(sim.tlsMenuUrl());
    EXPECT_TRUE(QFile::exists(sim.services().caFile));
    const QString path = QStringLiteral("/news/dat/") + bodyOf(BoardSim::exchange(sim.host(), request(sim, "/news/subject.txt")))
                                                            .split('.').first() + QStringLiteral(".dat");
    const QByteArray whole = bodyOf(BoardSim::exchange(sim.host(), request(sim, path)));
    const QByteArray ranged = request(sim, path).replace("\r\n\r\n", "\r\nRange: bytes=10-\r\n\r\n");
    struct Case { const char *fault; int status; QByteArray body; };
    const Case cases[] = {
        {"", 206, whole.mid(10)},
        {"ignore-range:/dat/", 200, whole},
        {"bad-range:/dat/", 206, whole.mid(11)},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(sim.setFaults(*c.fault ? QStringList{QString::fromLatin1(c.fault)} : QStringList()));
        const QByteArray reply = BoardSim::exchange(sim.host(), ranged);
        EXPECT_EQ(statusOf(reply), c.status) << c.fault;
        EXPECT_EQ(bodyOf(reply), c.body) << c.fault;
    }
    ASSERT_TRUE(sim.setFaults({QStringLiteral("redirect:/dat/")}));
    const QByteArray moved = BoardSim::exchange(sim.host(), request(sim, path));
    EXPECT_EQ(statusOf(moved), 301);
    EXPECT_TRUE(moved.contains("\r\nLocation: https://" + sim.tlsHost().toLatin1() + path.toLatin1() + "\r\n"));
}
