#include "HarnessCases.h"

#include "core/ServicesConfig.h"
#include "net/ThreadChannel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRegularExpression>

namespace harness {

namespace {

// The program's re-fetch interval; an hour holds 300 of them.
constexpr double kRegetSeconds = 12;

// Bytes a channel's thread socket receives, every attempt counted (a stale range is followed by
// the whole dat within one fetch).
struct ByteCount
{
    qint64 total = 0;
    qint64 attempt = 0;

    void watch(ThreadChannel &channel)
    {
        QObject::connect(&channel, &ThreadChannel::socketConnected, [this](ThreadChannel::Socket s) {
            if (s == ThreadChannel::Socket::Thread)
                attempt = 0;
        });
        QObject::connect(&channel, &ThreadChannel::receiving, [this](ThreadChannel::Socket s, qint64 bytes) {
            if (s != ThreadChannel::Socket::Thread)
                return;
            total += bytes - attempt;
            attempt = bytes;
        });
    }
};

// The top thread of the board's index, as the follow at 1000 takes it.
QString topThread(ThreadChannel &channel, const QString &host, const QString &board)
{
    if (!channel.openBoardAndWait(QStringLiteral("http://%1/%2/").arg(host, board)).ok())
        return QString();
    static const QRegularExpression line(QStringLiteral("^(\\d+)\\.dat<>"), QRegularExpression::MultilineOption);
    return line.match(channel.Text1().section(QStringLiteral("\r\n\r\n"), 1)).captured(1);
}

// Waits until clock reads untilMs.
void waitUntil(const QElapsedTimer &clock, qint64 untilMs)
{
    while (clock.elapsed() < untilMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, int(untilMs - clock.elapsed()));
}

} // namespace

// Two channels follow the same live thread, one fetching differentially and one whole, a fetch
// each every intervalMs (the server posting faster by the same factor stands in for twelve
// seconds); each follows to the board's top thread once its thread has reached 1001.
QJsonObject runBytesCase(const QString &host, const QString &board, int cycles, int intervalMs)
{
    ServicesConfig config = services();
    ThreadChannel differential, whole;
    ByteCount differentialBytes, wholeBytes;
    differentialBytes.watch(differential);
    wholeBytes.watch(whole);
    QString thread = topThread(differential, host, board);
    if (thread.isEmpty())
        return {{QStringLiteral("error"), QStringLiteral("no thread in the index")}};

    // Fetches start at a fixed cadence, whatever the fetches take, so each meets as many new
    // responses as the program's twelve-second cycle would; late cycles are counted.
    int nothingNew = 0, threads = 1, late = 0;
    QElapsedTimer clock;
    clock.start();
    for (int cycle = 0; cycle < cycles; ++cycle) {
        late += clock.elapsed() > qint64(cycle + 1) * intervalMs ? 1 : 0;
        waitUntil(clock, qint64(cycle + 1) * intervalMs);
        // The setting is read as each fetch starts: one channel with it on, the other off.
        for (ThreadChannel *channel : {&differential, &whole}) {
            config.differential = channel == &differential;
            setServices(config);
            const FetchResult r = channel->fetchThreadAndWait(host, board, thread);
            if (!r.ok())
                return {{QStringLiteral("error"), QStringLiteral("dat: ") + r.reason()}};
            nothingNew += r.nothingNew ? 1 : 0;
        }
        if (differential.record().upperBound() >= 1001) {
            thread = topThread(whole, host, board);
            ++threads;
            differential.resetRecordAfterStop();
            whole.resetRecordAfterStop();
        }
    }
    const double hours = cycles * kRegetSeconds / 3600.0;
    return {
        {QStringLiteral("cycles"), cycles},
        {QStringLiteral("threads"), threads},
        {QStringLiteral("nothing_new"), nothingNew},
        {QStringLiteral("late_cycles"), late},
        {QStringLiteral("differential_bytes_per_hour"), double(differentialBytes.total) / hours},
        {QStringLiteral("whole_bytes_per_hour"), double(wholeBytes.total) / hours},
    };
}

} // namespace harness
