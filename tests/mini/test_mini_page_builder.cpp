// The mini builders: the one-row page literally, font size by kept lines, colours, no image
// handling, the shared bookkeeping and the end of a thread in both modes.
#include "TestSupport.h"
#include "mini/MiniLayout.h"
#include "mini/MiniPageBuilder.h"
#include "net/ResponseRecord.h"
#include "platform/Cp932.h"
#include "present/MarqueePage.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kThread = QStringLiteral("http://livea.example.net/test/read.cgi/livenhk/1231808850/");

ResponseRecord makeRecord(const QStringList &bodies)
{
    QStringList numbers, names, times, all = bodies;
    for (int i = 0; i < bodies.size(); ++i) {
        numbers << QString::number(i + 1);
        names << QStringLiteral("名無しさん");
        times << QStringLiteral("2009/01/13(火) 21:00:00 ID:abc");
    }
    numbers << QString();
    names << QString();
    times << QString();
    all << QString();
    ResponseRecord record;
    record.assign(numbers, names, times, all);
    return record;
}

QStringList plainBodies(int from, int to)
{
    QStringList bodies;
    for (int n = from; n <= to; ++n)
        bodies << QStringLiteral("レス%1").arg(n);
    return bodies;
}

// A dat thread already shown up to `shown` responses.
struct DatThread
{
    ThreadPosition position;
    MiniSettings settings;
    qint32 lngMsgCount = 0;

    explicit DatThread(int shown, int maxRow = 10)
    {
        position.blnIsFirst = false;
        position.intLastDt = shown;
        position.intZenkaiLastDT = shown;
        settings.label3 = kThread + QString::number(shown) + QStringLiteral("n-");
        settings.strGetSintyakuFooter = QStringLiteral("n-");
        settings.comboMax = QStringLiteral("30");
        settings.intMaxRow = maxRow;
        settings.intNextWhen1000 = 2;
    }

    // The thread's first `shown` plain responses followed by the given new ones.
    MiniBuild build(const QStringList &newBodies)
    {
        return createTextFromDatWebScrollMini(position, makeRecord(plainBodies(1, position.intLastDt) + newBodies),
                                              settings, lngMsgCount);
    }
};

// The cells of a page, without their CR LF.
QStringList cellsOf(const QString &page)
{
    QStringList lines = page.split(QStringLiteral("\r\n"));
    lines.removeFirst(); // the opening
    lines.removeLast();  // the closing
    return lines;
}

QString readCgiPage()
{
    return platform::decodeCp932(testsupport::fixtureBytes(QStringLiteral("readcgi/livenhk_1231808850_49n-.html")));
}

} // namespace

TEST(MiniBuilder, ThreeOneLineResponsesMakeOneRowOfThreeCellsOfSize26)
{
    DatThread thread(100);
    const MiniBuild build = thread.build({QStringLiteral("はじまった"), QStringLiteral(" ABC "),
                                          QStringLiteral("ｷﾀ━━━(ﾟ∀ﾟ)━━━!!")});
    ASSERT_EQ(build.outcome, MiniBuild::Outcome::Shown);
    const QString expected = QStringLiteral(
        "<html><body bgcolor=gainsboro><Marquee loop=1 scrollamount=\"14\"><table><tr>\r\n"
        "<td><font style=\"font-size:26px;font-weight: bold;right:1; color:black;\"><nobr>"
        "<font color=green size=2>101</font>はじまった\u3000\u3000</nobr></font></td>\r\n"
        "<td><font style=\"font-size:26px;font-weight: bold;right:1; color:black;\"><nobr>"
        "<font color=green size=2>102</font> abc \u3000\u3000</nobr></font></td>\r\n"
        "<td><font style=\"font-size:26px;font-weight: bold;right:1; color:orange;\"><nobr>"
        "<font color=green size=2>103</font>ｷﾀ━━━(ﾟ∀ﾟ)━━━!!\u3000\u3000</nobr></font></td>\r\n"
        "</tr></table></Marquee></body></html>");
    EXPECT_EQ(build.page, expected);
    EXPECT_EQ(build.cells, 3);
    EXPECT_EQ(build.label3, kThread + QStringLiteral("103n-"));
    EXPECT_EQ(build.label1, QStringLiteral("103"));
    EXPECT_FALSE(build.threadEnded);
    EXPECT_EQ(thread.lngMsgCount, 4); // set to 1 from 0, then one per response

    // The page reader sees one marquee of scroll amount 14 holding a row of three cells.
    const MarqueePage page = parseMarqueePage(build.page);
    ASSERT_EQ(page.marquees.size(), 1);
    EXPECT_EQ(page.marquees.at(0).scrollAmount, 14);
    EXPECT_EQ(page.marquees.at(0).loop, 1);
    EXPECT_TRUE(page.marquees.at(0).tableRow);
    EXPECT_EQ(page.marquees.at(0).blocks.size(), 3);
    EXPECT_EQ(page.background, 0xDCDCDCu);
}

TEST(MiniBuilder, FontSizeShrinksWithTheLinesKept)
{
    struct Case
    {
        QString body;
        int maxRow;
        int size;
        bool endsInBr;
    };
    const QString five = QStringLiteral("一<br>二<br>三<br>四<br>五");
    const Case cases[] = {
        {QStringLiteral("一行"), 10, 26, false},
        {QStringLiteral("一<br>二"), 10, 13, false},
        {QStringLiteral("一<br>二<br>三"), 10, 9, false},
        {QStringLiteral("一<br>二<br>三<br>四"), 10, 6, false},  // 6.5 rounds to even
        {five, 4, 6, true},                                       // cut to four lines
        {five, 1, 26, true},
        {QStringLiteral("一<br><br>二"), 10, 26, false},          // "<br><br>" removed first
        {QStringLiteral("1<br>2<br>3<br>4<br>5<br>6<br>7<br>8<br>9<br>10<br>11"), 10, 3, true},
    };
    for (const Case &c : cases) {
        DatThread thread(5, c.maxRow);
        const MiniBuild build = thread.build({c.body});
        ASSERT_EQ(build.outcome, MiniBuild::Outcome::Shown) << qPrintable(c.body);
        const QString cell = cellsOf(build.page).value(0);
        EXPECT_TRUE(cell.contains(QStringLiteral("font-size:%1px;").arg(c.size)))
            << qPrintable(c.body) << " " << qPrintable(cell);
        EXPECT_EQ(cell.endsWith(QStringLiteral("<br>\u3000\u3000</nobr></font></td>")), c.endsInBr)
            << qPrintable(cell);
    }
    EXPECT_EQ(miniFontSize(0), 26);
    EXPECT_EQ(miniFontSize(5), 5);
}

TEST(MiniBuilder, ColoursFollowKeywordsWithBlackForPlainText)
{
    const struct
    {
        QString body;
        QString colour;
    } cases[] = {
        {QStringLiteral("普通のレス"), QStringLiteral(" color:black;\">")},
        {QStringLiteral("ﾊｧﾊｧ ｷﾀ"), QStringLiteral(" color:orange;\">")},
        {QStringLiteral("キターーー"), QStringLiteral(" color:orange;\">")},
        {QStringLiteral("ﾊｧﾊｧ"), QStringLiteral(" color:hotpink;\">")},
        {QStringLiteral("ウホッ！いい男"), QStringLiteral(" color:magenta;\">")},
        {QStringLiteral("アッー！ ﾊｧﾊｧ"), QStringLiteral(" color:hotpink;\">")},
    };
    for (const auto &c : cases) {
        DatThread thread(1);
        const QString cell = cellsOf(thread.build({c.body}).page).value(0);
        EXPECT_TRUE(cell.contains(c.colour)) << qPrintable(c.body) << " " << qPrintable(cell);
    }
}

TEST(MiniBuilder, LinksBecomeTextAndImageAddressesStayInTheText)
{
    DatThread thread(10);
    const MiniBuild build = thread.build(
        {QStringLiteral("<a href=\"../test/read.cgi/livenhk/1231808850/3\" target=\"_blank\">&gt;&gt;3</a> 画像 "
                        "http://img.example.net/A.JPG")});
    const QString cell = cellsOf(build.page).value(0);
    EXPECT_TRUE(cell.contains(QStringLiteral(">>3 画像 http://img.example.net/a.jpg\u3000\u3000"))) << qPrintable(cell);
    EXPECT_FALSE(cell.contains(QStringLiteral("imegewindow")));
    EXPECT_FALSE(cell.contains(QStringLiteral("&nbsp;")));
}

// A body's markup cannot close the page's one marquee, recolour the strip or hide later cells.
TEST(MiniBuilder, MarkupInAResponseIsShownAsItsTextAndLeavesThePageIntact)
{
    const QString hostile = QStringLiteral("</nobr></font></td></tr></table></Marquee><body bgcolor=red>");
    DatThread thread(10);
    const MiniBuild build = thread.build({hostile, QStringLiteral("a<br><b>x"), QStringLiteral("last")});
    ASSERT_EQ(build.outcome, MiniBuild::Outcome::Shown);
    const MarqueePage page = parseMarqueePage(build.page);
    EXPECT_EQ(page.background, parseCssColour(QStringLiteral("gainsboro")));
    ASSERT_EQ(page.marquees.size(), 1);
    const QList<MarqueeBlock> &cells = page.marquees.at(0).blocks;
    ASSERT_EQ(cells.size(), 3);
    auto lineText = [](const MarqueeLine &line) {
        QString text;
        for (const MarqueeRun &run : line.runs)
            text += run.text;
        return text;
    };
    EXPECT_EQ(lineText(cells.at(0).lines.value(0)), QStringLiteral("11") + hostile.toLower() + QStringLiteral("\u3000\u3000"));
    ASSERT_EQ(cells.at(1).lines.size(), 2);
    EXPECT_EQ(lineText(cells.at(1).lines.at(1)), QStringLiteral("<b>x\u3000\u3000"));
    EXPECT_TRUE(lineText(cells.at(2).lines.value(0)).contains(QStringLiteral("last")));
}

TEST(MiniBuilder, BatchRangeAndPositionAreTheMainBuilders)
{
    // comboMax "10": 25 new responses show the first 11; the next batch starts at the newest.
    DatThread thread(40);
    thread.settings.comboMax = QStringLiteral("10");
    const MiniBuild build = thread.build(plainBodies(41, 65));
    const QStringList cells = cellsOf(build.page);
    ASSERT_EQ(cells.size(), 11);
    EXPECT_TRUE(cells.first().contains(QStringLiteral(">41</font>レス41")));
    EXPECT_TRUE(cells.last().contains(QStringLiteral(">51</font>レス51")));
    EXPECT_EQ(thread.position.intZenkaiLastDT, 40);
    EXPECT_EQ(thread.position.intLastDt, 65);

    // The same dat again: nothing new, no page, no captions, no count.
    thread.settings.label3 = *build.label3;
    const qint32 count = thread.lngMsgCount;
    thread.position.intLastDt = 65;
    const MiniBuild again = createTextFromDatWebScrollMini(thread.position, makeRecord(plainBodies(1, 65)),
                                                           thread.settings, thread.lngMsgCount);
    EXPECT_EQ(again.outcome, MiniBuild::Outcome::NothingNew);
    EXPECT_TRUE(again.page.isEmpty());
    EXPECT_FALSE(again.label3.has_value());
    EXPECT_FALSE(again.label1.has_value());
    EXPECT_EQ(thread.lngMsgCount, count);

    // A comboMax without a number ends the build after the captions, without a page.
    DatThread broken(3);
    broken.settings.comboMax = QStringLiteral("たくさん");
    const MiniBuild failed = broken.build({QStringLiteral("新着")});
    EXPECT_EQ(failed.outcome, MiniBuild::Outcome::Failed);
    EXPECT_EQ(failed.label3, kThread + QStringLiteral("4n-"));
    EXPECT_TRUE(failed.page.isEmpty());
}

TEST(MiniBuilder, FirstCallRecordsThePositionAndTouchesOnlyTheCountdown)
{
    for (const int responses : {120, 1001}) {
        ThreadPosition position;
        MiniSettings settings;
        settings.label3 = kThread + QStringLiteral("l50");
        settings.strGetSintyakuFooter = QStringLiteral("n-");
        settings.comboMax = QStringLiteral("10");
        qint32 count = 0;
        const MiniBuild first = createTextFromDatWebScrollMini(position, makeRecord(plainBodies(1, responses)),
                                                               settings, count);
        EXPECT_EQ(first.outcome, MiniBuild::Outcome::FirstCall);
        EXPECT_TRUE(first.page.isEmpty());
        EXPECT_EQ(first.label3, kThread + QString::number(responses) + QStringLiteral("n-"));
        EXPECT_EQ(first.alreadyFull, responses == 1001);
        EXPECT_EQ(first.startCountdown, responses != 1001);
        EXPECT_FALSE(first.threadEnded);
        EXPECT_EQ(count, 0);
    }
}

TEST(MiniBuilder, EndOfThreadDisablesTheMiniStartOnlyInDatMode)
{
    DatThread dat(998);
    dat.settings.intNextWhen1000 = 0;
    const MiniBuild datEnd = dat.build({QStringLiteral("999"), QStringLiteral("1000"),
                                        QStringLiteral("このスレッドは1000を超えました。")});
    ASSERT_EQ(datEnd.outcome, MiniBuild::Outcome::Shown);
    EXPECT_TRUE(datEnd.threadEnded);
    EXPECT_TRUE(datEnd.disableMiniCommand1);
    EXPECT_EQ(datEnd.next, EndOfThreadAction::AutoMoveNextSure);

    ThreadPosition position;
    position.blnIsFirst = false;
    position.intLastDt = 1000;
    MiniSettings settings;
    settings.label3 = kThread + QStringLiteral("1000n-");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    settings.comboMax = QStringLiteral("10");
    settings.intNextWhen1000 = 1;
    QString text2 = QStringLiteral("<html><dl><dt>1000 ：名無し：2009/01/13<dd> 1000ならsage <br><br>"
                                   "<dt>1001 ：１００１：Over 1000 Thread<dd> このスレッドは1000を超えました。 <br><br>"
                                   "</dl></html>");
    qint32 count = 0;
    const MiniBuild webEnd = createTextWebScrollMini(position, text2, settings, count);
    ASSERT_EQ(webEnd.outcome, MiniBuild::Outcome::Shown);
    EXPECT_TRUE(webEnd.threadEnded);
    EXPECT_FALSE(webEnd.disableMiniCommand1);
    EXPECT_EQ(webEnd.next, EndOfThreadAction::ShowSureItiran);
    EXPECT_EQ(cellsOf(webEnd.page).size(), 1);
    EXPECT_TRUE(text2.startsWith(QStringLiteral("<dt>1000 ")));
}

TEST(MiniBuilder, WebModeAgainstAReadCgiPage)
{
    ThreadPosition position;
    position.blnIsFirst = false;
    position.intLastDt = 49;
    MiniSettings settings;
    settings.label3 = kThread + QStringLiteral("49n-");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    settings.comboMax = QStringLiteral("30");
    settings.intMaxRow = 2;
    qint32 count = 0;
    QString text2 = readCgiPage();
    ASSERT_FALSE(text2.isEmpty());
    const MiniBuild build = createTextWebScrollMini(position, text2, settings, count);
    ASSERT_EQ(build.outcome, MiniBuild::Outcome::Shown);
    EXPECT_EQ(build.label3, kThread + QStringLiteral("65n-"));

    const QStringList cells = cellsOf(build.page);
    ASSERT_EQ(cells.size(), 15); // 51 .. 65; 50 was shown before
    EXPECT_TRUE(cells.first().contains(QStringLiteral(">51 </font>"))) << qPrintable(cells.first());
    for (const QString &cell : cells) {
        // Every tag left in the text is one the page reader drops: no posting form, no "</dd>".
        EXPECT_FALSE(cell.contains(QStringLiteral("</dd>"))) << qPrintable(cell);
        EXPECT_FALSE(cell.contains(QStringLiteral("<form"), Qt::CaseInsensitive)) << qPrintable(cell);
        EXPECT_EQ(cell.count(QStringLiteral("<td>")), 1);
    }
    // Text is lower-cased; nothing of it reaches the image lists (there are none to reach).
    EXPECT_EQ(cells.join(QString()).count(QRegularExpression(QStringLiteral("[A-Z]"))), 0);
    EXPECT_EQ(count, 16);

    // comboMax "10" shows at most nine.
    ThreadPosition again;
    again.blnIsFirst = false;
    again.intLastDt = 49;
    settings.comboMax = QStringLiteral("10");
    QString text2b = readCgiPage();
    EXPECT_EQ(cellsOf(createTextWebScrollMini(again, text2b, settings, count).page).size(), 9);
}

TEST(MiniLayout, PicturesFollowTheRightEdgeAndTheBrowserIsShiftedUpAndEnlarged)
{
    const MiniLayout narrow = miniLayoutFor(9600, 1335);
    EXPECT_EQ(narrow.image1, (TwipsRect{0, 0, 9600, 1335}));
    EXPECT_EQ(narrow.pictures.picClose.left, 9600 - 420);
    EXPECT_EQ(narrow.pictures.picMin.left, 9600 - 420 - 360);
    EXPECT_EQ(narrow.pictures.caption.width, 9600 - 780 - 350);
    EXPECT_EQ(narrow.webScroll, (TwipsRect{0, -280, narrow.frame1.width + 300, narrow.frame1.height + 300}));

    const MiniLayout wide = miniLayoutFor(12000, 1335);
    EXPECT_EQ(wide.pictures.picClose.left - narrow.pictures.picClose.left, 2400);
    EXPECT_EQ(wide.pictures.picMin.left - narrow.pictures.picMin.left, 2400);
    EXPECT_EQ(wide.pictures.caption.width - narrow.pictures.caption.width, 2400);
    EXPECT_EQ(wide.webScroll.width - narrow.webScroll.width, 2400);
    EXPECT_EQ(wide.command1, narrow.command1);
    // Controls never overlap the marquee frame.
    EXPECT_GE(narrow.command1.top, narrow.frame1.bottom());
    EXPECT_LE(narrow.lblCountDown.bottom(), 1335);
}
