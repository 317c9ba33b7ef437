#pragma once
// The wait for the next part of a finished thread: the board is listed at once, then every 5 s
// for up to 3 minutes, until a thread of the list qualifies (pickNextThread). The caller lists
// the board, reports each listing and shows caption() where the countdown is; the clock is the
// caller's (milliseconds), so the wait runs in tests without waiting.

#include "net/ThreadSummary.h"

#include <QList>
#include <QString>
#include <optional>

class NextThreadWait
{
public:
    enum class State {
        Idle,      // never begun
        Listing,   // a listing is due or under way: the caller lists the board, then listed()
        Waiting,   // nothing qualified yet; tick() says when to list again
        Found,     // foundIndex() in the last listing is the next part
        GaveUp,    // nothing qualified in time: the caller follows as without the search
        Cancelled,
    };
    static constexpr qint64 kListEveryMs = 5000;
    static constexpr qint64 kWaitForMs = 180000;

    // Starts looking for the part after finished; the state becomes Listing.
    void begin(const ThreadSummary &finished, qint64 nowMs);

    // The board as just listed (empty when it could not be listed). Ends in Found, in GaveUp
    // when the listing began at or after the end of the wait, otherwise in Waiting. Ignored in
    // any state but Listing (a Stop may have come while the listing waited).
    State listed(const QList<ThreadSummary> &threads, qint64 nowMs);

    // The clock, about once a second: true when the board is to be listed now (state Listing).
    bool tick(qint64 nowMs);

    void cancel();

    State state() const { return m_state; }
    bool isWaiting() const { return m_state == State::Listing || m_state == State::Waiting; }
    std::optional<qsizetype> foundIndex() const { return m_found; }

    // "次スレ待ち：" and the whole seconds left, rounded up.
    QString caption(qint64 nowMs) const;

private:
    ThreadSummary m_finished;
    State m_state = State::Idle;
    qint64 m_deadlineMs = 0;
    qint64 m_listStartedMs = 0;
    qint64 m_nextListMs = 0;
    std::optional<qsizetype> m_found;
};
