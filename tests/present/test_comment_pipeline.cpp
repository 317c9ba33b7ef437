// The comment pipeline's filter stage, seen through every view's builder: what a filter is shown,
// and what a hidden response no longer takes (its place in the batch, images, comment indexes).
#include "TestSupport.h"
#include "mini/MiniPageBuilder.h"
#include "net/DatConverter.h"
#include "platform/Cp932.h"
#include "present/LabelBatchBuilder.h"
#include "present/MarqueePageBuilder.h"

#include <gtest/gtest.h>

namespace {

const QString kThread = QStringLiteral("http://livea.example.net/test/read.cgi/livenhk/1231808850/");

// Hides responses whose mail is "sage"; remembers everything it was shown.
class SageFilter : public ResponseFilter
{
public:
    mutable QList<ResponseFields> seen;
    bool hides(const ResponseFields &response) const override
    {
        seen.append(response);
        return response.mail == QStringLiteral("sage");
    }
};

ResponseRecord threadOf(const QString &lines)
{
    return convertDat(QStringLiteral("HTTP/1.0 200 OK\r\n\r\n") + lines);
}

// Responses 1..3 shown; 4 is sage with an image, 5 and 6 are plain.
const QString kDat = QStringLiteral(
    "a<><>d1<>一<>title\n" "a<><>d2<>二<>\n" "a<><>d3<>三<>\n"
    "名無し<>sage<>2024/05/01 ID:x<>隠す http://img.example.net/h.jpg<>\n"
    "b<><>d5<>五<>\n" "c<>age<>d6<>六<>\n");

} // namespace

TEST(CommentPipeline, AHiddenResponseLeavesNoTraceInAnyView)
{
    const ResponseRecord record = threadOf(kDat);
    SageFilter filter;
    auto position = [] {
        ThreadPosition p;
        p.blnIsFirst = false;
        p.intLastDt = 3;
        return p;
    };

    MarqueeSettings marquee;
    marquee.label3 = kThread + QStringLiteral("3n-");
    marquee.strGetSintyakuFooter = QStringLiteral("n-");
    marquee.comboMax = QStringLiteral("10");
    marquee.comboMaxRow = QStringLiteral("2");
    marquee.filter = &filter;
    ThreadPosition p1 = position();
    ImageLists images;
    qint32 count = 0;
    const MarqueeBuild page = createTextFromDatWebScroll(p1, record, marquee, images, count, [] { return 0.1; });
    ASSERT_EQ(page.outcome, ViewBuild::Outcome::Shown);
    // The filter saw every new response with all its fields.
    ASSERT_EQ(filter.seen.size(), 3);
    EXPECT_EQ(filter.seen.at(0).number, QStringLiteral("4"));
    EXPECT_EQ(filter.seen.at(0).name, QStringLiteral("名無し"));
    EXPECT_EQ(filter.seen.at(0).dateId, QStringLiteral("2024/05/01 ID:x"));
    EXPECT_TRUE(filter.seen.at(0).body.startsWith(QStringLiteral("隠す")));
    EXPECT_EQ(filter.seen.at(2).mail, QStringLiteral("age"));
    // Two rows of five; the second shown response is second in the stagger; no image, two indexes.
    EXPECT_EQ(page.page.count(QStringLiteral("<Marquee ")), 10);
    EXPECT_FALSE(page.page.contains(QStringLiteral("隠す")));
    EXPECT_TRUE(page.page.contains(QStringLiteral("&nbsp;").repeated(16) + QStringLiteral("六</marquee>")));
    EXPECT_FALSE(page.callSetImage);
    EXPECT_EQ(images.intImageCount(), 0);
    EXPECT_EQ(count, 3);

    LabelSettings label;
    label.label3 = marquee.label3;
    label.strGetSintyakuFooter = QStringLiteral("n-");
    label.comboMax = QStringLiteral("10");
    label.comboMaxRow = QStringLiteral("2");
    label.filter = &filter;
    ThreadPosition p2 = position();
    const LabelBuild labels = createTextFromDatLabel(p2, record, label, images);
    ASSERT_EQ(labels.comments.size(), 2);
    EXPECT_EQ(labels.comments.at(1).k, 2);
    EXPECT_EQ(labels.comments.at(1).text, QStringLiteral("六"));

    MiniSettings mini;
    mini.label3 = marquee.label3;
    mini.strGetSintyakuFooter = QStringLiteral("n-");
    mini.comboMax = QStringLiteral("10");
    mini.filter = &filter;
    ThreadPosition p3 = position();
    qint32 miniCount = 0;
    const MiniBuild cells = createTextFromDatWebScrollMini(p3, record, mini, miniCount);
    EXPECT_EQ(cells.cells, 2);
    EXPECT_FALSE(cells.page.contains(QStringLiteral("隠す")));

    // The thread view asks per record element.
    EXPECT_TRUE(isHiddenResponse(&filter, record, 3));
    EXPECT_FALSE(isHiddenResponse(&filter, record, 4));
    EXPECT_FALSE(isHiddenResponse(nullptr, record, 3));
}

TEST(CommentPipeline, WebResponsesGiveTheFilterNameMailAndDate)
{
    ThreadPosition position;
    position.blnIsFirst = false;
    MarqueeSettings settings;
    settings.label3 = kThread + QStringLiteral("49n-");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    settings.comboMax = QStringLiteral("30");
    settings.comboMaxRow = QStringLiteral("2");
    SageFilter filter;
    settings.filter = &filter;
    QString text2 = platform::decodeCp932(testsupport::fixtureBytes(QStringLiteral("readcgi/livenhk_1231808850_49n-.html")));
    ImageLists images;
    qint32 count = 0;
    const MarqueeBuild build = createTextWebScroll(position, text2, settings, images, count);
    ASSERT_EQ(filter.seen.size(), 15);
    const ResponseFields &sage = filter.seen.at(0); // response 51
    EXPECT_EQ(sage.number, QStringLiteral("51 "));
    EXPECT_EQ(sage.name, QStringLiteral("名無しさん"));
    EXPECT_EQ(sage.mail, QStringLiteral("sage"));
    EXPECT_EQ(sage.dateId, QStringLiteral("2009/01/13(火) 21:00:02 ID:aBc051Xy"));
    EXPECT_EQ(filter.seen.at(1).mail, QString());
    EXPECT_EQ(filter.seen.at(1).name, QStringLiteral("名無しさん"));
    // Five of the fifteen are sage: ten shown, the last still cut at its "</dl>".
    EXPECT_EQ(build.page.count(QStringLiteral("<Marquee ")), 50);
    EXPECT_FALSE(build.page.contains(QStringLiteral("はやい")));
    EXPECT_FALSE(build.page.contains(QStringLiteral("bbs.cgi")));
}

// Field by field, for comparing the rows with the page read back (global, so QList finds them).
bool operator==(const MarqueeRun &a, const MarqueeRun &b)
{
    return a.text == b.text && a.pixelSize == b.pixelSize && a.bold == b.bold && a.colour == b.colour;
}
bool operator==(const MarqueeLine &a, const MarqueeLine &b) { return a.runs == b.runs; }
bool operator==(const MarqueeBlock &a, const MarqueeBlock &b) { return a.lines == b.lines; }
bool operator==(const MarqueeElement &a, const MarqueeElement &b)
{
    return a.scrollAmount == b.scrollAmount && a.scrollDelayMs == b.scrollDelayMs && a.loop == b.loop
        && a.absolute == b.absolute && a.top == b.top && a.right == b.right && a.left == b.left
        && a.tableRow == b.tableRow && a.blocks == b.blocks;
}

namespace {

void expectSameAsReadBack(const MarqueePage &rows, const QString &page)
{
    const MarqueePage read = parseMarqueePage(page);
    EXPECT_EQ(rows.background, read.background);
    ASSERT_EQ(rows.marquees.size(), read.marquees.size());
    for (qsizetype i = 0; i < read.marquees.size(); ++i)
        EXPECT_TRUE(rows.marquees.at(i) == read.marquees.at(i)) << "marquee " << i;
}

} // namespace

// The rows the builders hand to WebScroll are the page they write, as the page reader reads it:
// a real thread, a read.cgi page, and bodies with references, markup and line cuts.
TEST(CommentPipeline, TypedRowsAreThePageAsItReadsBack)
{
    const ResponseRecord real = convertDat(QStringLiteral("HTTP/1.0 200 OK\r\n\r\n")
        + platform::decodeCp932(testsupport::fixtureBytes(QStringLiteral("real/shiwano2ch__1231808850.dat"))));
    const ResponseRecord made = threadOf(QStringLiteral(
        "a<><>d<>前<>\n" "a<><>d<> &#9829; &#x41; ｷﾀ━ <br> 二行目 <br> 三 <br> 四<>\n"
        "a<><>d<> <b>太字</b> &lt;b&gt; <font color=red>赤</font> ﾊｧﾊｧ <>\n"
        "a<><>d<> http://img.example.net/a.jpg   空白   <br><br> 後 <>\n" "a<><>d<><>\n"));
    for (const ResponseRecord *record : {&real, &made}) {
        for (const char *rows : {"1", "2", "全て"}) {
            MarqueeSettings marquee;
            marquee.label3 = kThread + QStringLiteral("1n-");
            marquee.strGetSintyakuFooter = QStringLiteral("n-");
            marquee.comboMax = QStringLiteral("30");
            marquee.comboMaxRow = QString::fromUtf8(rows);
            ThreadPosition position;
            position.blnIsFirst = false;
            position.intLastDt = 1;
            ImageLists images;
            qint32 count = 0;
            const MarqueeBuild page = createTextFromDatWebScroll(position, *record, marquee, images, count);
            ASSERT_EQ(page.outcome, ViewBuild::Outcome::Shown);
            expectSameAsReadBack(page.rows, page.page);

            MiniSettings mini;
            static_cast<PipelineSettings &>(mini) = marquee;
            mini.intMaxRow = QString::fromUtf8(rows).toInt() ? QString::fromUtf8(rows).toInt() : 10;
            ThreadPosition miniPosition;
            miniPosition.blnIsFirst = false;
            miniPosition.intLastDt = 1;
            const MiniBuild cells = createTextFromDatWebScrollMini(miniPosition, *record, mini, count);
            expectSameAsReadBack(cells.rows, cells.page);
        }
    }
    ThreadPosition position;
    position.blnIsFirst = false;
    MarqueeSettings web;
    web.label3 = kThread + QStringLiteral("49n-");
    web.strGetSintyakuFooter = QStringLiteral("n-");
    web.comboMax = QStringLiteral("30");
    web.comboMaxRow = QStringLiteral("2");
    QString text2 = platform::decodeCp932(testsupport::fixtureBytes(QStringLiteral("readcgi/livenhk_1231808850_49n-.html")));
    ImageLists images;
    qint32 count = 0;
    const MarqueeBuild page = createTextWebScroll(position, text2, web, images, count);
    expectSameAsReadBack(page.rows, page.page);
}
