// kharness: measurements that need a real window, a real clock or a live server, run one case
// per process and printed as one JSON object on stdout. bench/run drives it (under xvfb-run)
// and builds the table.
//
//   kharness strip --view labels|labels-shadow|marquee --comments N [--seconds S] [--page-out F]
//                  [--xserver-pid PID]
//   kharness idle [--seconds S] [--xserver-pid PID]
//   kharness fetch [--home DIR] --host 127.0.0.1:PORT --board BOARD [--cycles N]
//   kharness bytes --host 127.0.0.1:PORT --board BOARD [--cycles N] [--interval-ms MS]
//   kharness startup --home DIR --menu URL --t0-ns NS
//
// Frames are the paint events the surface actually ran (timestamped as each one ends); CPU is
// getrusage of the whole process (every thread) over the measured span, and the X server's
// /proc CPU time over the same span when its pid is given; memory is VmRSS and PSS at the end.

#include "HarnessCases.h"
#include "HarnessWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

int main(int argc, char **argv)
{
    // As the program does, no shared GL context at start-up (the browser windows' module makes
    // it when it loads). KHARNESS_SHARED_GL=1 asks Qt for it here, as the program once did, to
    // see what it costs.
    if (qEnvironmentVariableIntValue("KHARNESS_SHARED_GL") == 1)
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("mode"), QStringLiteral("strip, idle, fetch, bytes or startup"));
    parser.addOption({QStringLiteral("view"), QStringLiteral("labels, labels-shadow or marquee"), QStringLiteral("view")});
    parser.addOption({QStringLiteral("comments"), QStringLiteral("simultaneous comments"), QStringLiteral("n"), QStringLiteral("200")});
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("measured seconds"), QStringLiteral("s"), QStringLiteral("20")});
    parser.addOption({QStringLiteral("page-out"), QStringLiteral("copy of the marquee page"), QStringLiteral("file")});
    parser.addOption({QStringLiteral("host"), QStringLiteral("board server host:port"), QStringLiteral("host")});
    parser.addOption({QStringLiteral("board"), QStringLiteral("board key"), QStringLiteral("board"), QStringLiteral("livenhk")});
    parser.addOption({QStringLiteral("cycles"), QStringLiteral("fetch cycles"), QStringLiteral("n"), QStringLiteral("50")});
    parser.addOption({QStringLiteral("interval-ms"), QStringLiteral("time between fetches"), QStringLiteral("ms"), QStringLiteral("1200")});
    parser.addOption({QStringLiteral("home"), QStringLiteral("program folder"), QStringLiteral("dir")});
    parser.addOption({QStringLiteral("menu"), QStringLiteral("board menu address"), QStringLiteral("url")});
    parser.addOption({QStringLiteral("t0-ns"), QStringLiteral("CLOCK_MONOTONIC at spawn"), QStringLiteral("ns"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("xserver-pid"), QStringLiteral("X server to measure as well"), QStringLiteral("pid"), QStringLiteral("0")});
    parser.process(app);
    harness::setXServerPid(pid_t(parser.value(QStringLiteral("xserver-pid")).toInt()));

    const QString mode = parser.positionalArguments().value(0);
    const double seconds = parser.value(QStringLiteral("seconds")).toDouble();
    QJsonObject result;
    if (mode == QLatin1String("strip")) {
        result = harness::runStripCase(parser.value(QStringLiteral("view")),
                                       parser.value(QStringLiteral("comments")).toInt(), seconds,
                                       parser.value(QStringLiteral("page-out")));
    } else if (mode == QLatin1String("idle")) {
        result = harness::runIdleCase(seconds);
    } else if (mode == QLatin1String("fetch")) {
        result = harness::runFetchCase(parser.value(QStringLiteral("home")), parser.value(QStringLiteral("host")), parser.value(QStringLiteral("board")),
                                       parser.value(QStringLiteral("cycles")).toInt());
    } else if (mode == QLatin1String("bytes")) {
        result = harness::runBytesCase(parser.value(QStringLiteral("host")), parser.value(QStringLiteral("board")),
                                       parser.value(QStringLiteral("cycles")).toInt(),
                                       parser.value(QStringLiteral("interval-ms")).toInt());
    } else if (mode == QLatin1String("startup")) {
        result = harness::runStartupCase(parser.value(QStringLiteral("home")), parser.value(QStringLiteral("menu")),
                                         parser.value(QStringLiteral("t0-ns")).toLongLong());
    } else {
        std::fprintf(stderr, "kharness: unknown mode '%s'\n", qPrintable(mode));
        return 2;
    }
    std::fputs(QJsonDocument(result).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputc('\n', stdout);
    return result.contains(QStringLiteral("error")) ? 1 : 0;
}
