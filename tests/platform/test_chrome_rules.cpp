#include "platform/ChromeRules.h"

#include <gtest/gtest.h>

TEST(ChromeRules, ReleaseActsOnlyStrictlyInside)
{
    const struct { double x, y; bool inside; } cases[] = {
        {10, 10, true},  {0.5, 0.5, true},  {19.9, 19.9, true}, {0, 10, false},
        {10, 0, false},  {20, 10, false},   {10, 20, false},    {20, 20, false},
        {-3, 10, false}, {10, 35, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isReleaseInside(c.x, c.y, 20, 20), c.inside) << c.x << "," << c.y;
}

TEST(ChromeRules, PressedFaceHidesOnEveryRelease)
{
    PressRule rule;
    rule.press();
    EXPECT_TRUE(rule.pressedShown());
    EXPECT_FALSE(rule.release(40, 5, 20, 20)); // moved off, released outside: cancelled
    EXPECT_FALSE(rule.pressedShown());

    rule.press();
    EXPECT_FALSE(rule.release(20, 5, 20, 20)); // exactly on the right edge
    rule.press();
    EXPECT_TRUE(rule.release(5, 5, 20, 20));
    EXPECT_FALSE(rule.pressedShown());
    EXPECT_FALSE(rule.release(5, 5, 20, 20)); // no press before it
}

TEST(ChromeRules, DragMovesByThePointerOffsetOnlyWhileDragging)
{
    DragRule drag;
    WindowPoint to;
    EXPECT_FALSE(drag.move(100, 100, 50, 50, to));

    drag.press(10.5, 3.5); // rounded half to even
    EXPECT_EQ(drag.dragX(), 10);
    EXPECT_EQ(drag.dragY(), 4);
    ASSERT_TRUE(drag.move(100, 200, 30, -6, to));
    EXPECT_EQ(to.x, 120);
    EXPECT_EQ(to.y, 190);

    drag.release();
    EXPECT_FALSE(drag.dragging());
    EXPECT_FALSE(drag.move(100, 200, 30, -6, to));
}

TEST(ChromeRules, TitlePicturesFollowTheRightEdge)
{
    const TitlePictures narrow = titlePicturesFor(5000);
    const TitlePictures wide = titlePicturesFor(8000);
    EXPECT_EQ(wide.picClose.left - narrow.picClose.left, 3000);
    EXPECT_EQ(wide.picClose.left, 8000 - 420);
    EXPECT_EQ(wide.picMin.left, wide.picClose.left - 360);
    EXPECT_EQ(wide.caption.width, wide.picMin.left - 350);
}

TEST(Twips, TwipsAndPixels)
{
    const struct { double twips; double dpi; int pixels; } cases[] = {
        {15, 96, 1}, {10170, 96, 678}, {4590, 96, 306}, {1440, 144, 144}, {10170, 120, 848}, {7, 96, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
    EXPECT_DOUBLE_EQ(pixelsToTwips(678, 96), 10170);
    EXPECT_DOUBLE_EQ(pixelsToTwips(848, 120), 10176);
}
