#include "present/LabelScroller.h"
#include "present/StripMotion.h"

#include <gtest/gtest.h>

#include <deque>

using namespace present;

namespace {

// A text is 100 twips wide per character of its longest line and 240 twips high per line.
QSize fakeMeasure(const QString &text)
{
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    int longest = 0;
    for (const QString &l : lines)
        longest = std::max<int>(longest, l.size());
    return QSize(longest * 100, int(lines.size()) * 240);
}

struct Fixture
{
    std::deque<double> draws;  // random numbers to hand out; 0 when empty
    LabelScroller strip{fakeMeasure, [this] {
                            if (draws.empty())
                                return 0.0;
                            const double d = draws.front();
                            draws.pop_front();
                            return d;
                        }};

    Fixture(int windowWidth = 10000, int stripWidth = 10000, int stripHeight = 100000)
    {
        strip.setMainWindowWidth(windowWidth);
        strip.setStripSize(stripWidth, stripHeight);
        strip.setScroll(5);
    }
    const StripLabel &live(qint32 i) { return *strip.label(CommentFamily::Live, i); }
};

} // namespace

TEST(StripMotion, RoundsHalvesToEvenAndReadsTags)
{
    const struct { double in; qint64 out; } rounding[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {2.5001, 3}, {0.5, 0}, {240.0, 240},
    };
    for (const auto &r : rounding)
        EXPECT_EQ(roundHalfEven(r.in), r.out) << r.in;

    EXPECT_EQ(randomGap(0.0), 0);
    EXPECT_EQ(randomGap(0.005), 0);   // 0.5 rounds to even
    EXPECT_EQ(randomGap(0.999), 100);

    qint64 step = 0;
    ASSERT_TRUE(stepFromTag(stepTag(192.5), &step));
    EXPECT_EQ(step, 192);
    // A step past the 16-bit range still moves the comment rather than failing every tick.
    ASSERT_TRUE(stepFromTag(QStringLiteral("40000.5"), &step));
    EXPECT_EQ(step, 40000);
    EXPECT_FALSE(stepFromTag(QStringLiteral("abc"), &step));
    EXPECT_FALSE(stepFromTag(QString(), &step));
}

TEST(StripMotion, StacksBelowThePreviousCommentOrNearTheBottom)
{
    // Strip 1000 high, comments 240 high.
    const struct { int k, maeH, maeTop, r; qint64 left, top; } cases[] = {
        {1, 1, 1, 50, 10001, 1},              // the first goes to the top, just outside the window
        {2, 240, 1, 0, 16000, 241},           // below its predecessor
        {3, 240, 241, 7, 19000, 488},         // with the random gap
        {4, 240, 520, 0, 22000, 760},         // 240+520+240 = 1000 still fits exactly
        {5, 240, 521, 0, 25000, 310},         // one twip too low: 450 above the bottom
        {5, 240, 521, 100, 25000, 410},       // the gap applies there too
        {12, 240, 700, 0, 46000, 1},          // every 11th from the 1st is back at the top
        {23, 240, 700, 0, 79000, 1},
        {13, 240, 1, 0, 49000, 241},
    };
    for (const auto &c : cases) {
        PlacementInput in;
        in.mainWindowWidth = 10000;
        in.stripHeight = 1000;
        in.ownHeight = 240;
        in.k = c.k;
        in.maeHeight = c.maeH;
        in.maeTop = c.maeTop;
        in.r = c.r;
        const Placement p = placeComment(in);
        EXPECT_EQ(p.left, c.left) << "k=" << c.k;
        EXPECT_EQ(p.top, c.top) << "k=" << c.k << " maeTop=" << c.maeTop;
    }
}

TEST(LabelScroller, PlacesTheCommentsOfOneFetch)
{
    Fixture f;
    for (int k = 1; k <= 23; ++k)
        ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("abc"), 0xFF8000, k, k));
    EXPECT_EQ(f.live(1).left, 10001);
    EXPECT_EQ(f.live(2).left, 10000 + 6000);
    EXPECT_EQ(f.live(3).left, 10000 + 9000);
    for (int k : {1, 12, 23})
        EXPECT_EQ(f.live(k).top, 1) << k;
    // Each of the others sits right below its predecessor (random gap 0 here).
    EXPECT_EQ(f.live(2).top, 241);
    EXPECT_EQ(f.live(13).top, 241);
    EXPECT_EQ(f.live(11).top, 1 + 10 * 240);
    EXPECT_EQ(f.live(2).colour, 0xFF8000u);
    EXPECT_TRUE(f.live(2).visible);
    // Step: (300 + 10000) / 5 / 1000 * 120
    EXPECT_EQ(f.strip.comment(CommentFamily::Live, 1)->tag, QStringLiteral("247.2"));
}

TEST(LabelScroller, StepAndMoverFollowTheShadowMode)
{
    // A 3000-twip comment in a 7000-twip strip at 5 seconds moves 240 twips per 120 ms tick.
    Fixture f(7000, 7000);
    const QString text(30, QLatin1Char('x'));
    ASSERT_TRUE(f.strip.showLiveComment(text, 0xFFFFFF, 1, 1));
    const StripComment *plain = f.strip.comment(CommentFamily::Live, 1);
    EXPECT_EQ(plain->tag, QStringLiteral("240"));
    EXPECT_EQ(*plain->mover, Mover::TimerLblMsg);
    EXPECT_FALSE(plain->shadow.has_value());

    f.strip.setOutlineMode(true);
    f.draws = {0.5};
    ASSERT_TRUE(f.strip.showLiveComment(text, 0xFFFFFF, 2, 2));
    const StripComment *shadowed = f.strip.comment(CommentFamily::Live, 2);
    EXPECT_EQ(*shadowed->mover, Mover::TimerLblMsgKage);
    EXPECT_EQ(moverInterval(*shadowed->mover), 140);
    EXPECT_EQ(shadowed->tag, QStringLiteral("280"));
    ASSERT_TRUE(shadowed->shadow.has_value());
    const StripLabel &body = *shadowed->label;
    const StripLabel &shade = *shadowed->shadow;
    EXPECT_EQ(shade.colour, 0x000000u);
    EXPECT_EQ(shade.caption, text);
    EXPECT_EQ(shade.left, body.left + 25);
    EXPECT_EQ(shade.top, body.top + 20);
    EXPECT_EQ(body.top, 240 + 1 + 50);

    // While moving: 25 right, top unchanged, the comment in front of its shadow.
    const qint64 shadowTop = shade.top;
    f.strip.TimerLblMsgKage_Timer(2);
    EXPECT_EQ(body.left, 7000 + 6000 - 280);
    EXPECT_EQ(shade.left, body.left + 25);
    EXPECT_EQ(shade.top, shadowTop);
    EXPECT_GT(body.z, shade.z);

    // A comment keeps the mover it was started with when the mode changes.
    f.strip.setOutlineMode(false);
    f.strip.advanceTo(140);
    EXPECT_EQ(body.left, 7000 + 6000 - 2 * 280);
}

TEST(LabelScroller, ReplayShadowMovesTwentyRight)
{
    Fixture f;
    ASSERT_TRUE(f.strip.createLabel(CommentFamily::Replay, 7));
    ASSERT_TRUE(f.strip.createShadow(CommentFamily::Replay, 7));
    ASSERT_TRUE(f.strip.createMover(Mover::TimerLblWmpMsgKage, 7));
    StripLabel &body = *f.strip.label(CommentFamily::Replay, 7);
    StripLabel &shade = *f.strip.shadow(CommentFamily::Replay, 7);
    f.strip.setCaption(body, QStringLiteral("abc"));
    f.strip.setCaption(shade, QStringLiteral("abc"));
    body.left = 5000;
    body.top = 100;
    shade.left = 5025;
    shade.top = 120;
    f.strip.setTag(CommentFamily::Replay, 7, QStringLiteral("100.5"));
    ASSERT_TRUE(f.strip.enableMover(CommentFamily::Replay, 7));
    f.strip.advanceTo(149);
    EXPECT_EQ(body.left, 5000);
    f.strip.advanceTo(150);
    EXPECT_EQ(body.left, 4900);
    EXPECT_EQ(shade.left, 4920);
    EXPECT_EQ(shade.top, 120);
}

TEST(LabelScroller, ReplayCommentsArePlacedByTheirCaller)
{
    Fixture f;
    LabelScroller::ReplayPlacement at{5000, 100, 5025, 120, QStringLiteral("150")};
    ASSERT_TRUE(f.strip.startReplayComment(9, QStringLiteral("abc"), 0xFF8000, true, at));
    EXPECT_FALSE(f.strip.startReplayComment(9, QStringLiteral("again"), 0, false, at));
    const StripComment &c = *f.strip.comment(CommentFamily::Replay, 9);
    EXPECT_EQ(*c.mover, Mover::TimerLblWmpMsgKage);
    EXPECT_EQ(c.label->caption, QStringLiteral("abc"));
    EXPECT_EQ(c.label->colour, 0xFF8000u);
    EXPECT_TRUE(c.label->visible && c.shadow->visible);
    EXPECT_EQ(c.shadow->colour, 0x000000u);
    f.strip.advanceTo(150);
    EXPECT_EQ(c.label->left, 4850);
    EXPECT_EQ(c.shadow->left, 4870);

    // Live and replay comments of one index are different comments.
    ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("x"), 0, 9, 1));
    EXPECT_EQ(f.strip.commentCount(CommentFamily::Replay), 1);
    EXPECT_EQ(f.strip.commentCount(CommentFamily::Live), 1);
    EXPECT_EQ(f.strip.emptyLabelSize().height(), 240);
    EXPECT_EQ(f.strip.labelSize(QStringLiteral("abcd\r\nx")), QSize(400, 480));
}

TEST(LabelScroller, RemovesACommentOneTickAfterItsRightEdgeReachesZero)
{
    Fixture f;
    ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("abc"), 0xFFFFFF, 5, 1));
    StripLabel &l = *f.strip.label(CommentFamily::Live, 5);
    f.strip.setTag(CommentFamily::Live, 5, QStringLiteral("100"));
    l.left = -300 + 100;  // width 300: one tick brings left + width to exactly 0
    f.strip.TimerLblMsg_Timer(5);
    ASSERT_NE(f.strip.label(CommentFamily::Live, 5), nullptr);
    EXPECT_EQ(l.left + l.width, 0);
    f.strip.TimerLblMsg_Timer(5);
    EXPECT_EQ(f.strip.comment(CommentFamily::Live, 5), nullptr);
    EXPECT_EQ(f.strip.commentCount(), 0);
    EXPECT_FALSE(f.strip.hasMovers());
}

TEST(LabelScroller, CrossesInAboutIntScrollSecondsWhateverTheLength)
{
    for (int seconds : {3, 8}) {
        for (int chars : {2, 200}) {
            Fixture f(10000, 10000);
            f.strip.setScroll(seconds);
            ASSERT_TRUE(f.strip.showLiveComment(QString(chars, QLatin1Char('w')), 0, 1, 1));
            qint64 t = 0;
            while (f.strip.commentCount() && t < 60000)
                f.strip.advanceTo(t += 10);
            EXPECT_NEAR(double(t), seconds * 1000.0, 150.0) << seconds << "s, " << chars << " chars";
        }
    }
}

TEST(LabelScroller, TicksFollowTheClockAndDrawingSlidesBetweenThem)
{
    Fixture f;
    ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("abc"), 0, 1, 1));  // step 247.2 -> 247
    const StripComment &c = *f.strip.comment(CommentFamily::Live, 1);
    const StripLabel &l = *c.label;
    EXPECT_DOUBLE_EQ(f.strip.drawLeft(c, l, 0), 10001.0);
    EXPECT_DOUBLE_EQ(f.strip.drawLeft(c, l, 60), 10001.0 - 123.5);
    EXPECT_DOUBLE_EQ(f.strip.drawLeft(c, l, 500), 10001.0 - 247.0);  // never past the next tick
    f.strip.advanceTo(365);  // ticks at 120, 240, 360
    EXPECT_EQ(l.left, 10001 - 3 * 247);
    EXPECT_DOUBLE_EQ(f.strip.drawLeft(c, l, 420), double(l.left) - 123.5);
}

TEST(LabelScroller, ACommentThatCannotBePlacedLeavesNothingRunning)
{
    Fixture f;
    // No mover created for it.
    ASSERT_TRUE(f.strip.createLabel(CommentFamily::Live, 1));
    EXPECT_FALSE(f.strip.msgSet(QStringLiteral("abc"), 1, 1, 1, 1));
    EXPECT_EQ(f.strip.commentCount(), 0);

    // Shadow mode but no shadow label.
    f.strip.setOutlineMode(true);
    ASSERT_TRUE(f.strip.createLabel(CommentFamily::Live, 2));
    ASSERT_TRUE(f.strip.createMover(Mover::TimerLblMsgKage, 2));
    EXPECT_FALSE(f.strip.msgSet(QStringLiteral("abc"), 2, 1, 1, 1));
    EXPECT_EQ(f.strip.commentCount(), 0);

    // A speed setting that gives no step.
    f.strip.setScroll(0);
    EXPECT_FALSE(f.strip.showLiveComment(QStringLiteral("abc"), 0, 3, 1));
    EXPECT_EQ(f.strip.commentCount(), 0);
    EXPECT_FALSE(f.strip.hasMovers());

    // A second comment whose predecessor is missing ends the batch.
    f.strip.setScroll(5);
    EXPECT_FALSE(f.strip.showLiveComment(QStringLiteral("abc"), 0, 10, 2));
    EXPECT_EQ(f.strip.commentCount(), 0);

    // A mover whose label is gone is dropped at its next tick.
    ASSERT_TRUE(f.strip.createMover(Mover::TimerLblWmpMsg, 4));
    f.strip.enableMover(CommentFamily::Replay, 4);
    EXPECT_TRUE(f.strip.hasMovers() || f.strip.commentCount() == 1);
    f.strip.advanceTo(1000);
    EXPECT_EQ(f.strip.commentCount(), 0);
}

TEST(LabelScroller, IndexesAndCountsGoPastSixteenBits)
{
    Fixture f;
    std::vector<quint64> destroyed;
    f.strip.setOnLabelDestroyed([&](quint64 serial) { destroyed.push_back(serial); });
    const int total = 33000;
    for (qint32 i = 1; i <= total; ++i)
        ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("x"), 0, i, 1));
    EXPECT_EQ(f.strip.commentCount(), total);
    const qint32 big = 2000000000;
    ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("x"), 0, big, 1));
    ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("y"), 0, big + 1, 2));
    EXPECT_EQ(f.live(big + 1).left, 16000);
    f.strip.advanceTo(12000);
    EXPECT_EQ(f.strip.commentCount(), 0);
    EXPECT_EQ(destroyed.size(), size_t(total + 2));
}

TEST(LabelScroller, PictureCommentIsMeasuredPaintedAndMoved)
{
    Fixture f;
    f.strip.setDpi(96);
    ASSERT_TRUE(f.strip.msgPicMsgSet(QStringLiteral("ab<br>cdef<br>ﾊｧﾊｧ"), 3, 2, 240, 1, 0xFF00FF));
    const StripComment &c = *f.strip.comment(CommentFamily::Picture, 3);
    const StripLabel &box = *c.label;
    EXPECT_EQ(box.width, 400 + 80);
    EXPECT_EQ(box.height, 3 * 240 + 80);
    EXPECT_EQ(box.left, 16000);
    EXPECT_EQ(box.top, 241);
    EXPECT_EQ(box.colour, 0xFF00FFu);
    EXPECT_TRUE(box.visible);
    EXPECT_EQ(*c.mover, Mover::TimerPicMsg);
    EXPECT_EQ(c.tag, stepTag((480.0 + 10000) / 5 / 1000 * 100));

    // Five drawings a line: four black around, then the colour; lines 243 twips apart.
    ASSERT_EQ(c.drawings.size(), 15u);
    const int ys[] = {0, 16, 32};  // 0, 243, 486 twips at 15 twips a pixel
    for (int line = 0; line < 3; ++line) {
        const int y = ys[line];
        const PictureDrawing *d = &c.drawings[size_t(line) * 5];
        const struct { int x, y; bool outline; } expect[] = {
            {2, y + 1, true}, {2, y + 3, true}, {1, y + 2, true}, {3, y + 2, true}, {2, y + 2, false}};
        for (int n = 0; n < 5; ++n) {
            EXPECT_EQ(d[n].x, expect[n].x);
            EXPECT_EQ(d[n].y, expect[n].y) << line << "/" << n;
            EXPECT_EQ(d[n].outline, expect[n].outline);
        }
    }
    EXPECT_EQ(c.drawings[5].text, QStringLiteral("cdef"));

    // Same index again fails without disturbing the first.
    EXPECT_FALSE(f.strip.msgPicMsgSet(QStringLiteral("x"), 3, 1, 1, 1, 0));
    EXPECT_EQ(f.strip.commentCount(CommentFamily::Picture), 1);

    f.strip.advanceTo(100);
    EXPECT_EQ(box.left, 16000 - 210);  // 209.6 -> 210
    f.strip.advanceTo(20000);
    EXPECT_EQ(f.strip.commentCount(), 0);
}
