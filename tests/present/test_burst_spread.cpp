#include "present/BurstSpread.h"

#include <gtest/gtest.h>

using namespace present;

namespace {

QList<SpreadComment> batch(int n, qint32 firstIndex)
{
    QList<SpreadComment> out;
    for (int k = 1; k <= n; ++k)
        out.append({QStringLiteral("c%1").arg(firstIndex + k - 1), 0, firstIndex + k - 1, k});
    return out;
}

QList<qint32> indexes(const QList<SpreadRelease> &released)
{
    QList<qint32> out;
    for (const SpreadRelease &r : released)
        out << r.comment.index;
    return out;
}

} // namespace

TEST(BurstSpread, OneFetchEntersEvenlyOverTheIntervalInOrder)
{
    BurstSpread spread;
    // Four comments over 12 s: at 0, 3, 6 and 9 s after the fetch.
    EXPECT_EQ(indexes(spread.addBatch(batch(4, 1), 1000, 12000)), (QList<qint32>{1}));
    EXPECT_EQ(spread.nextDue(), 4000);
    EXPECT_TRUE(spread.takeDue(3999).isEmpty());
    const QList<SpreadRelease> second = spread.takeDue(4000);
    ASSERT_EQ(indexes(second), (QList<qint32>{2}));
    EXPECT_FALSE(second.first().stagger);
    EXPECT_EQ(second.first().comment.k, 2);
    // A late clock lets every comment that is due through at once, still in order.
    EXPECT_EQ(indexes(spread.takeDue(10000)), (QList<qint32>{3, 4}));
    EXPECT_TRUE(spread.isEmpty());
    EXPECT_EQ(spread.nextDue(), std::nullopt);
}

TEST(BurstSpread, AnEarlyFetchSendsWhatIsLeftAtOnceBeforeTheNewBatch)
{
    BurstSpread spread;
    spread.addBatch(batch(6, 1), 0, 12000);   // due at 0, 2, 4, 6, 8, 10 s
    spread.takeDue(4000);                     // 1, 2, 3 have entered
    const QList<SpreadRelease> released = spread.addBatch(batch(2, 7), 5000, 12000);
    EXPECT_EQ(indexes(released), (QList<qint32>{4, 5, 6, 7}));
    // What was left enters together with the stagger, numbered from 1 among itself.
    for (int j = 0; j < 3; ++j) {
        EXPECT_TRUE(released.at(j).stagger);
        EXPECT_EQ(released.at(j).comment.k, j + 1);
    }
    EXPECT_FALSE(released.at(3).stagger);
    EXPECT_EQ(spread.nextDue(), 11000);
}
