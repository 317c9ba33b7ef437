#include "present/CommentLanes.h"
#include "present/LabelScroller.h"

#include <QRect>
#include <gtest/gtest.h>

using namespace present;

namespace {

// 160 twips a character, 360 a line: an 18-point font at 96 dpi, roughly.
QSize measure(const QString &text)
{
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    qsizetype longest = 0;
    for (const QString &l : lines)
        longest = std::max(longest, l.size());
    return QSize(int(longest) * 160, int(lines.size()) * 360);
}

QRect occupied(const StripComment &c)
{
    QRect r(int(c.label->left), int(c.label->top), c.label->width, c.label->height);
    if (c.shadow)
        r |= QRect(int(c.shadow->left), int(c.shadow->top), c.shadow->width, c.shadow->height);
    return r;
}

} // namespace

TEST(CommentLanes, SixCommentsASecondForAMinuteNeverOverlap)
{
    for (const bool shadow : {false, true}) {
        SCOPED_TRACE(shadow ? "shadow" : "plain");
        LabelScroller strip(measure, [] { return 0.5; });
        strip.setMainWindowWidth(10170);
        strip.setStripSize(10170, 7200);
        strip.setScroll(5);
        strip.setOutlineMode(shadow);
        strip.setLanes(true);

        quint32 seed = 12345;
        auto next = [&seed](int n) {
            seed = seed * 1103515245u + 12345u;
            return int((seed >> 16) % quint32(n));
        };
        qint32 index = 1;
        int checked = 0;
        for (qint64 t = 0; t <= 60000 + 6000; ++t) {
            strip.advanceTo(t);
            if (t < 60000 && (t * 6) % 1000 < 6) {
                // Lengths from 2 to 30 characters; one comment in eight has two lines.
                QString text(2 + next(29), QChar(0x3042));
                if (next(8) == 0)
                    text += QStringLiteral("\r\n") + QString(2 + next(10), QChar(0x3044));
                ASSERT_TRUE(strip.showLiveComment(text, 0xFFFFFF, index++, 1, false));
            }
            std::vector<QRect> rects;
            for (const auto &[key, c] : strip.comments()) {
                if (c.label && c.label->visible)
                    rects.push_back(occupied(c));
            }
            for (size_t a = 0; a < rects.size(); ++a) {
                for (size_t b = a + 1; b < rects.size(); ++b)
                    ASSERT_FALSE(rects[a].intersects(rects[b]))
                        << "at " << t << " ms: " << rects[a].x() << "," << rects[a].y() << " "
                        << rects[a].width() << "x" << rects[a].height() << " and " << rects[b].x() << ","
                        << rects[b].y() << " " << rects[b].width() << "x" << rects[b].height();
            }
            checked += int(rects.size());
        }
        EXPECT_EQ(index, 361);
        EXPECT_GT(checked, 100000);
        EXPECT_EQ(strip.commentCount(), 0);
    }
}

TEST(CommentLanes, TakesTheHighestFreeLaneThenHalfLanesThenTheLaneFreeingFirst)
{
    const LaneStrip strip{1000, 400};  // lanes at 1 and 401; a half lane at 201; 10000 wide
    const LaneComment incoming{10001, 0, 2000, 400, 240, 120};
    // A slow comment that has entered, ahead of a fast newcomer that would catch it.
    const LaneComment caught{5000, 1, 1000, 400, 10, 120};
    const LaneComment clear{1000, 1, 1000, 400, 240, 120};       // fast enough, gone in time
    const LaneComment entering{9500, 401, 1000, 400, 240, 120};  // not fully in yet
    EXPECT_FALSE(laneCompatible(caught, incoming));
    EXPECT_TRUE(laneCompatible(clear, incoming));
    EXPECT_FALSE(laneCompatible(entering, incoming));
    // A newcomer starting under the side panel, further right, may follow one not yet wholly
    // in view: the gap between them is already there and never closes.
    EXPECT_TRUE(laneCompatible(entering, LaneComment{12001, 0, 2000, 400, 240, 120}));

    EXPECT_EQ(chooseLaneTop(strip, incoming, {}), 1);
    EXPECT_EQ(chooseLaneTop(strip, incoming, {clear}), 1);
    EXPECT_EQ(chooseLaneTop(strip, incoming, {caught}), 401);
    // Both lanes busy; the half lane between them is clear of both short blockers.
    LaneComment shortCaught = caught;
    shortCaught.height = 150;
    LaneComment shortEntering = entering;
    shortEntering.top = 651;
    shortEntering.height = 150;
    EXPECT_EQ(chooseLaneTop(strip, incoming, {shortCaught, shortEntering}), 201);
    LaneComment low = entering;
    low.top = 601;
    EXPECT_EQ(chooseLaneTop(strip, incoming, {caught, low, LaneComment{9000, 201, 1000, 400, 240, 120}}), 401)
        << "nothing free: the lane whose comments leave first";
}
