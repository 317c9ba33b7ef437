// boardsim's reply-shape faults (undecodable bytes, an empty reply, headers only) and the fault
// rules switched while the server runs.

#include "BoardSim.h"

#include "platform/Cp932.h"

#include <gtest/gtest.h>

using testsupport::BoardSim;

namespace {

int statusOf(const QByteArray &reply)
{
    return reply.startsWith("HTTP/1.1 ") ? reply.mid(9, 3).toInt() : 0;
}

QByteArray bodyOf(const QByteArray &reply)
{
    return reply.mid(reply.indexOf("\r\n\r\n") + 4);
}

QByteArray fetch(const BoardSim &sim, const QString &path, bool *closed = nullptr, int timeoutMs = 5000)
{
    return BoardSim::exchange(sim.host(), BoardSim::viewerRequest(path, sim.host()), timeoutMs, closed);
}

BoardSim::Options quiet(const QStringList &faults = {})
{
    BoardSim::Options options;
    options.rate = 0;
    options.faults = faults;
    return options;
}

} // namespace

TEST(BoardSimRuntimeFaults, ReplyShapeFaults)
{
    BoardSim sim(quiet({QStringLiteral("badcp932:/news/subject.txt"), QStringLiteral("empty:/tvd/"),
                        QStringLiteral("headers:/anime/")}));
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());

    // Undecodable bytes in an otherwise whole reply whose length still adds up.
    const QByteArray spoiled = fetch(sim, QStringLiteral("/news/subject.txt"));
    ASSERT_EQ(statusOf(spoiled), 200);
    const QByteArray body = bodyOf(spoiled);
    EXPECT_TRUE(spoiled.contains("\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n"));
    EXPECT_TRUE(body.left(body.indexOf('\n')).contains(".dat<>\xFF\x81 ")) << "inside the title, after the field mark";
    EXPECT_TRUE(platform::decodeCp932(body).contains(QChar(0xFFFD)));
    EXPECT_TRUE(body.contains(".dat<>"));

    bool closed = false;
    EXPECT_TRUE(fetch(sim, QStringLiteral("/tvd/subject.txt"), &closed).isEmpty());
    EXPECT_TRUE(closed) << "closed at once, not held";

    const QByteArray headers = fetch(sim, QStringLiteral("/anime/subject.txt"));
    EXPECT_EQ(statusOf(headers), 200);
    EXPECT_TRUE(headers.contains("\r\nContent-Length: 0\r\n"));
    EXPECT_TRUE(headers.endsWith("\r\n\r\n"));
}

TEST(BoardSimRuntimeFaults, RulesSwitchedWhileRunning)
{
    BoardSim sim(quiet({QStringLiteral("refuse:/bbsmenu.html")}));
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    EXPECT_TRUE(fetch(sim, QStringLiteral("/bbsmenu.html")).isEmpty());

    ASSERT_TRUE(sim.setFaults({}));
    EXPECT_EQ(statusOf(fetch(sim, QStringLiteral("/bbsmenu.html"))), 200);

    ASSERT_TRUE(sim.setFaults({QStringLiteral("status=302:/dat/"), QStringLiteral("stall")}));
    EXPECT_EQ(statusOf(fetch(sim, QStringLiteral("/news/dat/1.dat"))), 302) << "first matching rule wins";
    bool closed = true;
    EXPECT_TRUE(fetch(sim, QStringLiteral("/bbsmenu.html"), &closed, 600).isEmpty());
    EXPECT_FALSE(closed);

    ASSERT_TRUE(sim.setFaults({QStringLiteral("empty")})); // rules set at run time never block the control
    EXPECT_TRUE(fetch(sim, QStringLiteral("/bbsmenu.html")).isEmpty());
    EXPECT_FALSE(sim.setFaults({QStringLiteral("sulk:/dat/")})) << "an unknown mode is refused";
    EXPECT_TRUE(fetch(sim, QStringLiteral("/bbsmenu.html")).isEmpty()) << "and the rules stay";

    ASSERT_TRUE(sim.setFaults({}));
    EXPECT_EQ(statusOf(fetch(sim, QStringLiteral("/bbsmenu.html"))), 200);
    EXPECT_TRUE(sim.log().contains(QStringLiteral("200 control")));
}
