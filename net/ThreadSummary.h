#pragma once
// One thread of a board's list read back from its two list texts (the visible entry
// "<n>: title (count)" and the thread page address ".../<key>/l50"), and its momentum.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct ThreadSummary
{
    qint64 key = 0;        // thread number: the creation time in epoch seconds; 0 when unreadable
    QString title;         // the title without its trailing response count
    int count = -1;        // responses, -1 when the entry carries no count
    QString address;       // the thread page address (List6 entry)
};

// Reads one list entry and its address. The count is the number in the last "(...)" at the end
// of the entry; a title like "スレ (2) (345)" keeps its "(2)".
ThreadSummary summariseThread(const QString &entry, const QString &address);
QList<ThreadSummary> summariseThreads(const QStringList &entries, const QStringList &addresses);

// Responses per hour since the thread's key, at nowSeconds (epoch seconds): count divided by the
// hours since the key, a thread younger than one second counting as one second old. Nothing for
// a thread without a count or key, or with a key more than a day ahead of now (the service's
// special threads carry keys far in the future).
std::optional<double> momentumPerHour(const ThreadSummary &thread, qint64 nowSeconds);

// The momentum as shown: "1234" from 100 up, "12.5" from 1, "0.25" below; empty for none.
QString momentumText(std::optional<double> momentum);
// Tool tip of a thread list entry: "勢い：12.5/時", empty when the momentum is unknown.
QString momentumToolTip(std::optional<double> momentum);
