// The wait for the next part, stepped by a scripted clock: listings every 5 s, the caption's
// seconds, found, given up after 3 minutes, a failed listing, cancel.

#include "app/NextThreadWait.h"

#include <gtest/gtest.h>

namespace {

using State = NextThreadWait::State;

const qint64 kKey = 1700000000;

ThreadSummary thread(qint64 key, const QString &title, int count)
{
    return summariseThread(QStringLiteral("1: %1 (%2)").arg(title).arg(count),
                           QStringLiteral("http://h/test/read.cgi/b/%1/l50").arg(key));
}

const ThreadSummary kFinished = thread(kKey, QStringLiteral("【実況】大河ドラマ Part7"), 1001);
const QList<ThreadSummary> kWithout = {kFinished, thread(kKey + 60, QStringLiteral("【実況】ニュース Part2"), 50)};
const QList<ThreadSummary> kWith = kWithout + QList<ThreadSummary>{thread(kKey + 90, QStringLiteral("【実況】大河ドラマ Part8"), 1)};

// Runs the clock a second at a time from fromMs to toMs, answering each listing with board;
// returns the moments (seconds since 0) at which a listing began.
QList<int> runClock(NextThreadWait &wait, qint64 fromMs, qint64 toMs, const QList<ThreadSummary> &board)
{
    QList<int> listings;
    for (qint64 now = fromMs; now <= toMs && wait.isWaiting(); now += 1000) {
        if (wait.tick(now)) {
            listings << int(now / 1000);
            wait.listed(board, now + 300);   // a listing takes a moment
        }
    }
    return listings;
}

} // namespace

TEST(NextThreadWait, FoundAtOnceNeedsNoWait)
{
    NextThreadWait wait;
    wait.begin(kFinished, 0);
    EXPECT_EQ(wait.state(), State::Listing);
    EXPECT_EQ(wait.listed(kWith, 200), State::Found);
    EXPECT_EQ(wait.foundIndex(), 2);
    EXPECT_FALSE(wait.tick(5000));
}

TEST(NextThreadWait, ListsEveryFiveSecondsUntilTheNextPartAppears)
{
    NextThreadWait wait;
    wait.begin(kFinished, 0);
    EXPECT_EQ(wait.listed(kWithout, 400), State::Waiting);
    EXPECT_EQ(wait.caption(400), QStringLiteral("次スレ待ち：180"));
    EXPECT_EQ(wait.caption(1000), QStringLiteral("次スレ待ち：179"));
    EXPECT_EQ(runClock(wait, 1000, 20000, kWithout), (QList<int>{5, 10, 15, 20}));
    EXPECT_EQ(wait.caption(21000), QStringLiteral("次スレ待ち：159"));
    EXPECT_EQ(runClock(wait, 21000, 60000, kWith), (QList<int>{25}));
    EXPECT_EQ(wait.state(), State::Found);
    EXPECT_EQ(wait.foundIndex(), 2);
}

TEST(NextThreadWait, GivesUpAfterThreeMinutesAndFailedListingsKeepWaiting)
{
    NextThreadWait wait;
    wait.begin(kFinished, 0);
    wait.listed({}, 100);   // the board could not be listed
    const QList<int> listings = runClock(wait, 1000, 200000, kWithout);
    EXPECT_EQ(listings.size(), 36);
    EXPECT_EQ(listings.last(), 180);   // one last listing at the end
    EXPECT_EQ(wait.state(), State::GaveUp);
    EXPECT_EQ(wait.caption(181000), QStringLiteral("次スレ待ち：0"));
}

TEST(NextThreadWait, CancelEndsTheWaitAndALateListingChangesNothing)
{
    NextThreadWait wait;
    wait.begin(kFinished, 0);
    wait.listed(kWithout, 100);
    ASSERT_TRUE(wait.tick(5000));
    wait.cancel();   // Stop while the listing waits
    EXPECT_EQ(wait.listed(kWith, 5300), State::Cancelled);
    EXPECT_FALSE(wait.foundIndex());
    EXPECT_FALSE(wait.tick(10000));
    EXPECT_FALSE(wait.isWaiting());
}
