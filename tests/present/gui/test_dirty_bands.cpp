#include "present/DirtyBands.h"

#include <QRegion>
#include <gtest/gtest.h>

#include <random>

using present::dirtyBands;

TEST(DirtyBands, RowsMergeSpansAndCoalesceAlike)
{
    const QRect bounds(0, 0, 200, 40);
    struct Case
    {
        const char *name;
        std::vector<QRect> in;
        std::vector<QRect> out;
    } cases[] = {
        {"nothing", {}, {}},
        // Two rows with the same span make one rect.
        {"one rect over two rows", {QRect(10, 5, 41, 20)}, {QRect(10, 0, 41, 32)}},
        {"close spans join", {QRect(10, 0, 10, 8), QRect(25, 0, 10, 8)}, {QRect(10, 0, 25, 16)}},
        {"far spans stay apart", {QRect(10, 0, 10, 8), QRect(40, 0, 10, 8)},
         {QRect(10, 0, 10, 16), QRect(40, 0, 10, 16)}},
        // Clipped to the bounds; the last row is only as tall as what is left of them.
        {"outside and across the edge", {QRect(-50, -50, 20, 20), QRect(190, 30, 40, 40)},
         {QRect(190, 16, 10, 24)}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(dirtyBands(c.in, bounds, 16), c.out) << c.name;
}

TEST(DirtyBands, CoverEveryRectWithoutOverlapInRegionOrder)
{
    std::mt19937 random(7);
    const QRect bounds(0, 0, 1920, 1080);
    std::vector<QRect> rects;
    QRegion wanted;
    for (int i = 0; i < 300; ++i) {
        const QRect r(int(random() % 2000) - 40, int(random() % 1100) - 10, 1 + int(random() % 500),
                      1 + int(random() % 45));
        rects.push_back(r);
        wanted += r.intersected(bounds);
    }
    const std::vector<QRect> bands = dirtyBands(rects, bounds, 16);
    QRegion got;
    for (size_t i = 0; i < bands.size(); ++i) {
        EXPECT_FALSE(got.intersects(bands[i])) << i;
        got += bands[i];
        if (i > 0)  // y-x sorted, so a region can be built from them as they are
            EXPECT_TRUE(bands[i - 1].top() < bands[i].top()
                        || (bands[i - 1].top() == bands[i].top() && bands[i - 1].right() < bands[i].left()));
    }
    EXPECT_TRUE(wanted.subtracted(got).isEmpty());
    EXPECT_TRUE(bounds.contains(got.boundingRect()));
    EXPECT_EQ(present::areaOf(bands), [&] { qint64 a = 0; for (const QRect &r : got) a += qint64(r.width()) * r.height(); return a; }());
}
