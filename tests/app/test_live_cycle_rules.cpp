// The countdown carried in TimerReget's tag, the overloaded page and board-tree addresses.

#include "app/FetchMessages.h"
#include "app/LiveCycleRules.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(LiveCycleRules, CountdownFromStartUpTakesThirteenTicksAndTwelveAfterAFetch)
{
    // From the start-up tag "0": captions 12 .. 1, then the thirteenth tick fetches.
    QString tag = QStringLiteral("0");
    QStringList captions;
    int ticks = 0;
    for (;;) {
        ++ticks;
        const CountdownTick t = countdownTick(tag);
        if (t.fetch) {
            EXPECT_EQ(t.caption, QStringLiteral("レス取得中"));
            EXPECT_EQ(t.nextTag, tag);
            break;
        }
        captions << t.caption;
        tag = t.nextTag;
        ASSERT_LT(ticks, 20);
    }
    EXPECT_EQ(ticks, 13);
    EXPECT_EQ(captions.first(), QStringLiteral("再取得まで：12"));
    EXPECT_EQ(captions.last(), QStringLiteral("再取得まで：1"));

    // After a fetch (or Stop) the tag is "1": 11 .. 1, the twelfth tick fetches.
    tag = QStringLiteral("1");
    ticks = 0;
    while (!countdownTick(tag).fetch) {
        tag = countdownTick(tag).nextTag;
        ++ticks;
    }
    EXPECT_EQ(ticks + 1, 12);
    EXPECT_EQ(countdownTick(QStringLiteral("1")).caption, QStringLiteral("再取得まで：11"));
}

TEST(LiveCycleRules, DamagedTagsStillCountDownToAFetch)
{
    EXPECT_EQ(countdownTick(QStringLiteral("x")).nextTag, QStringLiteral("1"));
    EXPECT_EQ(countdownTick(QString()).caption, QStringLiteral("再取得まで：12"));
    EXPECT_TRUE(countdownTick(QStringLiteral("13")).fetch);
}

TEST(LiveCycleRules, OverloadedPageAndMessages)
{
    EXPECT_TRUE(isOverloadedPage(QStringLiteral("<html><head><title>もうずっと人大杉</title></head>")));
    EXPECT_FALSE(isOverloadedPage(QStringLiteral("<title>もうずっと人大杉 </title>")));
    EXPECT_EQ(overloadedMessage(),
              QStringLiteral("人大杉スレでした。すいません。\r\n専ブラ使ってください。"));
}

TEST(LiveCycleRules, TreeNodeAddressIsTheKeyWithoutItsParentsKey)
{
    EXPECT_EQ(treeNodeBoardAddress(QStringLiteral("http://h/livenhk/K1"), QStringLiteral("K1"), true),
              QStringLiteral("http://h/livenhk/"));
    // Every occurrence goes, as the menu loader's keys expect.
    EXPECT_EQ(treeNodeBoardAddress(QStringLiteral("http://h/K12/K12"), QStringLiteral("K12"), true),
              QStringLiteral("http://h//"));
    EXPECT_TRUE(treeNodeBoardAddress(QStringLiteral("K1"), QString(), false).isEmpty());
    EXPECT_EQ(boardAddressFromListEntry(QStringLiteral("http://h/news/subback.html")),
              QStringLiteral("http://h/news/"));
}

TEST(FetchMessages, OnlyAFailedStartTellsTheUserAndWithOneMessage)
{
    const FetchOccasion quiet[] = {FetchOccasion::Refetch, FetchOccasion::OpenBoard, FetchOccasion::BoardMenu};
    // Every failure reason, including those added after this test was written.
    for (int f = 0; f < 64; ++f) {
        const FetchResult r = f == 0 ? FetchResult::success(200, QStringLiteral("x"))
                                     : FetchResult::failed(FetchFailure(f), QStringLiteral("detail"));
        const QString start = fetchFailureMessage(FetchOccasion::Start, r);
        if (f == 0)
            EXPECT_TRUE(start.isEmpty());
        else if (FetchFailure(f) == FetchFailure::InvalidServer)
            EXPECT_EQ(start, QStringLiteral("何か接続に失敗しました。すいません。\r\n再取得しなければ再起動してください。"));
        else
            EXPECT_EQ(start, startFailedMessage()) << r.reason().toStdString();
        for (FetchOccasion o : quiet)
            EXPECT_TRUE(fetchFailureMessage(o, r).isEmpty()) << f;
    }
}
