#include "app/NextThreadWait.h"

#include "net/NextThreadSearch.h"

void NextThreadWait::begin(const ThreadSummary &finished, qint64 nowMs)
{
    m_finished = finished;
    m_state = State::Listing;
    m_deadlineMs = nowMs + kWaitForMs;
    m_listStartedMs = nowMs;
    m_found.reset();
}

NextThreadWait::State NextThreadWait::listed(const QList<ThreadSummary> &threads, qint64 nowMs)
{
    if (m_state != State::Listing)
        return m_state;
    m_found = pickNextThread(m_finished, threads);
    if (m_found) {
        m_state = State::Found;
    } else if (m_listStartedMs >= m_deadlineMs) {
        m_state = State::GaveUp;
    } else {
        m_state = State::Waiting;
        // Every 5 s from the start of the last listing, and once more at the very end.
        m_nextListMs = qMin(m_listStartedMs + kListEveryMs, m_deadlineMs);
        if (m_nextListMs < nowMs)
            m_nextListMs = nowMs;
    }
    return m_state;
}

bool NextThreadWait::tick(qint64 nowMs)
{
    if (m_state != State::Waiting || nowMs < m_nextListMs)
        return false;
    m_state = State::Listing;
    m_listStartedMs = nowMs;
    return true;
}

void NextThreadWait::cancel()
{
    if (isWaiting())
        m_state = State::Cancelled;
}

QString NextThreadWait::caption(qint64 nowMs) const
{
    const qint64 leftMs = qMax<qint64>(0, m_deadlineMs - nowMs);
    return QStringLiteral("次スレ待ち：") + QString::number((leftMs + 999) / 1000);
}
