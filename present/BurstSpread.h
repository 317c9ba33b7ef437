#pragma once
// "まとめて流さない": the comments of one fetch enter one after another, evenly over the
// re-fetch interval and in response order, instead of together with the 3000 x k stagger. When
// the next fetch comes before the last batch has all entered, what is left enters at once (with
// the stagger), so the strip never falls further and further behind. Times in milliseconds.

#include <QList>
#include <QString>
#include <deque>
#include <optional>

namespace present {

struct SpreadComment
{
    QString text;
    quint32 colour = 0;
    qint32 index = 0;  // lblMsg index, handed out when the batch arrives
    int k = 1;         // position in its batch, from 1
};

struct SpreadRelease
{
    SpreadComment comment;
    bool stagger = false;  // true for what is left of a batch when the next one comes
};

class BurstSpread
{
public:
    // A new batch at time now: what is left of the previous one (to enter at once, staggered,
    // renumbered from 1), then the new comments due now (the first one).
    QList<SpreadRelease> addBatch(const QList<SpreadComment> &batch, qint64 now, qint64 intervalMs);
    // The comments whose time has come, in order.
    QList<SpreadRelease> takeDue(qint64 now);
    std::optional<qint64> nextDue() const;
    bool isEmpty() const { return m_waiting.empty(); }
    void clear() { m_waiting.clear(); }

private:
    struct Waiting
    {
        qint64 due = 0;
        SpreadComment comment;
    };
    std::deque<Waiting> m_waiting;
};

} // namespace present
