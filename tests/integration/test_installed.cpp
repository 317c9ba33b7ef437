// The programs as installed: `cmake --install` of this build into a temporary prefix, then run
// from there as a user would, away from the source and build trees.

#include "BoardSim.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Finished
{
    int exitCode = -1;
    QString output;
};

Finished run(const QString &program, const QStringList &arguments, const QProcessEnvironment &env,
        const QString &folder = QString(), int timeoutMs = 60000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(program, arguments);
    Finished r;
    if (p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit)
        r.exitCode = p.exitCode();
    r.output = QString::fromUtf8(p.readAll());
    return r;
}

TEST(Installed, InstallsIntoAPrefixAndRunsFromThere)
{
    const QString build = qEnvironmentVariable("KESTRELON_BUILD_DIR");
    const QString cmake = qEnvironmentVariable("KESTRELON_CMAKE");
    if (build.isEmpty() || cmake.isEmpty())
        GTEST_SKIP() << "KESTRELON_BUILD_DIR and KESTRELON_CMAKE are set by ctest";
    QTemporaryDir prefix;
    QTemporaryDir user;
    const QProcessEnvironment plain = QProcessEnvironment::systemEnvironment();
    const Finished install = run(cmake, {QStringLiteral("--install"), build, QStringLiteral("--prefix"), prefix.path()}, plain);
    ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();

    const QDir root(prefix.path());
    for (const char *file : {"bin/kestrelon", "bin/kestrelon-boardsim",
                             "share/icons/hicolor/scalable/apps/kestrelon.svg",
                             "share/icons/hicolor/48x48/apps/kestrelon.png",
                             "share/man/man1/kestrelon.1.gz", "share/man/man1/kestrelon-boardsim.1.gz"})
        EXPECT_TRUE(QFileInfo::exists(root.filePath(QLatin1String(file)))) << file;
    const QStringList entries = QDir(root.filePath(QStringLiteral("share/applications"))).entryList({QStringLiteral("*.desktop")});
    const QStringList metainfo = QDir(root.filePath(QStringLiteral("share/metainfo"))).entryList({QStringLiteral("*.metainfo.xml")});
    ASSERT_EQ(entries.size(), 1);
    ASSERT_EQ(metainfo.size(), 1);
    const QString desktopValidator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!desktopValidator.isEmpty()) {
        const Finished check = run(desktopValidator, {root.filePath(QStringLiteral("share/applications/") + entries.first())}, plain);
        EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
        EXPECT_TRUE(check.output.trimmed().isEmpty()) << check.output.toStdString();
    }
    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (!appstream.isEmpty()) {
        const Finished check = run(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                          root.filePath(QStringLiteral("share/metainfo/") + metainfo.first())}, plain);
        EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
    }

    // --version needs no display.
    QProcessEnvironment headless = plain;
    headless.remove(QStringLiteral("DISPLAY"));
    headless.remove(QStringLiteral("WAYLAND_DISPLAY"));
    headless.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const Finished version = run(root.filePath(QStringLiteral("bin/kestrelon")), {QStringLiteral("--version")}, headless);
    EXPECT_EQ(version.exitCode, 0) << version.output.toStdString();
    EXPECT_TRUE(version.output.startsWith(QStringLiteral("kestrelon "))) << version.output.toStdString();

    // A short run against the installed board server, with no program folder given: the
    // settings land in $XDG_DATA_HOME/kestrelon, not beside the (writable) installed program.
    testsupport::BoardSim::Options options;
    options.program = root.filePath(QStringLiteral("bin/kestrelon-boardsim"));
    testsupport::BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    QProcessEnvironment env = plain;
    env.remove(QStringLiteral("KESTRELON_HOME"));
    env.insert(QStringLiteral("HOME"), user.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), user.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), user.path());
    // The first browser window loads the installed module.
    env.insert(QStringLiteral("KESTRELON_TRACE"), QStringLiteral("1"));
    env.insert(QStringLiteral("KESTRELON_TRACE_OPEN_VIEWER_MS"), QStringLiteral("0"));
    const Finished shown = run(root.filePath(QStringLiteral("bin/kestrelon")),
                          {QStringLiteral("--menu"), sim.menuUrl(), QStringLiteral("--quit-after"), QStringLiteral("3")},
                          env, user.path());
    EXPECT_EQ(shown.exitCode, 0) << shown.output.toStdString();
    EXPECT_TRUE(shown.output.contains(QStringLiteral("viewer-shown 1"))) << shown.output.toStdString();
    EXPECT_TRUE(sim.log().contains(QStringLiteral("bbsmenu.html"))) << sim.log().toStdString();
    const QByteArray settings = testsupport::readBytes(user.filePath(QStringLiteral("data/kestrelon/livecfg.txt")));
    EXPECT_TRUE(settings.startsWith(sim.menuUrl().toLatin1() + "\r\n")) << settings.left(200).toStdString();
    EXPECT_FALSE(QFileInfo::exists(root.filePath(QStringLiteral("bin/livecfg.txt"))));
}

} // namespace
