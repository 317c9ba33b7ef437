// One window per program folder: a second kestrelon hands its thread address to the running one
// and exits; --new-instance opts out; the socket a killed process leaves does not block the next.

#include "BoardSim.h"
#include "TestSupport.h"
#include "app/SingleInstance.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <signal.h>

namespace {

QString kestrelon()
{
    return qEnvironmentVariable("KESTRELON_EXECUTABLE");
}

TEST(SingleInstance, HandsTheAddressOverAndSurvivesAKilledOwner)
{
    if (kestrelon().isEmpty())
        GTEST_SKIP() << "KESTRELON_EXECUTABLE is set by ctest";
    testsupport::BoardSim sim;
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    const QByteArray index = testsupport::BoardSim::get(sim.boardUrl("livenhk") + "subject.txt");
    const QString number = QString::fromLatin1(index.left(index.indexOf(".dat")));
    const QString thread = sim.baseUrl() + QStringLiteral("test/read.cgi/livenhk/") + number + "/l50";
    QTemporaryDir home;
    ASSERT_TRUE(QFile::copy(sim.servicesPath(), home.filePath(QStringLiteral("services.ini"))));
    const QString socket = instanceSocketPath(home.path());
    auto exitCode = [](QProcess &p, int ms) {
        return p.waitForFinished(ms) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };

    QProcess owner;
    owner.start(kestrelon(), {QStringLiteral("--home"), home.path(), QStringLiteral("--menu"), sim.menuUrl(),
                              QStringLiteral("--quit-after"), QStringLiteral("60")});
    ASSERT_TRUE(testsupport::waitUntil([&] { return QFileInfo::exists(socket); }, 20000));

    QProcess second;
    second.start(kestrelon(), {QStringLiteral("--home"), home.path(), thread});
    EXPECT_EQ(exitCode(second, 20000), 0) << second.readAllStandardError().toStdString();
    // The owner opened the board and started the thread.
    EXPECT_TRUE(testsupport::waitUntil([&] { return sim.log().contains(QStringLiteral("/livenhk/dat/") + number); }, 20000));

    QProcess separate;
    separate.start(kestrelon(), {QStringLiteral("--home"), home.path(), QStringLiteral("--new-instance"),
                                 QStringLiteral("--quit-after"), QStringLiteral("0.5")});
    EXPECT_EQ(exitCode(separate, 30000), 0);
    EXPECT_EQ(owner.state(), QProcess::Running);

    ::kill(pid_t(owner.processId()), SIGKILL);
    owner.waitForFinished(10000);
    ASSERT_TRUE(QFileInfo::exists(socket)); // left behind
    QProcess next;
    next.start(kestrelon(), {QStringLiteral("--home"), home.path(), QStringLiteral("--quit-after"), QStringLiteral("3")});
    // It listens in the killed one's place.
    EXPECT_TRUE(testsupport::waitUntil([&] {
        QLocalSocket probe;
        probe.connectToServer(socket);
        return probe.waitForConnected(100);
    }, 20000));
    EXPECT_EQ(exitCode(next, 30000), 0) << next.readAllStandardError().toStdString();
}

} // namespace
