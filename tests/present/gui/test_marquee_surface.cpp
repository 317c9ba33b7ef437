// The WebScroll surface: where a marquee is at given times, its end, the keyed background, the
// mini row, and that its pixels land where the motion says.
#include "TestSupport.h"
#include "platform/Cp932.h"
#include "present/MarqueePageBuilder.h"
#include "present/gui/MarqueeSurface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

const QRgb kKey = qRgb(0, 51, 102);

struct SurfaceFixture
{
    testsupport::TempProgramFolder home;
    qint64 now = 10'000;
    MarqueeSurface surface;

    SurfaceFixture()
    {
        surface.setClock([this] { return now; });
        surface.resize(1000, 200);
        surface.show();
    }

    // Writes the page as the builder's caller does and shows it.
    void show(const QString &page)
    {
        const QString path = home.file(marqueePageFileName());
        testsupport::writeBytes(path, platform::encodeCp932(page));
        surface.navigate(path);
    }

    QImage grab()
    {
        QImage image(surface.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        surface.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }
};

bool isOrange(QRgb p)
{
    return qAlpha(p) == 255 && qRed(p) > 200 && qGreen(p) > 120 && qGreen(p) < 200 && qBlue(p) < 60;
}

bool isBlack(QRgb p)
{
    return qAlpha(p) == 255 && qRed(p) < 30 && qGreen(p) < 30 && qBlue(p) < 30;
}

// Horizontal extent of the pixels that pass the test, or (-1, -1).
QPair<int, int> columnsWhere(const QImage &image, bool (*test)(QRgb))
{
    int from = -1, to = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (test(image.pixel(x, y))) {
                from = from < 0 ? x : std::min(from, x);
                to = std::max(to, x);
            }
    return {from, to};
}

QString onePage(const QString &text, const QString &colour = QStringLiteral(" color:orange;"))
{
    return marqueePage(marqueeRows(text, colour, 1, 0, QStringLiteral("13")));
}

} // namespace

TEST(MarqueeSurface, MovesEachMarqueeFromTheRightEdgeByElapsedTime)
{
    SurfaceFixture f;
    f.show(onePage(QStringLiteral("ｷﾀ━━(ﾟ∀ﾟ)━━")));
    ASSERT_EQ(f.surface.marqueeCount(), 5);
    EXPECT_TRUE(f.surface.isAnimating());

    // The coloured copy (right:2) enters at x = 998; the copies 1 px right/left at 999/997.
    const QRectF start = *f.surface.marqueeContentRect(4);
    EXPECT_DOUBLE_EQ(start.left(), 998);
    EXPECT_DOUBLE_EQ(start.top(), 3);
    EXPECT_DOUBLE_EQ(f.surface.marqueeContentRect(0)->left(), 999);
    EXPECT_DOUBLE_EQ(f.surface.marqueeContentRect(1)->left(), 997);
    EXPECT_DOUBLE_EQ(f.surface.marqueeContentRect(2)->top(), 2);
    EXPECT_DOUBLE_EQ(f.surface.marqueeContentRect(3)->top(), 4);
    EXPECT_GT(start.width(), 100);
    EXPECT_NEAR(start.height(), 30, 1);
    // Nothing is drawn before the text enters.
    EXPECT_EQ(columnsWhere(f.grab(), isOrange).first, -1);

    // 13 px every 85 ms: 130 px after 850 ms, partly entered and clipped at the box's edge.
    f.now += 850;
    EXPECT_DOUBLE_EQ(f.surface.marqueeContentRect(4)->left(), 868);
    auto [from, to] = columnsWhere(f.grab(), isOrange);
    EXPECT_GE(from, 868 - 4);
    EXPECT_LE(to, 997);

    // Wholly inside: every pixel of the text lies within its content box (one blit of the
    // merged outline image from here on).
    f.now += 85 * 40;
    const QRectF inside = *f.surface.marqueeContentRect(4);
    EXPECT_DOUBLE_EQ(inside.left(), 868 - 13 * 40);
    std::tie(from, to) = columnsWhere(f.grab(), isOrange);
    EXPECT_GE(from, int(inside.left()) - 3);
    EXPECT_LE(to, int(inside.right()) + 3);
    EXPECT_GT(to - from, inside.width() / 2);
}

TEST(MarqueeSurface, EndsOnceWhollyPastTheLeftEdgeAndStopsTicking)
{
    SurfaceFixture f;
    f.show(onePage(QStringLiteral("short")));
    const QRectF start = *f.surface.marqueeContentRect(4);
    const double runMs = (998 + start.width()) * 85 / 13;

    f.now += qint64(runMs) - 20;
    const QRectF last = *f.surface.marqueeContentRect(4);
    EXPECT_LT(last.right(), 5);
    EXPECT_GT(last.right(), 0);

    f.now += 40;
    EXPECT_FALSE(f.surface.marqueeContentRect(4).has_value());
    // The outermost copy (right:1) is the last to go.
    f.now += 200;
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(f.surface.marqueeContentRect(i).has_value()) << i;
    EXPECT_TRUE(testsupport::waitUntil([&] { return !f.surface.isAnimating(); }));
    EXPECT_EQ(columnsWhere(f.grab(), isOrange).first, -1);

    // An empty page never starts the clock.
    f.surface.navigate(QStringLiteral("about:blank"));
    EXPECT_EQ(f.surface.marqueeCount(), 0);
    EXPECT_FALSE(f.surface.isAnimating());
    EXPECT_EQ(f.surface.locationURL(), QStringLiteral("about:blank"));
}

TEST(MarqueeSurface, KeysOutThePageBackgroundButKeepsTheOutlinedText)
{
    SurfaceFixture f;
    f.show(onePage(QStringLiteral("ｷﾀ━━━━━━")));
    f.now += 85 * 60;

    const QImage painted = f.grab();
    EXPECT_EQ(painted.pixel(5, 150), qRgb(0, 51, 102));

    f.surface.setColourKey(kKey);
    const QImage keyed = f.grab();
    EXPECT_EQ(qAlpha(keyed.pixel(5, 150)), 0);
    // The text and its black outline are still drawn, opaque, over nothing.
    int orange = 0, black = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < keyed.width(); ++x) {
            const QRgb p = keyed.pixel(x, y);
            orange += isOrange(p);
            black += qAlpha(p) == 255 && qRed(p) < 30 && qGreen(p) < 30 && qBlue(p) < 30;
        }
    EXPECT_GT(orange, 50);
    EXPECT_GT(black, 50);

    // Only the key colour is keyed: a page of another colour is painted.
    f.show(QStringLiteral("<html><body bgcolor=gainsboro></body></html>"));
    EXPECT_EQ(f.grab().pixel(5, 150), qRgb(220, 220, 220));
}

TEST(MarqueeSurface, RendersTheMiniRowAsOneMarqueeOfCells)
{
    SurfaceFixture f;
    f.show(QStringLiteral(
        "<html><body bgcolor=gainsboro><Marquee loop=1 scrollamount=\"14\"><table><tr>\r\n"
        "<td><font style=\"font-size:26px;font-weight: bold;right:1; color:orange;\"><nobr><font color=green size=2>12</font>ｷﾀ━━　　</nobr></font></td>\r\n"
        "<td><font style=\"font-size:13px;font-weight: bold;right:1; color:black;\"><nobr><font color=green size=2>13</font>一<br>二　　</nobr></font></td>\r\n"
        "</tr></table></Marquee></body></html>"));
    ASSERT_EQ(f.surface.marqueeCount(), 1);
    const QRectF box = f.surface.marqueeBox(0);
    EXPECT_DOUBLE_EQ(box.left(), 8);
    EXPECT_DOUBLE_EQ(box.top(), 8);
    EXPECT_DOUBLE_EQ(box.width(), 1000 - 16);

    f.now += 85 * 50; // 700 px in
    const QRectF content = *f.surface.marqueeContentRect(0);
    EXPECT_DOUBLE_EQ(content.left(), 992 - 700);
    const QImage image = f.grab();
    auto green = [](QRgb p) { return qGreen(p) > 90 && qRed(p) < 60 && qBlue(p) < 60; };
    int greens = 0, oranges = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            greens += green(image.pixel(x, y));
            oranges += isOrange(image.pixel(x, y));
        }
    EXPECT_GT(greens, 10);
    EXPECT_GT(oranges, 10);
}

TEST(MarqueeSurface, ShowsPageMarkupAsTextOnly)
{
    SurfaceFixture f;
    // A response body carrying markup, as convertDat leaves it decoded.
    f.show(onePage(QStringLiteral("<script>document.title='x'</script><img src=http://127.0.0.1:1/a.png>ok")));
    ASSERT_EQ(f.surface.marqueeCount(), 5);
    EXPECT_EQ(f.surface.page().marquees.at(4).blocks.at(0).lines.at(0).runs.at(0).text, QStringLiteral("ok"));
    // The surface is a plain widget: no browser engine, no child widgets to run anything.
    EXPECT_TRUE(f.surface.findChildren<QWidget *>().isEmpty());
    // A page file that cannot be read shows an empty page.
    f.surface.navigate(f.home.file(QStringLiteral("missing.html")));
    EXPECT_EQ(f.surface.marqueeCount(), 0);
}

TEST(MarqueeSurface, ShowRowsMatchesThePageReadBackFromItsFile)
{
    // The main window hands over the rows of the page it has just written instead of reading it.
    const QString page = onePage(QStringLiteral("ｷﾀ━━━(ﾟ∀ﾟ)━━━!! &amp; ～①"));
    SurfaceFixture fromFile, fromText;
    fromFile.show(page);
    const QString path = fromText.home.file(marqueePageFileName());
    fromText.surface.showRows(path, parseMarqueePage(page));
    EXPECT_EQ(fromText.surface.locationURL(), path);
    ASSERT_EQ(fromText.surface.marqueeCount(), fromFile.surface.marqueeCount());
    fromFile.now = fromText.now = 12'000;
    EXPECT_EQ(fromText.grab(), fromFile.grab());
}

TEST(MarqueeSurface, StaggerIndentMovesTheInkByItsAdvanceOnEveryPath)
{
    // The no-break-space indent of a staggered row is not drawn (its image starts at the ink),
    // yet the text must land exactly where the indent puts it: while entering (each copy drawn
    // on its own) and once wholly inside (the four black copies as one merged image).
    auto nbsp = [](int n) { return QStringLiteral("&nbsp;").repeated(n); };
    const QString text = QStringLiteral("ｷﾀ━━");
    QFont font(MarqueeSurface().fontFamily());
    font.setPixelSize(26);
    font.setBold(true);
    const double indent = QFontMetricsF(font).horizontalAdvance(QString(24, QChar(0x00A0)));
    ASSERT_GT(indent, 100);

    SurfaceFixture plain, staggered;
    plain.show(onePage(text));
    staggered.show(onePage(nbsp(24) + text));
    for (const int revealed : {300, 650}) {
        SCOPED_TRACE(revealed);
        plain.now = staggered.now = 10'000 + qint64(revealed) * 85 / 13;
        const auto [plainFrom, plainTo] = columnsWhere(plain.grab(), isOrange);
        const auto [from, to] = columnsWhere(staggered.grab(), isOrange);
        ASSERT_GE(plainFrom, 0);
        EXPECT_NEAR(from, plainFrom + indent, 1.0);
        EXPECT_NEAR(to, std::min(plainTo + indent, 997.0), 1.0);
        const auto [plainBlack, plainBlackTo] = columnsWhere(plain.grab(), isBlack);
        const auto [black, blackTo] = columnsWhere(staggered.grab(), isBlack);
        ASSERT_GE(plainBlack, 0);
        EXPECT_NEAR(black, plainBlack + indent, 1.0);
        EXPECT_NEAR(blackTo, std::min(plainBlackTo + indent, 999.0), 1.0);
    }

    // Two lines with different indents: each line keeps its own.
    SurfaceFixture twoLines;
    twoLines.show(onePage(nbsp(24) + text + QStringLiteral("<br>") + nbsp(8) + text));
    twoLines.now = 10'000 + 650 * 85 / 13;
    const QImage image = twoLines.grab();
    const double left = twoLines.surface.marqueeContentRect(4)->left();
    const int first = columnsWhere(image.copy(0, 0, image.width(), 33), isOrange).first;
    const int second = columnsWhere(image.copy(0, 34, image.width(), 40), isOrange).first;
    const int plainFirst = columnsWhere(plain.grab(), isOrange).first;
    EXPECT_NEAR(first - second, indent * 16 / 24, 1.0);
    EXPECT_NEAR(second, plainFirst + indent / 3, 1.0);
    EXPECT_GT(second, left);
}

TEST(MarqueeSurface, FramesLeaveTheSameScreenAsAWholeRepaint)
{
    // Frames repaint only the moving rows, or, when every row moves by the same whole pixels,
    // scroll what the window already holds and draw only the uncovered columns. Either way, what
    // the window holds must equal a whole repaint at the same instant: no trails, no row drawn
    // at a stale time, no column left behind at a box's edge. Rows run out in between.
    const QString texts[] = {QStringLiteral("ｷﾀ━━━(ﾟ∀ﾟ)━━━!!"), QStringLiteral("short"),
                             QStringLiteral("a much longer response that takes a while to go by")};
    struct Case
    {
        const char *name;
        bool sameSpeed;  // one page's rows all move together
        bool keyed;      // background keyed out in a see-through window
        qint64 stepMs;
        int lastStep;
        int compareEvery;
    };
    const Case cases[] = {
        {"rows at different speeds", false, false, 450, 10, 1},
        {"one speed, painted background", true, false, 23, 80, 10},
        {"one speed, see-through", true, true, 23, 80, 10},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString rows;
        for (int i = 0; i < 6; ++i)
            rows += marqueeRows(texts[i % 3], QStringLiteral(" color:orange;"), 1 + i, i * 2,
                                QStringLiteral("%1").arg(c.sameSpeed ? 40 : 3 + 4 * i));
        QWidget host;
        host.setAttribute(Qt::WA_TranslucentBackground, c.keyed);
        host.resize(400, 340);
        QWidget frame(&host); // the surface reaches below its frame, as in the main window
        frame.setGeometry(0, 0, 400, 300);
        SurfaceFixture f;
        f.surface.setParent(&frame);
        f.surface.setGeometry(0, 0, 400, 320);
        if (c.keyed)
            f.surface.setColourKey(kKey);
        host.show();
        f.show(marqueePage(rows));
        QWindow *window = host.windowHandle();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(testsupport::waitUntil([&] { return window->isExposed(); }));
        for (int step = 1; step <= c.lastStep; ++step) {
            f.now = 10'000 + step * c.stepMs;
            // Let frames run at this instant (the timer runs on real time, the clock is ours); a
            // few before a comparison, so that one has surely been painted.
            const bool compare = step % c.compareEvery == 0;
            QElapsedTimer frames;
            frames.start();
            while (frames.elapsed() < (compare ? 60 : 20))
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            if (!compare)
                continue;
            SCOPED_TRACE(step);
            ASSERT_TRUE(f.surface.isAnimating());
            // The grab drops alpha, which leaves a see-through window's pixels as over black.
            const QImage onScreen = host.screen()->grabWindow(host.winId(), 0, 0, 400, 300).toImage()
                                        .convertToFormat(QImage::Format_RGB32);
            QImage whole(frame.size(), QImage::Format_RGB32);
            whole.fill(Qt::black);
            QPainter(&whole).drawImage(0, 0, f.grab()); // the part within the host
            ASSERT_EQ(onScreen.size(), whole.size());
            EXPECT_TRUE(onScreen == whole);
            if (onScreen != whole) { onScreen.save(QStringLiteral("/tmp/ms-screen-%1.png").arg(step)); whole.save(QStringLiteral("/tmp/ms-whole-%1.png").arg(step));
              QImage d = whole.copy(); for (int y=0;y<d.height();++y) for(int x=0;x<d.width();++x) d.setPixel(x,y, onScreen.pixel(x,y)==whole.pixel(x,y)?0xff000000:0xffffffff); d.save("/tmp/ms-diff.png"); }
        }
        EXPECT_EQ(f.surface.scrolledFrames() > 0, c.sameSpeed);
        f.surface.setParent(nullptr);
    }
}

TEST(MarqueeSurface, MergedRowsDropTheirOwnImagesAndStillDrawAfterAResize)
{
    // Once a response's copies have entered they are drawn from one merged image and their own
    // images are dropped; a resize must render them again rather than draw nothing.
    QString rows;
    for (int i = 0; i < 4; ++i)
        rows += marqueeRows(i % 2 ? QStringLiteral("short") : QStringLiteral("a longer response going by"),
                            QStringLiteral(" color:orange;"), 1 + i, i * 2, QStringLiteral("%1").arg(6 + 6 * i));
    SurfaceFixture merged, fresh;
    for (SurfaceFixture *f : {&merged, &fresh}) {
        f->surface.resize(700, 300);
        f->show(marqueePage(rows));
    }
    merged.now = 13'000; // every row has entered
    const QImage before = merged.grab();
    EXPECT_TRUE(columnsWhere(before, isOrange).first >= 0);
    merged.surface.resize(500, 300);
    merged.surface.resize(700, 300);
    merged.now = fresh.now = 14'000;
    EXPECT_TRUE(merged.grab() == fresh.grab());
}
