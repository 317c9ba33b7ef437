#include "FakeHttpServer.h"
#include "TestSupport.h"
#include "platform/TcpSocket.h"

#include <gtest/gtest.h>

using platform::TcpSocket;
using testsupport::FakeHttpServer;

namespace {

// Everything a socket reported, in order.
struct Recorder
{
    explicit Recorder(TcpSocket &socket)
    {
        QObject::connect(&socket, &TcpSocket::connected, [this] { events << QStringLiteral("connected"); });
        QObject::connect(&socket, &TcpSocket::dataArrived, [this, &socket](qint64) {
            events << QStringLiteral("data");
            bytes += socket.readAvailable();
        });
        QObject::connect(&socket, &TcpSocket::closedByPeer, [this] { events << QStringLiteral("closed"); });
        QObject::connect(&socket, &TcpSocket::errorOccurred, [this](TcpSocket::Error e, const QString &) {
            events << QStringLiteral("error");
            error = e;
        });
    }
    QStringList events;
    QByteArray bytes;
    TcpSocket::Error error = TcpSocket::Error::Other;
};

} // namespace

TEST(TcpSocket, ConnectSendReceiveAndPeerClose)
{
    FakeHttpServer server;
    server.replyWith("first part|second part", 5, 2);
    TcpSocket socket;
    Recorder recorder(socket);
    QObject::connect(&socket, &TcpSocket::connected, [&] { EXPECT_TRUE(socket.send("GET / HTTP/1.0\r\n\r\n")); });

    ASSERT_TRUE(socket.connectToHost(QStringLiteral("127.0.0.1"), server.port()));
    EXPECT_FALSE(socket.connectToHost(QStringLiteral("127.0.0.1"), server.port())); // not closed yet
    ASSERT_TRUE(testsupport::waitUntil([&] { return recorder.events.contains(QStringLiteral("closed")); }));

    EXPECT_EQ(recorder.bytes, QByteArray("first part|second part"));
    EXPECT_EQ(recorder.events.first(), QStringLiteral("connected"));
    EXPECT_EQ(recorder.events.last(), QStringLiteral("closed"));
    EXPECT_FALSE(recorder.events.contains(QStringLiteral("error")));
    EXPECT_EQ(server.requests(), QList<QByteArray>{"GET / HTTP/1.0\r\n\r\n"});
    EXPECT_EQ(socket.state(), TcpSocket::State::Closed);

    // The same socket connects again after the peer's close.
    recorder.events.clear();
    recorder.bytes.clear();
    ASSERT_TRUE(socket.connectToHost(QStringLiteral("127.0.0.1"), server.port()));
    ASSERT_TRUE(testsupport::waitUntil([&] { return recorder.events.contains(QStringLiteral("closed")); }));
    EXPECT_EQ(recorder.bytes, QByteArray("first part|second part"));
}

TEST(TcpSocket, RefusedConnectionIsAnErrorAndNoClose)
{
    TcpSocket socket;
    Recorder recorder(socket);
    EXPECT_FALSE(socket.send("x")); // not connected
    ASSERT_TRUE(socket.connectToHost(QStringLiteral("127.0.0.1"), testsupport::unusedLoopbackPort()));
    ASSERT_TRUE(testsupport::waitUntil([&] { return !recorder.events.isEmpty(); }));
    testsupport::waitUntil([] { return false; }, 100);
    EXPECT_EQ(recorder.events, QStringList{QStringLiteral("error")});
    EXPECT_EQ(recorder.error, TcpSocket::Error::Refused);
    EXPECT_EQ(socket.state(), TcpSocket::State::Closed);
}

TEST(TcpSocket, OwnCloseIsSilentEvenWhenThePeerAnswersLater)
{
    FakeHttpServer server;
    server.replyWith("late", 0);
    TcpSocket socket;
    Recorder recorder(socket);
    QObject::connect(&socket, &TcpSocket::connected, [&] {
        socket.send("GET / HTTP/1.0\r\n\r\n");
        socket.close();
    });
    ASSERT_TRUE(socket.connectToHost(QStringLiteral("127.0.0.1"), server.port()));
    testsupport::waitUntil([] { return false; }, 300);
    EXPECT_EQ(recorder.events, QStringList{QStringLiteral("connected")});
    EXPECT_EQ(socket.state(), TcpSocket::State::Closed);
}
