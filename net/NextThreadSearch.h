#pragma once
// Finding the next part of a finished thread on its board by title: the series number taken out
// of both titles ("Part7", "★3", "その12", "2枚目", a trailing "15"), the rest compared, and
// the part that follows the finished one's number preferred.

#include "net/ThreadSummary.h"

#include <QList>
#include <QString>
#include <optional>

// A title with its series number taken out: the stem is width-folded (NFKC), lower-cased and
// without white space, so "ＰＡＲＴ２" and "part 2" meet.
struct SeriesTitle
{
    QString stem;
    std::optional<int> number;   // the series number; none when the title has none
};

SeriesTitle seriesTitle(const QString &title);

// How alike two stems are, 0 to 1: the Dice coefficient of their character pairs (1 for equal
// stems; stems shorter than two characters count as alike only when equal).
double titleSimilarity(const QString &stemA, const QString &stemB);

// Least similarity for a thread to count as the next part. Titles of different programmes on a
// live board share their board tag ("【実況】") and little else; they score about 0.4.
constexpr double kNextThreadThreshold = 0.6;

// The next part of finished among threads: fewer than 1000 responses, a key later than the
// finished one's, a stem at least kNextThreadThreshold alike. Among those the best score wins:
// the similarity, raised for the number after the finished one's (a title without a number is
// part 1) and lowered for a number at or below it; equal scores go to the thread made first.
// Nothing when no thread qualifies.
std::optional<qsizetype> pickNextThread(const ThreadSummary &finished, const QList<ThreadSummary> &threads);
