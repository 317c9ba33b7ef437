#include "app/NextThreadFollow.h"

#include <QElapsedTimer>
#include <QPointer>

NextThreadFollow::NextThreadFollow(Host host, QObject *parent)
    : QObject(parent)
    , m_host(std::move(host))
{
    m_clock = [timer = std::make_shared<QElapsedTimer>()] {
        if (!timer->isValid())
            timer->start();
        return timer->elapsed();
    };
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &NextThreadFollow::tick);
}

void NextThreadFollow::begin(const ThreadSummary &finished)
{
    m_wait.begin(finished, m_clock());
    // The first listing runs from the event loop, not inside the presenter and the re-fetch
    // tick that reached the end of the thread (which still tidy the countdown after it).
    const quint64 run = ++m_runs;
    QTimer::singleShot(0, this, [this, run] {
        if (run == m_runs && m_wait.state() == NextThreadWait::State::Listing)
            listNow();
    });
}

void NextThreadFollow::cancel()
{
    if (!m_wait.isWaiting())
        return;
    m_wait.cancel();
    finish();
}

void NextThreadFollow::listNow()
{
    QPointer<NextThreadFollow> self(this);
    const bool listed = m_host.relistBoard();
    if (!self || m_wait.state() != NextThreadWait::State::Listing)
        return;   // cancelled, or gone with its window, while the index was awaited
    if (!listed) {
        cancel();
        return;
    }
    const QList<ThreadSummary> threads = m_host.threads();
    switch (m_wait.listed(threads, m_clock())) {
    case NextThreadWait::State::Found:
        finish();
        m_host.follow(*m_wait.foundIndex());
        return;
    case NextThreadWait::State::GaveUp:
        finish();
        if (!threads.isEmpty())
            m_host.follow(0);
        return;
    default:
        break;
    }
    if (!m_timer.isActive()) {
        m_timer.start();
        m_host.setWaiting(true);
    }
    m_host.showCaption(m_wait.caption(m_clock()));
}

void NextThreadFollow::tick()
{
    const qint64 now = m_clock();
    if (m_wait.tick(now)) {
        listNow();
        return;
    }
    if (m_wait.isWaiting())
        m_host.showCaption(m_wait.caption(now));
}

void NextThreadFollow::finish()
{
    const bool wasWaiting = m_timer.isActive();
    m_timer.stop();
    if (wasWaiting) {
        m_host.showCaption(QString());
        m_host.setWaiting(false);
    }
}
