#pragma once
// The follow at 1000 by title: lists the board again at once and follows the finished thread's
// next part; while there is none, waits (NextThreadWait) with a one-second timer, listing every
// 5 s for up to 3 minutes and showing "次スレ待ち：<seconds>" where the countdown is; then, with
// nothing found, follows the top thread of the last listing as the plain follow does.
//
// The host's relistBoard waits for the index with window events running: a Stop, a Start or the
// closing of the window may run inside it. cancel() from any of them ends the wait, and what
// that listing brings is then dropped.

#include "app/NextThreadWait.h"

#include <QObject>
#include <QTimer>
#include <functional>

class NextThreadFollow : public QObject
{
    Q_OBJECT
public:
    struct Host
    {
        // Re-opens the board the finished thread was listed from; returns once it is listed.
        // False when there is no board to re-open (the thread was not chosen from a board
        // list): the follow then ends at once, doing nothing, as the plain follow does.
        std::function<bool()> relistBoard;
        // The board's threads as now listed, in list order.
        std::function<QList<ThreadSummary>()> threads;
        // Makes the thread at this row of the list current and starts it.
        std::function<void(qsizetype row)> follow;
        // The caption where the countdown is; empty when the wait ends.
        std::function<void(const QString &caption)> showCaption;
        // True while waiting: the Start button then reads "停止" and stops the wait.
        std::function<void(bool waiting)> setWaiting;
    };

    explicit NextThreadFollow(Host host, QObject *parent = nullptr);

    // Milliseconds of the wait's clock; the default is the monotonic clock.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // Starts the search; the first listing follows from the event loop.
    void begin(const ThreadSummary &finished);
    void cancel();
    bool isWaiting() const { return m_wait.isWaiting(); }
    const NextThreadWait &wait() const { return m_wait; }

    // The one-second timer's tick (tests call it with their own clock).
    void tick();

private:
    void listNow();
    void finish();

    Host m_host;
    NextThreadWait m_wait;
    QTimer m_timer;
    std::function<qint64()> m_clock;
    quint64 m_runs = 0;   // begins so far: a first listing of an earlier one is dropped
};
