#include "HarnessWindow.h"

#include "platform/FrameStats.h"
#include "platform/ProcessUsage.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include <time.h>

namespace harness {

namespace {
pid_t xServerPid = 0;

double xServerCpuSeconds()
{
    if (xServerPid <= 0)
        return 0;
    const auto usage = platform::readProcessUsage(xServerPid);
    return usage ? usage->cpuSeconds : 0;
}
} // namespace

void setXServerPid(pid_t pid)
{
    xServerPid = pid;
}

qint64 monotonicNs()
{
    timespec ts = {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

HarnessWindow::HarnessWindow()
{
    setWindowFlag(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(1920, 1080);
    move(0, 0);
}

void HarnessWindow::showAndWait()
{
    show();
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 5000)
        runEvents(10);
}

void runEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

QJsonObject measureSpan(std::vector<qint64> &frames, bool &recording, double seconds,
                        const std::function<void()> &beforeSpan)
{
    runEvents(1000);
    if (beforeSpan)
        beforeSpan();
    frames.clear();
    recording = true;
    const double cpu0 = platform::selfCpuSeconds();
    const double x0 = xServerCpuSeconds();
    const qint64 t0 = monotonicNs();
    runEvents(int(seconds * 1000));
    const qint64 t1 = monotonicNs();
    const double cpu1 = platform::selfCpuSeconds();
    const double x1 = xServerCpuSeconds();
    recording = false;

    const platform::FrameSummary f = platform::summariseFrames(frames, t1 - t0);
    const platform::ProcessUsage usage = platform::readProcessUsage().value_or(platform::ProcessUsage());
    const double wall = double(t1 - t0) / 1e9;
    QJsonObject out = {
        {QStringLiteral("seconds"), wall},
        {QStringLiteral("frames"), f.frames},
        {QStringLiteral("fps"), f.fps},
        {QStringLiteral("interval_median_ms"), f.medianMs},
        {QStringLiteral("interval_p99_ms"), f.p99Ms},
        {QStringLiteral("interval_worst_ms"), f.worstMs},
        {QStringLiteral("cpu_s_per_s"), (cpu1 - cpu0) / wall},
        {QStringLiteral("rss_mb"), double(usage.rssKb) / 1024.0},
        {QStringLiteral("pss_mb"), double(usage.pssKb) / 1024.0},
    };
    if (xServerPid > 0)
        out[QStringLiteral("xserver_cpu_s_per_s")] = (x1 - x0) / wall;
    return out;
}

} // namespace harness
