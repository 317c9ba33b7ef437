#include "app/gui/TraceProbe.h"

#include "app/gui/formMain.h"
#include "net/ThreadChannel.h"
#include "platform/ProcessUsage.h"
#include "present/gui/MarqueeSurface.h"

#include <QEvent>
#include "platform/gui/ModelListView.h"
#include <QPointer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// Milliseconds since this process started, from /proc (clock-tick resolution, about 10 ms).
double msSinceProcessStart()
{
    FILE *f = std::fopen("/proc/self/stat", "r");
    if (!f)
        return -1;
    char buffer[1024] = {};
    const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
    std::fclose(f);
    buffer[n] = 0;
    // Field 22 (starttime) counts from the last ')' (the command name may hold spaces).
    const char *p = std::strrchr(buffer, ')');
    if (!p)
        return -1;
    unsigned long long start = 0;
    int field = 2;
    for (const char *token = p + 1; *token && field < 22; ++token)
        if (*token == ' ' && ++field == 22)
            start = std::strtoull(token + 1, nullptr, 10);
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const double nowMs = double(boot.tv_sec) * 1000.0 + double(boot.tv_nsec) / 1e6;
    return nowMs - double(start) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

class TraceProbe : public QObject
{
public:
    explicit TraceProbe(formMain &window) : QObject(&window), m_window(&window)
    {
        window.installEventFilter(this);
        window.WebScroll->installEventFilter(this);
        connect(window.WebScroll, &MarqueeSurface::documentComplete, this, [this](const QString &address) {
            if (address.compare(QStringLiteral("about:blank"), Qt::CaseInsensitive) == 0)
                return;
            m_pagePending = true;
            m_surfacePainted = false;
        });
        ThreadChannel &channel = window.threadChannel();
        connect(&channel, &ThreadChannel::receiving, this, [this] { m_lastReceived = monotonicNs(); });
        connect(&channel, &ThreadChannel::fetchFinished, this, [this] {
            std::fprintf(stderr, "dat-received %lld\n", static_cast<long long>(m_lastReceived));
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window->WebScroll) {
            if (event->type() == QEvent::Paint && m_pagePending)
                m_surfacePainted = true;
            return false;
        }
        if (watched != m_window || event->type() != QEvent::UpdateRequest)
            return false;
        // The window's update paints every dirty widget into the backing store and flushes it:
        // run it here so the stamps fall after the picture reached the window system.
        QPointer<formMain> window(m_window);
        const bool startupDue = !m_startupReported && m_window->isVisible()
                                && m_window->List3->count() > 0;
        static_cast<QObject *>(m_window)->event(event);
        if (!window)
            return true;
        const qint64 now = monotonicNs();
        if (startupDue) {
            m_startupReported = true;
            const platform::ProcessUsage usage =
                platform::readProcessUsage().value_or(platform::ProcessUsage());
            std::fprintf(stderr, "startup-first-paint %.1f rss %lld mono %lld\n", msSinceProcessStart(),
                         static_cast<long long>(usage.rssKb), static_cast<long long>(now));
        }
        if (!m_viewerArmed && window->isVisible()) {
            m_viewerArmed = true;
            bool ok = false;
            const int delayMs = qEnvironmentVariableIntValue("KESTRELON_TRACE_OPEN_VIEWER_MS", &ok);
            if (ok && delayMs >= 0)
                QTimer::singleShot(delayMs, this, &TraceProbe::openThreadView);
        }
        if (m_pagePending && m_surfacePainted) {
            m_pagePending = false;
            std::fprintf(stderr, "page-shown %lld\n", static_cast<long long>(now));
        }
        return true;
    }

private:
    // The first browser window, as its menu opens it (shown, then its page built) (loading the browser windows' module).
    void openThreadView()
    {
        MainWindowHooks &h = m_window->hooks();
        if (h.threadView.show)
            h.threadView.show();
        if (h.threadView.setHtmlTextFirst)
            h.threadView.setHtmlTextFirst();
        const bool shown = h.threadView.isVisible && h.threadView.isVisible();
        std::fprintf(stderr, "viewer-shown %d rss %lld\n", shown ? 1 : 0, rssKb());
        QTimer::singleShot(3000, this, [] { std::fprintf(stderr, "viewer-settled rss %lld\n", rssKb()); });
    }
    static long long rssKb()
    {
        return static_cast<long long>(platform::readProcessUsage().value_or(platform::ProcessUsage()).rssKb);
    }

    formMain *m_window;
    bool m_startupReported = false;
    bool m_viewerArmed = false;
    bool m_pagePending = false;
    bool m_surfacePainted = false;
    qint64 m_lastReceived = 0;
};

} // namespace

void installTraceProbe(formMain &window)
{
    if (qEnvironmentVariableIntValue("KESTRELON_TRACE") != 1)
        return;
    bool ok = false;
    const int step = qEnvironmentVariableIntValue("KESTRELON_TRACE_REGET_MS", &ok);
    if (ok && step > 0)
        window.setRegetInterval(step);
    new TraceProbe(window);
}
