#include "TestSupport.h"
#include "present/gui/LabelStrip.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPaintEvent>
#include <QScreen>
#include <QWindow>
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
    EXPECT_TRUE(testsupport::waitUntil([&] { return !f.strip.isTicking(); }));
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

TEST(LabelStrip, FramesRepaintingOnlyWhatMovedLeaveTheSameWindowAsAWholeRepaint)
{
    // Comments of different speeds, with and without shadows, one leaving in between: after
    // frames that repaint only where comments were and are, the window must hold what a whole
    // repaint at the same instant draws (no trails, no comment drawn at a stale time). As in the
    // main window, the strip sits on a parent that paints the key colour behind it.
    struct Recording : LabelStrip
    {
        using LabelStrip::LabelStrip;
        int partial = 0;
        void paintEvent(QPaintEvent *event) override
        {
            partial += QRegion(rect()).subtracted(event->region()).isEmpty() ? 0 : 1;
            LabelStrip::paintEvent(event);
        }
    };
    QWidget window;
    QPalette palette;
    palette.setColor(QPalette::Window, LabelStrip::keyColour());
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.resize(900, 300);
    auto *strip = new Recording(&window);
    qint64 now = 0;
    strip->setClock([&now] { return now; });
    strip->setRandomSource([] { return 0.5; });
    strip->resize(900, 300);
    strip->setScroll(5);
    const QString texts[] = {QStringLiteral("ｷﾀ━━━(ﾟ∀ﾟ)━━━!!"), QStringLiteral("ab"),
                             QStringLiteral("a much longer comment that takes a while")};
    for (int i = 1; i <= 6; ++i) {
        strip->setOutlineMode(i > 3);
        ASSERT_TRUE(strip->showLiveComment(texts[i % 3], QColor(255, 0, 0), i, 1 + (i - 1) % 3));
        StripLabel *l = strip->model().label(CommentFamily::Live, i);
        const qint64 shift = l->left - strip->pixelsToTwipsX(120 * i);
        l->left -= shift;
        if (StripLabel *s = strip->model().shadow(CommentFamily::Live, i))
            s->left -= shift;
    }
    window.show();
    ASSERT_TRUE(testsupport::waitUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }));
    for (const qint64 step : {40, 170, 900, 2600, 4300}) {
        SCOPED_TRACE(step);
        now = step;
        QElapsedTimer frames;
        frames.start();
        while (frames.elapsed() < 60)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const QImage onScreen = window.screen()->grabWindow(window.winId()).toImage()
                                    .convertToFormat(QImage::Format_RGB32);
        const QImage whole = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(onScreen.size(), whole.size());
        EXPECT_TRUE(onScreen == whole);
    }
    EXPECT_GT(strip->partial, 0);
    EXPECT_LT(strip->model().commentCount(), 6);  // the short one has left
}
