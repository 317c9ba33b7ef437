// boardsim: the bulletin-board service on loopback, for the demo and the tests.

#include "PastLogs.h"
#include "SimOptions.h"
#include "SimServer.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &byte, 1);
}

void printLine(const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString error;
    const auto options = parseSimOptions(app.arguments(), &error);
    if (!options) {
        std::fprintf(stderr, "boardsim: %s\n%s", qPrintable(error), qPrintable(simUsage()));
        return 2;
    }
    if (options->help) {
        std::fputs(simUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!options->writeLogsDir.isEmpty()) {
        const QStringList written =
            writePastLogs(options->writeLogsDir, options->port ? options->port : 8080, options->seed, &error);
        if (written.isEmpty()) {
            std::fprintf(stderr, "boardsim: %s\n", qPrintable(error));
            return 1;
        }
        for (const QString &path : written)
            printLine(path);
        return 0;
    }

    // SIGINT/SIGTERM reach the event loop through a pipe, so the stop runs as an ordinary event.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        std::perror("boardsim: socketpair");
        return 1;
    }
    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [] {
        char byte;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    SimServer server(*options);
    if (!server.listen(&error)) {
        std::fprintf(stderr, "boardsim: %s\n", qPrintable(error));
        return 1;
    }
    if (!options->writeServicesPath.isEmpty() && !server.servicesConfig().save(options->writeServicesPath)) {
        std::fprintf(stderr, "boardsim: cannot write %s\n", qPrintable(options->writeServicesPath));
        return 1;
    }
    printLine(server.world().hosts().menuUrl());
    if (server.tlsPort())
        printLine(server.tlsMenuUrl());
    server.setLog(printLine);

    const int status = app.exec();
    server.close();
    std::fprintf(stderr, "boardsim: stopped\n");
    return status;
}
