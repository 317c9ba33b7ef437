// livecfg.txt and favorite.txt survive a kill at any moment of a write: a child process (this
// test program, re-run on its writer case) rewrites both files in a loop and is killed with
// SIGKILL at random moments; each file is then always one whole version, never a mix or empty.

#include "app/Favorites.h"
#include "app/SettingsFile.h"
#include "core/TextStore.h"
#include "platform/ProgramFolder.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>
#include <csignal>

namespace {

const char *const kLoopDirVariable = "KESTRELON_WRITE_LOOP_DIR";

// Two versions of each file of very different sizes, so a torn write shows as a wrong length.
QString settingsVersion(int v)
{
    SettingsFileContent c;
    c.boardMenuUrl = v == 0 ? QStringLiteral("http://menu.example/bbsmenu.html")
                            : QStringLiteral("http://menu.example/") + QString(60000, QLatin1Char('m'));
    c.dialogs.viewModeIndex = v == 0 ? 1 : 2;
    return settingsText(c);
}

QString favoritesVersion(int v)
{
    QString text;
    const int lines = v == 0 ? 3 : 3000;
    for (int i = 0; i < lines; ++i)
        text += QStringLiteral("実況板%1--http://live.example/board%1/subback.html\r\n").arg(i);
    return text;
}

} // namespace

// The child's side: runs only when started by the test below (the variable names the folder).
TEST(KillMidWrite, DISABLED_WriterLoop)
{
    const QString dir = qEnvironmentVariable(kLoopDirVariable);
    if (dir.isEmpty())
        GTEST_SKIP() << "only as the child of WholeFilesAfterEveryKill";
    platform::setProgramFolder(dir);
    for (int i = 0;; i ^= 1) {
        ASSERT_TRUE(writeFileText(settingsVersion(i), settingsFilePath()));
        ASSERT_TRUE(writeFileText(favoritesVersion(i), favoritesFilePath()));
        QFile ready(dir + QStringLiteral("/ready"));
        if (!ready.exists() && ready.open(QIODevice::WriteOnly))
            ready.close();
    }
}

TEST(KillMidWrite, WholeFilesAfterEveryKill)
{
    testsupport::TempProgramFolder home;
    const QString settings = settingsFilePath();
    const QString favorites = favoritesFilePath();
    ASSERT_TRUE(writeFileText(settingsVersion(0), settings));
    ASSERT_TRUE(writeFileText(favoritesVersion(0), favorites));
    const QByteArray settingsBytes[2] = {testsupport::readBytes(settings),
                                         (writeFileText(settingsVersion(1), settings), testsupport::readBytes(settings))};
    const QByteArray favoritesBytes[2] = {testsupport::readBytes(favorites),
                                          (writeFileText(favoritesVersion(1), favorites), testsupport::readBytes(favorites))};
    ASSERT_NE(settingsBytes[0].size(), settingsBytes[1].size());

    QRandomGenerator random(12345);
    int torn = 0;
    int seen[2] = {0, 0};
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(round);
        QFile::remove(home.file(QStringLiteral("ready")));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kLoopDirVariable), home.path());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.setStandardOutputFile(QProcess::nullDevice());
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=KillMidWrite.DISABLED_WriterLoop"),
                     QStringLiteral("--gtest_also_run_disabled_tests")});
        ASSERT_TRUE(child.waitForStarted(10000));
        ASSERT_TRUE(testsupport::waitUntil([&] { return QFile::exists(home.file(QStringLiteral("ready"))); }, 20000))
            << "the writer never got going";
        QThread::usleep(random.bounded(200, 40000)); // somewhere inside some write
        ::kill(pid_t(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "killed, not finished";

        const QByteArray nowSettings = testsupport::readBytes(settings);
        const QByteArray nowFavorites = testsupport::readBytes(favorites);
        const bool settingsWhole = nowSettings == settingsBytes[0] || nowSettings == settingsBytes[1];
        const bool favoritesWhole = nowFavorites == favoritesBytes[0] || nowFavorites == favoritesBytes[1];
        EXPECT_TRUE(settingsWhole) << "livecfg.txt of " << nowSettings.size() << " bytes";
        EXPECT_TRUE(favoritesWhole) << "favorite.txt of " << nowFavorites.size() << " bytes";
        torn += settingsWhole && favoritesWhole ? 0 : 1;
        ++seen[nowSettings == settingsBytes[1] ? 1 : 0];
    }
    EXPECT_EQ(torn, 0);
    // The kills fell at different points of the loop, not always between the same two writes.
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);

    // Whatever the kills left beside them, the files still read and write normally.
    EXPECT_EQ(readBoardMenuUrl(settings).left(19), QStringLiteral("http://menu.example"));
    EXPECT_TRUE(writeFileText(settingsVersion(0), settings));
    EXPECT_EQ(testsupport::readBytes(settings), settingsBytes[0]);
}
