// The next part of a finished thread by title, on the board server's series and on hand-made
// lists; momentum against hand-computed values.

#include "net/NextThreadSearch.h"
#include "net/ThreadSummary.h"

#include <gtest/gtest.h>

namespace {

ThreadSummary thread(qint64 key, const QString &title, int count)
{
    return summariseThread(QStringLiteral("1: %1 (%2)").arg(title).arg(count),
                           QStringLiteral("http://h/test/read.cgi/livenhk/%1/l50").arg(key));
}

QString pickedTitle(const ThreadSummary &finished, const QList<ThreadSummary> &threads)
{
    const std::optional<qsizetype> i = pickNextThread(finished, threads);
    return i ? threads.at(*i).title : QStringLiteral("(none)");
}

} // namespace

TEST(NextThread, SeriesNumbersComeOutOfTheTitle)
{
    const struct { const char *title; const char *stem; int number; } cases[] = {
        {"【実況】ニュース７ Part5", "【実況】ニュース7", 5},      // the 7 is the programme's
        {"【実況】ニュース７　ＰＡＲＴ１２", "【実況】ニュース7", 12},
        {"大河ドラマ ★3", "大河ドラマ", 3},
        {"金曜ロードショー その12", "金曜ロードショー", 12},
        {"ＣＣさくらのＢＧＭ・音楽を語ろう！そのⅡ", "ccさくらのbgm・音楽を語ろう!", 2},
        {"さくらちゃんにガッしてもらうスレ十", "さくらちゃんにガッしてもらうスレ十", 0},
        {"同人寝具スレ…60枚目", "同人寝具スレ...", 60},
        {"さくらちゃんにガッしてもらうスレ１５", "さくらちゃんにガッしてもらうスレ", 15},
        {"実況スレ その十二", "実況スレ", 12},
        {"ともよちゃんに挨拶するスレ", "ともよちゃんに挨拶するスレ", 0},
    };
    for (const auto &c : cases) {
        const SeriesTitle t = seriesTitle(QString::fromUtf8(c.title));
        EXPECT_EQ(t.stem, QString::fromUtf8(c.stem)) << c.title;
        EXPECT_EQ(t.number.value_or(0), c.number) << c.title;
    }
    EXPECT_DOUBLE_EQ(titleSimilarity(QStringLiteral("ab"), QStringLiteral("ab")), 1.0);
    EXPECT_DOUBLE_EQ(titleSimilarity(QStringLiteral("abcd"), QStringLiteral("abxy")), 1.0 / 3);
    EXPECT_DOUBLE_EQ(titleSimilarity(QStringLiteral("a"), QStringLiteral("b")), 0.0);
}

TEST(NextThread, PicksTheNextPartOnTheBoardServersBoard)
{
    // A live board of the board server after its running thread filled: the next part at the
    // top, the finished part, its predecessor, and the quieter threads of other programmes
    // (one of them the same programme's old part, with a key days earlier).
    const ThreadSummary finished = thread(1700000000, QStringLiteral("【実況】ニュース７ Part5"), 1001);
    const QList<ThreadSummary> board = {
        thread(1700003600, QStringLiteral("【実況】ニュース７ Part6"), 3),
        finished,
        thread(1699990000, QStringLiteral("【実況】ニュース７ Part4"), 1001),
        thread(1699800000, QStringLiteral("【実況】のど自慢 Part3"), 120),
        thread(1699700000, QStringLiteral("【実況】ニュース７ Part4"), 80),
        thread(1699600000, QStringLiteral("【実況】大河ドラマ Part5"), 40),
    };
    EXPECT_EQ(pickedTitle(finished, board), QStringLiteral("【実況】ニュース７ Part6"));
    // Before the next part exists nothing qualifies: the old parts are older than the finished one.
    EXPECT_EQ(pickedTitle(finished, board.mid(1)), QStringLiteral("(none)"));
}

TEST(NextThread, HandMadeBoardsPreferTheSameProgrammesNextNumber)
{
    const qint64 k = 1700000000;
    const struct {
        const char *what;
        ThreadSummary finished;
        QList<ThreadSummary> board;
        const char *expected;
    } cases[] = {
        {"a busier programme at the top with a higher number is not taken",
         thread(k, "【実況】大河ドラマ Part7", 1001),
         {thread(k + 50, "【実況】金曜ロードショー Part12", 640), thread(k + 90, "【実況】大河ドラマ Part8", 2)},
         "【実況】大河ドラマ Part8"},
        {"the next number beats a duplicate made further ahead and one left behind",
         thread(k, "大河ドラマ ★3", 1001),
         {thread(k + 10, "大河ドラマ ★5", 30), thread(k + 20, "大河ドラマ ★3", 10), thread(k + 30, "大河ドラマ ★4", 5)},
         "大河ドラマ ★4"},
        {"two threads of the next number: the first made",
         thread(k, "金曜ロードショー その12", 1001),
         {thread(k + 40, "金曜ロードショー その１３", 3), thread(k + 20, "金曜ロードショー その13", 9)},
         "金曜ロードショー その13"},
        {"a first part without number is followed by its 2",
         thread(k, "ドラマ実況スレ", 1001), {thread(k + 5, "ドラマ実況スレ2", 1)}, "ドラマ実況スレ2"},
        {"a full thread and one older than the finished one are not candidates",
         thread(k, "野球実況 Part3", 1001),
         {thread(k + 5, "野球実況 Part4", 1000), thread(k - 5, "野球実況 Part4", 10)}, "(none)"},
        {"a similar board tag alone is below the threshold",
         thread(k, "【実況】ＮＨＫ総合 Part9", 1001), {thread(k + 5, "【実況】ＴＢＳ Part10", 5)}, "(none)"},
        {"a retitled next part is still found",
         thread(k, "【実況】プロ野球ナイター 巨人×阪神 Part3", 1001),
         {thread(k + 5, "【実況】プロ野球ナイター 巨人-阪神 Part4", 5)}, "【実況】プロ野球ナイター 巨人-阪神 Part4"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pickedTitle(c.finished, c.board), QString::fromUtf8(c.expected)) << c.what;
}

TEST(Momentum, ResponsesPerHourSinceTheKey)
{
    const qint64 now = 1700007200;
    const struct { const char *entry; qint64 key; const char *text; } cases[] = {
        {"1: 実況 Part3 (1000)", now - 7200, "500"},         // 1000 in two hours
        {"2: 実況 (30)", now - 5400, "20.0"},                  // 30 in 90 minutes
        {"3: 雑談 (2) (7)", now - 86400 * 3, "0.10"},          // 7 in three days: 0.097
        {"4: 立ったばかり (1)", now, "3600"},                 // younger than a second counts as one
        {"5: 時計のずれ (1)", now + 30, "3600"},
        {"6: 特別スレ (9)", 9241205101, ""},                   // special key far ahead
        {"7: 数なし", now - 60, ""},
    };
    for (const auto &c : cases) {
        const ThreadSummary t = summariseThread(QString::fromUtf8(c.entry),
                                                QStringLiteral("http://h/test/read.cgi/b/%1/l50").arg(c.key));
        EXPECT_EQ(momentumText(momentumPerHour(t, now)), QString::fromUtf8(c.text)) << c.entry;
    }
    const ThreadSummary kept = summariseThread(QString::fromUtf8("3: 雑談 (2) (7)"), QStringLiteral("x/12/l50"));
    EXPECT_EQ(kept.title, QString::fromUtf8("雑談 (2)"));
    EXPECT_EQ(kept.count, 7);
    EXPECT_EQ(kept.key, 12);
    EXPECT_EQ(momentumToolTip(20.0), QString::fromUtf8("勢い：20.0/時"));
}
