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
