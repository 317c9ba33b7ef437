#include "TestSupport.h"
#include "present/gui/LabelStrip.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace present;

namespace {

struct StripFixture
{
    qint64 now = 0;
    LabelStrip strip;

    StripFixture()
    {
        strip.setClock([this] { return now; });
        strip.setRandomSource([] { return 0.0; });
        strip.resize(400, 120);
        LabelLook look;
        look.pointSize = 20;
        look.colour = QColor(255, 0, 0);
        strip.setLook(look);
        strip.setScroll(5);
    }

    QImage grab()
    {
        QImage image(strip.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        strip.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    // Moves comment i of a family to the strip's left edge so it can be seen.
    void bringIntoView(CommentFamily family, qint32 i)
    {
        StripLabel *l = strip.model().label(family, i);
        const qint64 shift = l->left;
        l->left -= shift;
        if (StripLabel *s = strip.model().shadow(family, i))
            s->left -= shift;
    }
};

struct PixelCounts
{
    int transparent = 0, red = 0, black = 0, magenta = 0, key = 0;
};

PixelCounts count(const QImage &image)
{
    PixelCounts n;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            if (c.alpha() == 0)
                ++n.transparent;
            if (c.alpha() == 255 && c.red() > 200 && c.green() < 60 && c.blue() < 60)
                ++n.red;
            if (c.alpha() == 255 && c.red() < 40 && c.green() < 40 && c.blue() < 40)
                ++n.black;
            if (c.alpha() == 255 && c.red() > 200 && c.green() < 60 && c.blue() > 200)
                ++n.magenta;
            if (c.rgb() == LabelStrip::keyColour().rgb() && c.alpha() == 255)
                ++n.key;
        }
    }
    return n;
}

} // namespace

TEST(LabelStrip, DrawsCommentsAndLeavesTheRestUnpainted)
{
    StripFixture f;
    EXPECT_FALSE(f.strip.isTicking());
    const QImage empty = f.grab();
    EXPECT_EQ(count(empty).transparent, empty.width() * empty.height());

    ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("WWWW\r\nMMMM"), QColor(255, 0, 0), 1, 1));
    EXPECT_TRUE(f.strip.isTicking());
    // Just right of the window it is not drawn yet.
    EXPECT_EQ(count(f.grab()).red, 0);

    f.bringIntoView(CommentFamily::Live, 1);
    const QImage shown = f.grab();
    const PixelCounts n = count(shown);
    EXPECT_GT(n.red, 20);
    EXPECT_EQ(n.black, 0);
    EXPECT_EQ(n.key, 0);
    // Two lines tall, and the area right of the text is untouched.
    const StripLabel &l = *f.strip.model().label(CommentFamily::Live, 1);
    const int textRight = int(f.strip.twipsToPixelsX(l.width)) + 2;
    for (int x = textRight; x < shown.width(); x += 7)
        EXPECT_EQ(qAlpha(shown.pixel(x, 10)), 0) << x;
    EXPECT_GT(l.height, f.strip.pixelsToTwipsY(QFontMetrics(f.strip.font()).height()));
}

TEST(LabelStrip, ShadowIsDrawnInBlackBehindTheComment)
{
    StripFixture f;
    f.strip.setOutlineMode(true);
    ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("HHHH"), QColor(255, 0, 0), 1, 1));
    f.bringIntoView(CommentFamily::Live, 1);
    const PixelCounts n = count(f.grab());
    EXPECT_GT(n.red, 20);
    EXPECT_GT(n.black, 5);
}

TEST(LabelStrip, StopsTickingWhenTheLastCommentHasLeft)
{
    StripFixture f;
    ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("abc"), QColor(255, 0, 0), 1, 1));
    ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("def"), QColor(255, 0, 0), 2, 2));
    EXPECT_TRUE(f.strip.isTicking());
    f.grab();  // nothing visible yet: nothing rendered
    EXPECT_EQ(f.strip.cachedImageCount(), 0);
    f.bringIntoView(CommentFamily::Live, 1);
    f.grab();
    EXPECT_EQ(f.strip.cachedImageCount(), 1);

    f.now = 60000;  // long after both have crossed
    EXPECT_TRUE(testsupport::waitUntil([&] { return !f.strip.isTicking(); }, 2000));
    EXPECT_EQ(f.strip.model().commentCount(), 0);
    EXPECT_EQ(f.strip.cachedImageCount(), 0);
}

TEST(LabelStrip, MovesSmoothlyBetweenTicks)
{
    StripFixture f;
    ASSERT_TRUE(f.strip.showLiveComment(QStringLiteral("abc"), QColor(255, 0, 0), 1, 1));
    const StripComment &c = *f.strip.model().comment(CommentFamily::Live, 1);
    const qint64 start = c.label->left;
    f.now = 60;
    f.strip.syncClock();
    EXPECT_EQ(c.label->left, start);  // no tick yet ...
    EXPECT_LT(f.strip.model().drawLeft(c, *c.label, f.now), double(start));  // ... but it slides
    f.now = 120;
    f.strip.syncClock();
    EXPECT_LT(c.label->left, start);
}

TEST(LabelStrip, PictureCommentsBehindTheDeveloperOption)
{
    qputenv("KESTRELON_PICTURE_COMMENTS", "1");
    StripFixture f;
    const bool ok = f.strip.showLiveComment(QStringLiteral("HHH\r\nﾊｧﾊｧ"), QColor(255, 0, 0), 1, 1);
    qunsetenv("KESTRELON_PICTURE_COMMENTS");
    ASSERT_TRUE(ok);
    EXPECT_EQ(f.strip.model().commentCount(CommentFamily::Live), 0);
    const StripComment *c = f.strip.model().comment(CommentFamily::Picture, 1);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->drawings.size(), 10u);
    EXPECT_EQ(c->label->colour, 0xFF00FFu);
    // Sized by the font it is painted with, 80 twips larger than the text.
    const QFontMetrics metrics(f.strip.font());
    EXPECT_GE(c->label->width, f.strip.pixelsToTwipsX(metrics.horizontalAdvance(QStringLiteral("HHH"))));
    f.bringIntoView(CommentFamily::Picture, 1);
    const PixelCounts n = count(f.grab());
    EXPECT_GT(n.magenta, 10);
    EXPECT_GT(n.black, 10);
}
