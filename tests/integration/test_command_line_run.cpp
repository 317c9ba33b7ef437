// The program itself, started as a user would paste a thread link: it opens the thread of the
// local board server, starts it, opens the thread view, saves a picture and closes in the
// orderly way.

#include "BoardSim.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString kestrelonExecutable()
{
    const QString fromEnv = qEnvironmentVariable("KESTRELON_EXECUTABLE");
    if (!fromEnv.isEmpty())
        return fromEnv;
    // Beside the tools/ folder of the build that holds the simulator.
    const QFileInfo sim(testsupport::BoardSim::executable());
    return sim.dir().absoluteFilePath(QStringLiteral("../kestrelon"));
}

TEST(CommandLineRun, ThreadAddressOpensStartsAndLeavesSettingsAndAPicture)
{
    testsupport::BoardSim::Options options;
    options.rate = 5;
    testsupport::BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    const QByteArray index = testsupport::BoardSim::get(sim.boardUrl("livenhk") + "subject.txt");
    const QString number = QString::fromLatin1(index.left(index.indexOf(".dat")));
    ASSERT_FALSE(number.isEmpty());

    QTemporaryDir home;
    ASSERT_TRUE(QFile::copy(sim.servicesPath(), home.filePath(QStringLiteral("services.ini"))));
    const QString shot = home.filePath(QStringLiteral("shot.png"));
    const QString thread = sim.baseUrl() + QStringLiteral("test/read.cgi/livenhk/") + number + "/l50";

    QProcess kestrelon;
    kestrelon.setProcessChannelMode(QProcess::MergedChannels);
    // Two seconds in, the thread view opens from the browser windows' module beside the program.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KESTRELON_TRACE"), QStringLiteral("1"));
    env.insert(QStringLiteral("KESTRELON_TRACE_OPEN_VIEWER_MS"), QStringLiteral("2000"));
    kestrelon.setProcessEnvironment(env);
    kestrelon.start(kestrelonExecutable(),
                    {QStringLiteral("--home"), home.path(), QStringLiteral("--menu"), sim.menuUrl(),
                     QStringLiteral("--quit-after"), QStringLiteral("5"), QStringLiteral("--screenshot"),
                     shot, thread});
    ASSERT_TRUE(kestrelon.waitForStarted(10000)) << kestrelonExecutable().toStdString();
    ASSERT_TRUE(kestrelon.waitForFinished(60000));
    EXPECT_EQ(kestrelon.exitStatus(), QProcess::NormalExit);
    const QString output = QString::fromUtf8(kestrelon.readAll());
    EXPECT_EQ(kestrelon.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("viewer-shown 1"))) << output.toStdString();

    // The thread was fetched as a dat (Start ran).
    EXPECT_TRUE(sim.log().contains(QStringLiteral("/livenhk/dat/") + number + QStringLiteral(".dat")));
    const QImage picture(shot);
    EXPECT_FALSE(picture.isNull());
    EXPECT_GT(picture.width(), 300);

    const QByteArray settings = testsupport::readBytes(home.filePath(QStringLiteral("livecfg.txt")));
    EXPECT_EQ(settings.count("\r\n"), 17);
    EXPECT_TRUE(settings.startsWith(sim.menuUrl().toLatin1() + "\r\n"));
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("tempHtml2.html"))));
}

TEST(CommandLineRun, HelpVersionAndBadArguments)
{
    QProcess p;
    p.start(kestrelonExecutable(), {QStringLiteral("--version")});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^kestrelon \\d+\\.\\d+")).match(QString::fromUtf8(p.readAllStandardOutput())).hasMatch());

    p.start(kestrelonExecutable(), {QStringLiteral("http://example.invalid/not-a-thread")});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_FALSE(p.readAllStandardError().isEmpty());
}

} // namespace
