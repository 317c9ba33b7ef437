// The marquee page builders: position bookkeeping, batches, text cleaning, rows, colours, image
// lists and the end of a thread, checked against literal page texts.
#include "TestSupport.h"
#include "net/ResponseRecord.h"
#include "platform/Cp932.h"
#include "present/MarqueePage.h"
#include "present/MarqueePageBuilder.h"
#include "present/ResponseText.h"

#include <gtest/gtest.h>

namespace {

const QString kThread = QStringLiteral("http://livea.example.net/test/read.cgi/livenhk/1231808850/");

// A record of the given bodies, as convertDat leaves it: numbers "1".."N" and the empty
// trailing element at index N.
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

// A thread already shown up to `shown` responses: the next build shows what follows.
struct DatThread
{
    ThreadPosition position;
    MarqueeSettings settings;
    ImageLists images;
    qint32 lngMsgCount = 0;

    explicit DatThread(int shown)
    {
        position.blnIsFirst = false;
        position.intLastDt = shown;
        position.intZenkaiLastDT = shown;
        settings.label3 = kThread + QString::number(shown) + QStringLiteral("n-");
        settings.strGetSintyakuFooter = QStringLiteral("n-");
        settings.comboMax = QStringLiteral("30");
        settings.comboMaxRow = QStringLiteral("全て");
        settings.intScroll = 5;
        settings.intNextWhen1000 = 2;
    }

    MarqueeBuild build(const QStringList &bodies, double random = 0.5)
    {
        return createTextFromDatWebScroll(position, makeRecord(bodies), settings, images,
                                          lngMsgCount, [random] { return random; });
    }
};

int marqueeCount(const QString &page)
{
    return int(page.count(QStringLiteral("<Marquee ")));
}

// The coloured (fifth) element of each response, in order.
QStringList colouredTexts(const QString &page)
{
    QStringList texts;
    const QStringList elements = page.split(QStringLiteral("\r\n"));
    for (int i = 4; i < elements.size(); i += 5) {
        const QString &e = elements.at(i);
        const qsizetype start = e.indexOf(QStringLiteral("right:2\">")) + 9;
        texts << e.mid(start, e.indexOf(QStringLiteral("</marquee>")) - start);
    }
    return texts;
}

QString nbsp(int n)
{
    return QStringLiteral("&nbsp;").repeated(n);
}

} // namespace

TEST(MarqueeBuilder, FirstCallOnlyRecordsThePosition)
{
    ThreadPosition position;
    MarqueeSettings settings;
    settings.label3 = kThread + QStringLiteral("l50");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    settings.comboMax = QStringLiteral("10");
    settings.comboMaxRow = QStringLiteral("2");
    ImageLists images;
    qint32 count = 0;

    const MarqueeBuild first = createTextFromDatWebScroll(position, makeRecord(plainBodies(1, 120)),
                                                          settings, images, count);
    EXPECT_EQ(first.outcome, MarqueeBuild::Outcome::FirstCall);
    EXPECT_TRUE(first.page.isEmpty());
    EXPECT_EQ(first.label3, kThread + QStringLiteral("120n-"));
    EXPECT_EQ(first.label1, QStringLiteral("120"));
    EXPECT_TRUE(first.startCountdown);
    EXPECT_FALSE(first.alreadyFull);
    EXPECT_FALSE(position.blnIsFirst);
    EXPECT_EQ(position.intLastDt, 120);
    EXPECT_EQ(position.intZenkaiLastDT, 120);
    EXPECT_EQ(count, 0);

    // The same dat again: the address does not move, nothing is written or changed.
    settings.label3 = *first.label3;
    const MarqueeBuild again = createTextFromDatWebScroll(position, makeRecord(plainBodies(1, 120)),
                                                          settings, images, count);
    EXPECT_EQ(again.outcome, MarqueeBuild::Outcome::NothingNew);
    EXPECT_FALSE(again.label1.has_value());
    EXPECT_FALSE(again.label3.has_value());
    EXPECT_TRUE(again.page.isEmpty());
    EXPECT_FALSE(again.callSetImage);
    EXPECT_EQ(count, 0);
}

TEST(MarqueeBuilder, FirstCallOnAFullThreadShowsTheMessageInsteadOfCounting)
{
    ThreadPosition position;
    MarqueeSettings settings;
    settings.label3 = kThread + QStringLiteral("l50");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    ImageLists images;
    qint32 count = 0;
    const MarqueeBuild dat = createTextFromDatWebScroll(position, makeRecord(plainBodies(1, 1001)),
                                                        settings, images, count);
    EXPECT_EQ(dat.outcome, MarqueeBuild::Outcome::FirstCall);
    EXPECT_TRUE(dat.alreadyFull);
    EXPECT_TRUE(dat.disableCommand2);
    EXPECT_FALSE(dat.startCountdown);
    EXPECT_EQ(alreadyFullMessage(), QStringLiteral("すでに1000いってます｡"));

    // Web mode disables only Command1.
    ThreadPosition webPosition;
    QString text2 = QStringLiteral("<dl><dt>1001 ：<b>１００１</b>：Over 1000 Thread<dd> このスレッドは１０００を超えました。 <br><br></dl>");
    const MarqueeBuild web = createTextWebScroll(webPosition, text2, settings, images, count);
    EXPECT_TRUE(web.alreadyFull);
    EXPECT_FALSE(web.disableCommand2);
    EXPECT_FALSE(web.startCountdown);
    EXPECT_EQ(web.label3, kThread + QStringLiteral("1001n-"));
}

TEST(MarqueeBuilder, WritesTheOutlinedRowsOfABatchExactly)
{
    DatThread thread(1);
    const MarqueeBuild build = thread.build(
        {QStringLiteral("前"), QStringLiteral("ｷﾀ━━━(ﾟ∀ﾟ)━━━!!"), QStringLiteral("Hello World")}, 0.7);
    ASSERT_EQ(build.outcome, MarqueeBuild::Outcome::Shown);
    EXPECT_EQ(build.label3, kThread + QStringLiteral("3n-"));
    EXPECT_EQ(build.label1, QStringLiteral("3"));

    const QString s = QStringLiteral("<Marquee loop=1 scrollamount=\"13\" style=\"font-size:26px;font-weight: bold;");
    const QString kita = QStringLiteral("ｷﾀ━━━(ﾟ∀ﾟ)━━━!!");
    const QString hello = nbsp(16) + QStringLiteral("hello&nbsp;world");
    const QString expected
        = QStringLiteral("<html><body bgcolor=#003366><table width=\"100%\"><tr><td>")
        + s + QStringLiteral(" color:#000000;top:3px;position:absolute;right:1\">") + kita + QStringLiteral("</marquee>\r\n")
        + s + QStringLiteral(" color:#000000;top:3px;position:absolute;right:3\">") + kita + QStringLiteral("</marquee>\r\n")
        + s + QStringLiteral(" color:#000000;top:2px;position:absolute;right:2\">") + kita + QStringLiteral("</marquee>\r\n")
        + s + QStringLiteral(" color:#000000;top:4px;position:absolute;right:2\">") + kita + QStringLiteral("</marquee>\r\n")
        + s + QStringLiteral(" color:orange;top:3px;position:absolute;right:2\">") + kita + QStringLiteral("</marquee>\r\n")
        + s + QStringLiteral(" color:#000000;top:30px;position:absolute;right:1\">") + hello + QStringLiteral("</marquee>\r\n")
        + s + QStringLiteral(" color:#000000;top:30px;position:absolute;right:3\">") + hello + QStringLiteral("</marquee>\r\n")
        + s + QStringLiteral(" color:#000000;top:31px;position:absolute;right:2\">") + hello + QStringLiteral("</marquee>\r\n")
        + s + QStringLiteral(" color:#000000;top:29px;position:absolute;right:2\">") + hello + QStringLiteral("</marquee>\r\n")
        + s + QStringLiteral(" color:aliceblue;top:30px;position:absolute;right:2\">") + hello + QStringLiteral("</marquee>\r\n")
        + QStringLiteral("</td></tr></table>");
    EXPECT_EQ(build.page, expected);
    // Counted from 1: two responses shown leave the next index at 3.
    EXPECT_EQ(thread.lngMsgCount, 3);
}

TEST(MarqueeBuilder, CapsTheBatchAtComboMax)
{
    struct Case { int shown; int total; int expected; };
    for (const Case c : {Case{100, 125, 11}, Case{100, 105, 5}, Case{100, 111, 11}, Case{100, 110, 10}}) {
        DatThread thread(c.shown);
        thread.settings.comboMax = QStringLiteral("10");
        const MarqueeBuild build = thread.build(plainBodies(1, c.total));
        ASSERT_EQ(build.outcome, MarqueeBuild::Outcome::Shown) << c.total;
        EXPECT_EQ(marqueeCount(build.page), 5 * c.expected) << c.total;
        const QStringList texts = colouredTexts(build.page);
        ASSERT_EQ(texts.size(), c.expected);
        // The oldest new response first; responses past the cap are never shown.
        EXPECT_TRUE(texts.first().endsWith(QStringLiteral("レス%1").arg(c.shown + 1)));
        EXPECT_TRUE(texts.last().endsWith(QStringLiteral("レス%1").arg(c.shown + c.expected)));
        // The next batch starts from the new end, not where the cap cut.
        EXPECT_EQ(thread.position.intLastDt, c.total);
    }
}

TEST(MarqueeBuilder, CutsLinesAndAdvancesRowsByTheLinesKept)
{
    DatThread thread(0);
    thread.settings.comboMaxRow = QStringLiteral("2");
    const MarqueeBuild build = thread.build({QStringLiteral("a<br>b<br>c<br>d<br>e"), QStringLiteral("next")});
    const QStringList texts = colouredTexts(build.page);
    ASSERT_EQ(texts.size(), 2);
    // Two lines kept, the cut text ends in "<br>", each break followed by the 8-space stagger.
    EXPECT_EQ(texts.at(0), QStringLiteral("a<br>") + nbsp(8) + QStringLiteral("b<br>") + nbsp(8));
    EXPECT_TRUE(build.page.contains(QStringLiteral(" color:#000000;top:60px;position:absolute;right:1\">")));
    EXPECT_TRUE(build.page.contains(QStringLiteral(" color:#000000;top:61px;position:absolute;right:2\">")));
    EXPECT_TRUE(build.page.contains(QStringLiteral(" color:#000000;top:59px;position:absolute;right:2\">")));

    // "<br><br>" is removed outright before lines are counted; a body's own last line gets no
    // "<br>".
    int lines = 0;
    EXPECT_EQ(keepFirstLines(QStringLiteral("x<br><br>y<br>z"), 10, &lines), QStringLiteral("xy<br>z"));
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(keepFirstLines(QStringLiteral("x<br>y"), 0, &lines), QString());
    EXPECT_EQ(lines, 0);
}

TEST(MarqueeBuilder, StaggersLaterResponsesByEightSpacesAPosition)
{
    DatThread thread(0);
    const MarqueeBuild build = thread.build({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三<br>続き")});
    const QStringList texts = colouredTexts(build.page);
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts.at(0), QStringLiteral("一"));
    EXPECT_EQ(texts.at(1), nbsp(16) + QStringLiteral("二"));
    EXPECT_EQ(texts.at(2), nbsp(24) + QStringLiteral("三<br>") + nbsp(24) + QStringLiteral("続き"));
    // Rows: 3, then 30 after one line, then 60 after two.
    EXPECT_TRUE(build.page.contains(QStringLiteral("top:60px;position:absolute;right:2\">") + texts.at(2)));
}

TEST(MarqueeBuilder, KeywordColoursWinInOrderAndPlainTextsGetPastels)
{
    struct Case { const char *text; Keyword keyword; const char *declaration; };
    const Case cases[] = {
        {"ｷﾀ━━(ﾟ∀ﾟ)━━!!", Keyword::Kita, " color:orange;"},
        {"ﾊｧﾊｧ してｷﾀ", Keyword::Kita, " color:orange;"},
        {"キターー", Keyword::Kita, " color:orange;"},
        {"ﾊｧﾊｧ", Keyword::HaaHaa, " color:hotpink;"},
        {"ﾊｧﾊｧ ウホッ！", Keyword::HaaHaa, " color:hotpink;"},
        {"ウホッ！いい男", Keyword::Uho, " color:magenta;"},
        {"アッー！", Keyword::Uho, " color:magenta;"},
        {"きた", Keyword::None, ""},
        {"ウホッ", Keyword::None, ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(keywordOf(QString::fromUtf8(c.text)), c.keyword) << c.text;
        EXPECT_EQ(marqueeKeywordColour(keywordOf(QString::fromUtf8(c.text))), QString::fromUtf8(c.declaration));
    }

    // The first digit of the rounded percentage picks the pastel.
    struct Draw { double r; const char *colour; };
    for (const Draw d : {Draw{0.0, " color:white;"}, Draw{0.05, " color:#FFFFCC;"}, Draw{0.09, " color:gainsboro;"},
                         Draw{0.1, " color:white;"}, Draw{0.35, " color:#FFFFCC;"}, Draw{0.65, " color:aliceblue;"},
                         Draw{0.79, " color:aliceblue;"}, Draw{0.85, " color:gainsboro;"}, Draw{0.999, " color:white;"}})
        EXPECT_EQ(pastelColourFor(d.r), QString::fromLatin1(d.colour)) << d.r;

    // The same draw twice in a row is moved on; keyword colours do not count as draws.
    for (double r : {0.1, 0.4, 0.7, 0.9}) {
        DatThread thread(0);
        const MarqueeBuild build = thread.build({QStringLiteral("a"), QStringLiteral("ｷﾀ"), QStringLiteral("b"),
                                                 QStringLiteral("c")}, r);
        QStringList colours;
        for (const QString &line : build.page.split(QStringLiteral("\r\n")))
            if (line.contains(QStringLiteral("right:2")) && !line.contains(QStringLiteral("#000000")))
                colours << line.section(QStringLiteral("bold;"), 1).section(QStringLiteral("top:"), 0, 0);
        ASSERT_EQ(colours.size(), 4);
        EXPECT_EQ(colours.at(1), QStringLiteral(" color:orange;"));
        EXPECT_NE(colours.at(0), colours.at(2)) << r;
        EXPECT_NE(colours.at(2), colours.at(3)) << r;
    }
}

TEST(MarqueeBuilder, CollectsImageAddressesAndAsksForOneSetImagePerBatch)
{
    DatThread thread(0);
    thread.images.append(QStringLiteral("7"), QStringLiteral("http://old.example.net/x.png"));
    const MarqueeBuild build = thread.build({QStringLiteral("見て http://img.example.net/Neko.jpg"),
                                             QStringLiteral("二枚 http://img.example.net/a.gif http://img.example.net/b.png"),
                                             QStringLiteral("なし")});
    ASSERT_EQ(build.outcome, MarqueeBuild::Outcome::Shown);
    EXPECT_TRUE(build.callSetImage);
    EXPECT_EQ(thread.images.varImageResNo,
              (QStringList{QStringLiteral("7"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("2")}));
    EXPECT_EQ(thread.images.varImageUrl.at(1), QStringLiteral("http://img.example.net/Neko.jpg"));
    EXPECT_EQ(thread.images.intImageCount(), 4);
    EXPECT_EQ(colouredTexts(build.page).at(0), QStringLiteral("見て&nbsp;imegewindow"));

    DatThread plain(0);
    EXPECT_FALSE(plain.build({QStringLiteral("画像なし")}).callSetImage);
    EXPECT_EQ(plain.images.intImageCount(), 0);
}

TEST(MarqueeBuilder, ShowsLatinTextInLowerCaseAndAnchorsAsPlainText)
{
    DatThread thread(0);
    const MarqueeBuild build = thread.build(
        {QStringLiteral("<a href=\"../test/read.cgi/livenhk/1231808850/3\" target=\"_blank\">&gt;&gt;3</a> NHK ABC")});
    EXPECT_EQ(colouredTexts(build.page).at(0), QStringLiteral(">>3&nbsp;nhk&nbsp;abc"));
}

// The board sends "&lt;" for a typed "<" and the conversion turns it back: a body's markup must
// show as its text, not end the page's marquee, restyle the page or hide the responses after it.
TEST(MarqueeBuilder, MarkupInAResponseIsShownAsItsTextAndLeavesThePageIntact)
{
    const QStringList hostile = {
        QStringLiteral("</nobr></font></td></tr></table></Marquee><body bgcolor=red>"),
        QStringLiteral("before</marquee>after"),
        QStringLiteral("<script>x</script><!-- <style>p{}"),
    };
    DatThread thread(0);
    const MarqueeBuild build = thread.build(hostile + QStringList{QStringLiteral("last")});
    ASSERT_EQ(build.outcome, MarqueeBuild::Outcome::Shown);
    const MarqueePage page = parseMarqueePage(build.page);
    EXPECT_EQ(page.background, MarqueeRgb(0x003366));
    ASSERT_EQ(page.marquees.size(), 5 * 4);
    QStringList shown;
    for (int i = 4; i < page.marquees.size(); i += 5) {
        QString text;
        for (const MarqueeRun &run : page.marquees.at(i).blocks.value(0).lines.value(0).runs)
            text += run.text;
        shown << text.replace(QChar(0xA0), QLatin1Char(' ')).trimmed();
    }
    EXPECT_EQ(shown, (QStringList{hostile.at(0).toLower(), hostile.at(1), hostile.at(2), QStringLiteral("last")}));
    for (const QString &text : colouredTexts(build.page))
        EXPECT_FALSE(text.contains(QLatin1Char('<'))) << qPrintable(text);
    // The board's line breaks stay line breaks.
    DatThread lines(0);
    EXPECT_EQ(colouredTexts(lines.build({QStringLiteral("a<br><b>")}).page).at(0),
              QStringLiteral("a<br>") + nbsp(8) + QStringLiteral("&lt;b>"));
}

// The speed setting reaches every element of the built page, in both modes.
TEST(MarqueeBuilder, ScrollSpeedSettingGivesTheScrollAmountOfEveryElement)
{
    struct Case { int intScroll; const char *amount; };
    for (const Case c : {Case{3, "22"}, Case{5, "13"}, Case{8, "5"}}) {
        DatThread thread(1);
        thread.settings.intScroll = c.intScroll;
        const QString page = thread.build({QStringLiteral("前"), QStringLiteral("一"), QStringLiteral("二")}).page;
        const QString attribute = QStringLiteral("scrollamount=\"%1\"").arg(QLatin1String(c.amount));
        EXPECT_EQ(page.count(QStringLiteral("scrollamount=")), 10) << c.intScroll;
        EXPECT_EQ(page.count(attribute), 10) << c.intScroll;

        ThreadPosition position;
        position.blnIsFirst = false;
        position.intLastDt = 49;
        QString text2 = platform::decodeCp932(testsupport::fixtureBytes(QStringLiteral("readcgi/livenhk_1231808850_49n-.html")));
        MarqueeSettings web = thread.settings;
        web.label3 = kThread + QStringLiteral("49n-");
        const QString webPage = createTextWebScroll(position, text2, web, thread.images, thread.lngMsgCount).page;
        EXPECT_GT(webPage.count(attribute), 0) << c.intScroll;
        EXPECT_EQ(webPage.count(attribute), webPage.count(QStringLiteral("scrollamount="))) << c.intScroll;
    }
}

TEST(MarqueeBuilder, EndsTheThreadAt1001ByIntNextWhen1000)
{
    struct Case { int setting; EndOfThreadAction action; };
    for (const Case c : {Case{0, EndOfThreadAction::AutoMoveNextSure}, Case{1, EndOfThreadAction::ShowSureItiran},
                         Case{2, EndOfThreadAction::Nothing}, Case{7, EndOfThreadAction::Nothing}}) {
        DatThread thread(995);
        thread.settings.intNextWhen1000 = c.setting;
        const MarqueeBuild build = thread.build(plainBodies(1, 1001));
        ASSERT_EQ(build.outcome, MarqueeBuild::Outcome::Shown);
        EXPECT_TRUE(build.threadEnded);
        EXPECT_EQ(build.next, c.action) << c.setting;
        EXPECT_EQ(marqueeCount(build.page), 5 * 6);
    }
    DatThread running(990);
    running.settings.intNextWhen1000 = 0;
    EXPECT_FALSE(running.build(plainBodies(1, 1000)).threadEnded);
}

TEST(MarqueeBuilder, SettingsItCannotUseEndTheBuildSilently)
{
    struct Case { const char *comboMax; const char *comboMaxRow; int intScroll; };
    for (const Case c : {Case{"", "2", 5}, Case{"十", "2", 5}, Case{"10", "", 5}, Case{"10", "abc", 5},
                         Case{"10", "2", 4}, Case{"10", "2", 0}, Case{"99999", "2", 5}}) {
        DatThread thread(0);
        thread.settings.comboMax = QString::fromUtf8(c.comboMax);
        thread.settings.comboMaxRow = QString::fromUtf8(c.comboMaxRow);
        thread.settings.intScroll = c.intScroll;
        const MarqueeBuild build = thread.build({QStringLiteral("http://img.example.net/a.jpg")});
        EXPECT_EQ(build.outcome, MarqueeBuild::Outcome::Failed) << c.comboMax << c.comboMaxRow << c.intScroll;
        EXPECT_TRUE(build.page.isEmpty());
        EXPECT_FALSE(build.callSetImage);
        EXPECT_EQ(thread.images.intImageCount(), 0);
        // What was done before the failure stays: the position moved and the captions follow it.
        EXPECT_EQ(build.label3, kThread + QStringLiteral("1n-"));
    }
    // Values the lists do produce, including "全て" and the three speeds.
    for (int scroll : {3, 5, 8}) {
        DatThread thread(0);
        thread.settings.intScroll = scroll;
        EXPECT_EQ(thread.build({QStringLiteral("x")}).outcome, MarqueeBuild::Outcome::Shown);
    }

    // A record that was never filled has no highest index.
    ThreadPosition position;
    MarqueeSettings settings;
    ImageLists images;
    qint32 count = 0;
    EXPECT_EQ(createTextFromDatWebScroll(position, ResponseRecord(), settings, images, count).outcome,
              MarqueeBuild::Outcome::Failed);
    EXPECT_TRUE(position.blnIsFirst);
}

// ---- web mode, against a read.cgi page in the classic layout ----

namespace {

QString readCgiPage()
{
    return platform::decodeCp932(testsupport::fixtureBytes(QStringLiteral("readcgi/livenhk_1231808850_49n-.html")));
}

} // namespace

TEST(MarqueeBuilderWeb, FirstCallTrimsText2AndReadsTheLastNumber)
{
    ThreadPosition position;
    MarqueeSettings settings;
    settings.label3 = kThread + QStringLiteral("l50");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    ImageLists images;
    qint32 count = 0;
    QString text2 = readCgiPage();
    ASSERT_FALSE(text2.isEmpty());
    const MarqueeBuild build = createTextWebScroll(position, text2, settings, images, count);
    EXPECT_EQ(build.outcome, MarqueeBuild::Outcome::FirstCall);
    EXPECT_TRUE(text2.startsWith(QStringLiteral("<dt>50 ：")));
    EXPECT_EQ(position.intLastDt, 65);
    EXPECT_EQ(build.label3, kThread + QStringLiteral("65n-"));
    EXPECT_EQ(build.label1, QStringLiteral("65"));
    EXPECT_TRUE(build.startCountdown);

    // A page without any response is a failed build, not a crash.
    QString empty = QStringLiteral("<html><body>もうずっと人大杉</body></html>");
    ThreadPosition fresh;
    EXPECT_EQ(createTextWebScroll(fresh, empty, settings, images, count).outcome, MarqueeBuild::Outcome::Failed);
    EXPECT_TRUE(fresh.blnIsFirst);
}

TEST(MarqueeBuilderWeb, ShowsAtMostComboMaxMinusOneAfterTheFirstElement)
{
    ThreadPosition position;
    position.blnIsFirst = false;
    position.intLastDt = 49;
    MarqueeSettings settings;
    settings.label3 = kThread + QStringLiteral("49n-");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    settings.comboMax = QStringLiteral("10");
    settings.comboMaxRow = QStringLiteral("2");
    settings.intNextWhen1000 = 0;
    ImageLists images;
    qint32 count = 0;
    QString text2 = readCgiPage();
    const MarqueeBuild build = createTextWebScroll(position, text2, settings, images, count);
    ASSERT_EQ(build.outcome, MarqueeBuild::Outcome::Shown);
    EXPECT_EQ(build.label3, kThread + QStringLiteral("65n-"));
    EXPECT_FALSE(build.threadEnded);

    const QStringList texts = colouredTexts(build.page);
    ASSERT_EQ(texts.size(), 9); // responses 51 .. 59; 50 was shown before
    EXPECT_EQ(texts.at(0), QStringLiteral("&nbsp;>>50&nbsp;<br>") + nbsp(8) + QStringLiteral("&nbsp;はやい&nbsp;\n"));
    EXPECT_TRUE(texts.at(1).contains(QStringLiteral("画像&nbsp;http://img.example.net/neko.jpg")));
    EXPECT_TRUE(texts.at(3).contains(QStringLiteral("hello&nbsp;world")));
    EXPECT_TRUE(texts.at(4).endsWith(QStringLiteral("二行目&nbsp;<br>") + nbsp(40)));
    EXPECT_TRUE(texts.at(7).contains(QStringLiteral("ttp://www.example.org/page.html&nbsp;見て")));

    // Colours: keywords as in dat mode, plain responses white.
    const QStringList lines = build.page.split(QStringLiteral("\r\n"));
    auto colourOf = [&](int response) { return lines.at(5 * response + 4).section(QStringLiteral("bold;"), 1).section(QStringLiteral("top:"), 0, 0); };
    EXPECT_EQ(colourOf(0), QStringLiteral(" color:white;"));
    EXPECT_EQ(colourOf(2), QStringLiteral(" color:orange;")); // "ﾊｧﾊｧ ｷﾀ"
    EXPECT_EQ(colourOf(5), QStringLiteral(" color:magenta;"));

    // The image anchor went to the lists with its response number as written before "：".
    EXPECT_TRUE(build.callSetImage);
    EXPECT_EQ(images.varImageUrl, QStringList{QStringLiteral("http://img.example.net/neko.jpg")});
    EXPECT_EQ(images.varImageResNo, QStringList{QStringLiteral("52 ")});
}

TEST(MarqueeBuilderWeb, TheLastElementStopsAtTheEndOfTheList)
{
    ThreadPosition position;
    position.blnIsFirst = false;
    MarqueeSettings settings;
    settings.label3 = kThread + QStringLiteral("49n-");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    settings.comboMax = QStringLiteral("30");
    settings.comboMaxRow = QStringLiteral("全て");
    ImageLists images;
    qint32 count = 0;
    QString text2 = readCgiPage();
    const MarqueeBuild build = createTextWebScroll(position, text2, settings, images, count);
    const QStringList texts = colouredTexts(build.page);
    ASSERT_EQ(texts.size(), 15);
    // Neither the posting form nor the links after "</dl>" reach the page.
    EXPECT_EQ(texts.last(), nbsp(8 * 15) + QStringLiteral("&nbsp;last&nbsp;line&nbsp;"));
    EXPECT_FALSE(build.page.contains(QStringLiteral("bbs.cgi")));

    // At 1001 the web builder ends the thread the same way.
    ThreadPosition end;
    end.blnIsFirst = false;
    settings.label3 = kThread + QStringLiteral("999n-");
    settings.intNextWhen1000 = 1;
    QString last = QStringLiteral("<dl><dt>999 ：a：b<dd> x <br><br><dt>1000 ：a：b<dd> y <br><br><dt>1001 ：a：b<dd> over </dl>");
    const MarqueeBuild ended = createTextWebScroll(end, last, settings, images, count);
    EXPECT_TRUE(ended.threadEnded);
    EXPECT_EQ(ended.next, EndOfThreadAction::ShowSureItiran);
    EXPECT_EQ(colouredTexts(ended.page).size(), 2);
}
