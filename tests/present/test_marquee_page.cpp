// Reading marquee pages (main and mini format) and the motion of a marquee over time.
#include "present/MarqueeMotion.h"
#include "present/MarqueePage.h"
#include "present/MarqueePageBuilder.h"

#include <gtest/gtest.h>

namespace {

QString textOf(const MarqueeBlock &block)
{
    QStringList lines;
    for (const MarqueeLine &line : block.lines) {
        QString text;
        for (const MarqueeRun &run : line.runs)
            text += run.text;
        lines << text;
    }
    return lines.join(QLatin1Char('|'));
}

const QChar kNbsp(0x00A0);

} // namespace

TEST(MarqueePage, ReadsTheOutlinedRowsTheBuilderWrites)
{
    const QString rows = marqueeRows(QStringLiteral("&nbsp;&nbsp;ab&nbsp;c<br>&nbsp;&nbsp;d"), QStringLiteral(" color:orange;"), 2, 1, QStringLiteral("13"))
        + marqueeRows(QStringLiteral("x"), QStringLiteral(" color:#FFFFCC;"), 3, 3, QStringLiteral("22"));
    const MarqueePage page = parseMarqueePage(marqueePage(rows));
    EXPECT_EQ(page.background, std::optional<MarqueeRgb>(0x003366));
    ASSERT_EQ(page.marquees.size(), 10);

    struct Expect { int top; int right; MarqueeRgb colour; };
    const Expect first[] = {{30, 1, 0x000000}, {30, 3, 0x000000}, {31, 2, 0x000000}, {29, 2, 0x000000}, {30, 2, 0xFFA500}};
    for (int i = 0; i < 5; ++i) {
        const MarqueeElement &m = page.marquees.at(i);
        EXPECT_TRUE(m.absolute);
        EXPECT_EQ(m.top, first[i].top) << i;
        EXPECT_EQ(m.right, first[i].right) << i;
        EXPECT_EQ(m.loop, 1);
        EXPECT_EQ(m.scrollAmount, 13);
        EXPECT_EQ(m.scrollDelayMs, 85);
        ASSERT_EQ(m.blocks.size(), 1);
        // "&nbsp;" runs keep their width; "<br>" starts a line.
        EXPECT_EQ(textOf(m.blocks.at(0)), QString(2, kNbsp) + QStringLiteral("ab") + kNbsp + QStringLiteral("c|")
                                              + QString(2, kNbsp) + QStringLiteral("d"));
        const MarqueeRun &run = m.blocks.at(0).lines.at(0).runs.at(0);
        EXPECT_EQ(run.pixelSize, 26);
        EXPECT_TRUE(run.bold);
        EXPECT_EQ(run.colour, first[i].colour);
    }
    EXPECT_EQ(page.marquees.at(9).scrollAmount, 22);
    EXPECT_EQ(page.marquees.at(9).blocks.at(0).lines.at(0).runs.at(0).colour, 0xFFFFCCu);
}

TEST(MarqueePage, ReadsTheMiniRowOfCells)
{
    const QString page = QStringLiteral(
        "<html><body bgcolor=gainsboro><Marquee loop=1 scrollamount=\"14\"><table><tr>\r\n"
        "<td><font style=\"font-size:26px;font-weight: bold;right:1; color:black;\"><nobr><font color=green size=2>12</font>ふつう　　</nobr></font></td>\r\n"
        "<td><font style=\"font-size:13px;font-weight: bold;right:1; color:orange;\"><nobr><font color=green size=2>13</font>ｷﾀ<br>二行目　　</nobr></font></td>\r\n"
        "</tr></table></Marquee></body></html>");
    const MarqueePage parsed = parseMarqueePage(page);
    EXPECT_EQ(parsed.background, std::optional<MarqueeRgb>(0xDCDCDC));
    ASSERT_EQ(parsed.marquees.size(), 1);
    const MarqueeElement &m = parsed.marquees.at(0);
    EXPECT_FALSE(m.absolute);
    EXPECT_TRUE(m.tableRow);
    EXPECT_EQ(m.scrollAmount, 14);
    ASSERT_EQ(m.blocks.size(), 2);
    EXPECT_EQ(textOf(m.blocks.at(0)), QStringLiteral("12ふつう　　"));
    EXPECT_EQ(textOf(m.blocks.at(1)), QStringLiteral("13ｷﾀ|二行目　　"));

    // The number: small green, bold inherited; the text: the cell's size and colour.
    const MarqueeRun &number = m.blocks.at(0).lines.at(0).runs.at(0);
    EXPECT_EQ(number.colour, 0x008000u);
    EXPECT_EQ(number.pixelSize, 13);
    EXPECT_TRUE(number.bold);
    const MarqueeRun &text = m.blocks.at(1).lines.at(0).runs.at(1);
    EXPECT_EQ(text.colour, 0xFFA500u);
    EXPECT_EQ(text.pixelSize, 13);
}

TEST(MarqueePage, NothingInAPageBecomesActiveContent)
{
    // What a response can smuggle into a page: decoded markup, scripts, handlers, frames, links.
    const QString page = QStringLiteral(
        "<html><body bgcolor=#003366 onload=\"alert(1)\"><script>document.write('x')</script>"
        "<Marquee loop=1 scrollamount=\"13\" onstart=\"alert(2)\" style=\"color:#000000;position:absolute;right:2\">"
        "&lt;script&gt;alert(3)&lt;/script&gt;<script>alert(4)</script><img src=\"http://x.example/a.png\" onerror=alert(5)>"
        "<a href=\"javascript:alert(6)\">link</a><iframe src=\"http://x.example/\">frame text</iframe>"
        "<style>body{display:none}</style><!-- hidden --><b>bold</b> &amp; &#x41;&#66; &bogus; a"
        "</marquee>outside text");
    const MarqueePage parsed = parseMarqueePage(page);
    ASSERT_EQ(parsed.marquees.size(), 1);
    // Escaped markup is shown as text; real markup is dropped with its text kept (links) or
    // with its content (scripts, styles, frames); references are decoded once.
    EXPECT_EQ(textOf(parsed.marquees.at(0).blocks.at(0)),
              QStringLiteral("<script>alert(3)</script>linkbold & AB &bogus; a"));

    // A stray "<" that opens no tag is text.
    const MarqueePage lt = parseMarqueePage(QStringLiteral("<marquee>( ´∀`)< ぬるぽ 1 <2</marquee>"));
    EXPECT_EQ(textOf(lt.marquees.at(0).blocks.at(0)), QStringLiteral("( ´∀`)< ぬるぽ 1 <2"));

    // Whitespace collapses as in a browser; a marquee left open ends with the page.
    const MarqueePage open = parseMarqueePage(QStringLiteral("<marquee loop=0 scrollamount=x>  a \r\n  b  <br>  c"));
    ASSERT_EQ(open.marquees.size(), 1);
    EXPECT_EQ(textOf(open.marquees.at(0).blocks.at(0)), QStringLiteral("a b|c"));
    EXPECT_EQ(open.marquees.at(0).loop, -1);
    EXPECT_EQ(open.marquees.at(0).scrollAmount, 6);
}

TEST(MarqueePage, ReadsColoursAndLengths)
{
    struct Colour { const char *text; std::optional<MarqueeRgb> rgb; };
    for (const Colour &c : {Colour{"#003366", 0x003366}, Colour{"003366", 0x003366}, Colour{"#FFFFCC", 0xFFFFCC},
                            Colour{"#fc0", 0xFFCC00}, Colour{"AliceBlue", 0xF0F8FF}, Colour{"hotpink", 0xFF69B4},
                            Colour{"nonsense", std::nullopt}, Colour{"#12345", std::nullopt}, Colour{"", std::nullopt}})
        EXPECT_EQ(parseCssColour(QString::fromLatin1(c.text)), c.rgb) << c.text;

    EXPECT_EQ(parseCssPixels(QStringLiteral("26px")), 26);
    EXPECT_EQ(parseCssPixels(QStringLiteral(" 3 ")), 3);
    EXPECT_EQ(parseCssPixels(QStringLiteral("-1px")), -1);
    EXPECT_EQ(parseCssPixels(QStringLiteral("auto")), std::nullopt);
}

TEST(MarqueeMotion, EntersAtTheRightEdgeAndRunsOnceUntilPastTheLeft)
{
    MarqueeElement element;
    element.absolute = true;
    element.right = 2;
    const MarqueeBox box = marqueeBox(element, 1000);
    EXPECT_DOUBLE_EQ(box.left, 0);
    EXPECT_DOUBLE_EQ(box.width, 998);

    // scrollamount 13 every 85 ms, content 300 px wide.
    const MarqueeTrack track(box, 300, 13, 85, 1);
    EXPECT_EQ(track.contentLeft(0), 998.0);
    EXPECT_DOUBLE_EQ(*track.contentLeft(85), 985.0);
    EXPECT_DOUBLE_EQ(*track.contentLeft(850), 868.0);
    EXPECT_DOUBLE_EQ(*track.contentLeft(42.5), 991.5); // continuous between steps
    // One run covers box width + content width.
    EXPECT_DOUBLE_EQ(track.runMs(), (998.0 + 300.0) * 85 / 13);
    EXPECT_TRUE(track.contentLeft(track.runMs() - 1).has_value());
    EXPECT_FALSE(track.contentLeft(track.runMs()).has_value());
    EXPECT_FALSE(track.contentLeft(track.runMs() * 3).has_value());
    EXPECT_TRUE(track.finished(track.runMs()));

    // Two runs start over at the right edge; a marquee without loop never ends.
    const MarqueeTrack twice(box, 300, 13, 85, 2);
    EXPECT_NEAR(*twice.contentLeft(twice.runMs() + 85), 985.0, 1e-6);
    EXPECT_FALSE(MarqueeTrack(box, 300, 13, 85, -1).finished(1e12));
    // A marquee that cannot move never finishes either, and never divides by zero.
    EXPECT_EQ(MarqueeTrack(box, 300, 0, 85, 1).contentLeft(1e6), 998.0);

    // In the flow: inside the body's 8 px margin.
    MarqueeElement flow;
    const MarqueeBox inFlow = marqueeBox(flow, 500);
    EXPECT_DOUBLE_EQ(inFlow.left, 8);
    EXPECT_DOUBLE_EQ(inFlow.width, 484);
}
