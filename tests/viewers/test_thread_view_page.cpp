// The thread view page: the literal block format, the title, the body rewriting, the record
// read element by element, and response markup that must stay inert.

#include "RecordHost.h"
#include "present/NgRules.h"
#include "TestSupport.h"
#include "platform/Cp932.h"
#include "viewers/InertMarkup.h"
#include "viewers/ThreadViewPage.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(ThreadViewPage, BlockIsWrittenLineByLineWithTheNameTwice)
{
    const QString expected = QStringLiteral(
        "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">\r\n"
        "<tr>\r\n"
        "<td><img src=\"kado1.gif\" width=\"14\" height=\"14\" border=\"0\"></td>\r\n"
        "<td bgcolor=\"#FFFFFF\"><font size=1>12：名無し：名無し：2024/01/01 ID:x</font></td>\r\n"
        "<td><img src=\"kado2.gif\" width=\"14\" height=\"14\" border=\"0\"></td>\r\n"
        "</tr>\r\n"
        "<tr>\r\n"
        "<td bgcolor=\"#FFFFFF\"></td>\r\n"
        "<td bgcolor=\"#FFFFFF\">本文<br>二行目</td>\r\n"
        "<td bgcolor=\"#FFFFFF\"></td>\r\n"
        "</tr>\r\n"
        "<tr>\r\n"
        "<td><img src=\"kado4.gif\" width=\"14\" height=\"14\" border=\"0\"></td>\r\n"
        "<td bgcolor=\"#FFFFFF\"></td>\r\n"
        "<td><img src=\"kado3.gif\" width=\"14\" height=\"14\" border=\"0\"></td>\r\n"
        "</tr>\r\n"
        "</table>\r\n"
        "<br>\r\n"
        "\r\n");
    EXPECT_EQ(threadViewBlock("12", "名無し", "2024/01/01 ID:x", "本文<br>二行目"), expected);

    // An empty name keeps all three separators, with nothing between them.
    EXPECT_TRUE(threadViewBlock("3", "", "date", "b").contains(QStringLiteral("<font size=1>3：：：date</font>")));
    // A name with the service's trip markup keeps it, twice.
    EXPECT_TRUE(threadViewBlock("4", "名無し</b>◆abc<b>", "d", "b")
                    .contains(QStringLiteral("4：名無し</b>◆abc<b>：名無し</b>◆abc<b>：d")));
}

TEST(ThreadViewPage, HeaderTitleAndFooter)
{
    EXPECT_EQ(threadViewTitle("Kestrelon 1: 実況スレ (12)"), QStringLiteral(" 1: 実況スレ (12)"));
    EXPECT_EQ(threadViewTitle("KestrelonKestrelon"), QString());
    EXPECT_EQ(threadViewTitle("Kestrelon 2: about Kestrelon (5)"), QStringLiteral(" 2: about  (5)"));
    EXPECT_EQ(threadViewHeader(" t"),
              QStringLiteral("<html><body bgcolor=\"#DCDCDC\"><center><br><B> t</b><br><br>\r\n\r\n"));
    EXPECT_EQ(threadViewFooter(), QStringLiteral("</body></html>\r\n"));
}

TEST(ThreadViewPage, BodyLosesAnchorsAndLinksImages)
{
    const QString block = threadViewBlock(
        "1", "n", "d",
        "<a href=\"../test/read.cgi/livetv/123/12-15\" target=\"_blank\">>>12-15</a> 見て "
        "http://img.example.net/a.jpg");
    EXPECT_TRUE(block.contains(QStringLiteral(
        "<td bgcolor=\"#FFFFFF\">>>12-15 見て <a href=\"http://img.example.net/a.jpg\" target=new>"
        "http://img.example.net/a.jpg</a></td>")))
        << block.toStdString();
}

TEST(ThreadViewPage, WholePageReadsEveryElementUpToTheHighest)
{
    RecordHost host;
    host.setResponses({"a", "b", "c"});
    const auto page = buildThreadViewPage(host, " t");
    ASSERT_TRUE(page.has_value());
    // Three responses and the empty element after them, as the record holds it.
    EXPECT_EQ(page->count(QStringLiteral("<table ")), 4);
    EXPECT_TRUE(page->startsWith(threadViewHeader(" t")));
    EXPECT_TRUE(page->endsWith(QStringLiteral("<br>\r\n\r\n</body></html>\r\n")));
    EXPECT_TRUE(page->contains(QStringLiteral("<font size=1>：：：</font>")));

    // A record without elements (no fetch yet) gives the header and the last line.
    RecordHost empty;
    EXPECT_EQ(buildThreadViewPage(empty, "x"), threadViewHeader("x") + threadViewFooter());
}

TEST(ThreadViewPage, AResponseAnyNgRuleKindMatchesShowsAboneInItsPlace)
{
    // Every rule below matches response 2 alone (mail "sage" must not match "age").
    const NgRule rules[] = {
        {NgKind::Word, QStringLiteral("宣伝")}, {NgKind::Regex, QStringLiteral("宣.です")},
        {NgKind::Name, QStringLiteral("荒らし")}, {NgKind::Mail, QStringLiteral("age")},
        {NgKind::Id, QStringLiteral("ID:Xyz")},
    };
    for (const NgRule &rule : rules) {
        SCOPED_TRACE(ngKindName(rule.kind).toStdString());
        struct NgHost : RecordHost
        {
            NgMatcher ng;
            const NgMatcher *ngRules() const override { return &ng; }
        } host;
        host.ng = NgMatcher({rule});
        host.record.assign({"1", "2", "3", ""}, {"名", "荒らし", "名", ""},
                           {"2024/01/01(月) 00:00:00 ID:abc", "2024/01/01(月) 00:00:01 ID:Xyz",
                            "2024/01/01(月) 00:00:02 ID:abc", ""},
                           {"a", "宣伝です", "&gt;&gt;2 c", ""});
        host.record.setMails({"sage", "age", "", ""});
        const auto page = buildThreadViewPage(host, "t");
        ASSERT_TRUE(page.has_value());
        EXPECT_EQ(page->count(QStringLiteral("<table ")), 4);
        EXPECT_FALSE(page->contains(QStringLiteral("宣伝")));
        EXPECT_TRUE(page->contains(QStringLiteral("<font size=1>2：あぼーん：あぼーん：2024/01/01(月) 00:00:01 ID:Xyz</font>")));
        EXPECT_TRUE(page->contains(QStringLiteral("<td bgcolor=\"#FFFFFF\">あぼーん</td>")));
        EXPECT_TRUE(page->contains(QStringLiteral("<font size=1>1：名：名：")));
        EXPECT_TRUE(page->contains(QStringLiteral("<font size=1>3：名：名：")));
    }
}

TEST(ThreadViewPage, BuildEndsWhenAbandonedOrWhenTheRecordShrinksUnderIt)
{
    RecordHost host;
    host.setResponses({"a", "b", "c", "d"});
    int blocks = 0;
    EXPECT_FALSE(buildThreadViewPage(host, "t", [&] { return ++blocks < 2; }).has_value());
    EXPECT_EQ(blocks, 2);

    // A fetch converting a shorter dat while the build lets events run.
    host.onBodyRead = [&](int i) {
        if (i == 1)
            host.setResponses({"x"});
    };
    EXPECT_FALSE(buildThreadViewPage(host, "t", [] { return true; }).has_value());
}

TEST(ThreadViewPage, RealDatBuildsOneBoxPerResponse)
{
    const QString dat = platform::decodeCp932(testsupport::fixtureBytes("real/shiwano2ch__1231808850.dat"));
    RecordHost host;
    host.record = convertDat(QStringLiteral("HTTP/1.0 200 OK\r\n\r\n") + dat);
    ASSERT_GT(host.record.upperBound(), 20);
    const auto page = buildThreadViewPage(host, "t");
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(page->count(QStringLiteral("<table border=\"0\"")), host.record.upperBound() + 1);
    // The ASCII art's "<" and ">" decoded from entities stay text, not tags.
    for (qsizetype i = 0; i < page->size(); ++i)
        ASSERT_NE(page->at(i), QChar(0xfffd)) << "undecoded byte at " << i;
}

// Every tag the page text holds, as a browser would start reading it.
QStringList tagsIn(const QString &text)
{
    QStringList tags;
    QRegularExpression re(QStringLiteral("<[A-Za-z/!?][^>]*>?"));
    auto it = re.globalMatch(text);
    while (it.hasNext())
        tags << it.next().captured(0);
    return tags;
}

TEST(InertMarkup, HostileBodiesKeepNoScriptNoHandlerNoScriptAddress)
{
    const char *const bodies[] = {
        "<script>document.title='x'</script>",
        "<SCRIPT src=http://evil.example/x.js></SCRIPT>",
        "<img src=x onerror=\"document.title='x'\">",
        "<img src=\"javascript:alert(1)\">",
        "<a href=\"javascript:alert(1)\">click</a>",
        "<a href=\" jav&#x09;ascript:alert(1)\">tab</a>",
        "<a href=\"javascript&#58;alert(1)\">entity colon</a>",
        "<a href=\"&#106;avascript:alert(1)\">entity letter</a>",
        "<a/onclick=alert(1) href=http://ok.example/>slash</a>",
        "<b onmouseover=alert(1)>bold</b>",
        "<body onload=alert(1)>",
        "<iframe src=http://evil.example/></iframe>",
        "<meta http-equiv=\"refresh\" content=\"0;url=http://evil.example/\">",
        "<a href=\"x>\" onclick=\"alert(1)\">unclosed</a>",
        "<svg><script>alert(1)</script></svg>",
        "<style>body{display:none}</style>",
        "<!--<script>alert(1)</script>-->",
        "<a href=\"data:text/html,<script>alert(1)</script>\">data</a>",
        "<font color=red style=\"background:url(http://evil.example/)\">f</font>",
        "<img src=\"http://ok.example/a.png\" onload=alert(1)>",
    };
    const QSet<QString> allowed{"a", "b", "br", "font", "hr", "i", "u", "s", "small", "big", "span",
                                "em", "strong", "sub", "sup", "img"};
    for (const char *body : bodies) {
        const QString out = inertMarkup(QString::fromUtf8(body));
        SCOPED_TRACE(std::string(body) + "  ->  " + out.toStdString());
        for (const QString &tag : tagsIn(out)) {
            const QString name = QRegularExpression(QStringLiteral("^</?([A-Za-z0-9]+)")).match(tag).captured(1).toLower();
            EXPECT_TRUE(allowed.contains(name)) << tag.toStdString();
            EXPECT_FALSE(tag.contains(QRegularExpression(QStringLiteral("[\\s/\"']on[a-z]+\\s*="),
                                                         QRegularExpression::CaseInsensitiveOption)))
                << tag.toStdString();
            EXPECT_FALSE(tag.contains(QStringLiteral("javascript"), Qt::CaseInsensitive)) << tag.toStdString();
            EXPECT_FALSE(tag.contains(QStringLiteral("data:"), Qt::CaseInsensitive)) << tag.toStdString();
            EXPECT_FALSE(tag.contains(QStringLiteral("style"), Qt::CaseInsensitive)) << tag.toStdString();
            EXPECT_FALSE(tag.contains(QLatin1Char('&'))) << tag.toStdString();
            EXPECT_TRUE(tag.endsWith(QLatin1Char('>'))) << tag.toStdString();
        }
    }
    // What was typed stays readable as text.
    EXPECT_EQ(inertMarkup("<script>a</script>"), QStringLiteral("&lt;script>a&lt;/script>"));
    EXPECT_EQ(inertMarkup("<b onmouseover=alert(1)>x</b>"), QStringLiteral("<b>x</b>"));
}

TEST(InertMarkup, OrdinaryMarkupAndTextPassUnchanged)
{
    const char *const texts[] = {
        "普通の書き込み",
        "一行目 <br> 二行目<br>",
        "名無し</b>◆trip<b>",
        "<a href=\"http://img.example.net/a.jpg\" target=new>http://img.example.net/a.jpg</a>",
        "<font color=red size=2>赤</font><hr>",
        "<a href=\"https://ok.example/p?a=1&amp;b=2\">q</a>",
        ">>12 ﾟ∀ﾟ)>",
        "2024/01/01(月) 00:00:00.12 ID:Ab/cD+eF0",
    };
    for (const char *text : texts)
        EXPECT_EQ(inertMarkup(QString::fromUtf8(text)), QString::fromUtf8(text)) << text;
    // Links keep only web addresses, and a response loads no picture by itself: a path would
    // name a file beside the local page.
    EXPECT_EQ(inertMarkup("<a href=\"../test/read.cgi/news/123/\" target=\"_blank\">スレ</a>"),
              QStringLiteral("<a target=\"_blank\">スレ</a>"));
    EXPECT_EQ(inertMarkup("<a href=/etc/passwd>p</a><a href=../livecfg.txt>c</a><a href=file:///etc/hosts>h</a>"),
              QStringLiteral("<a>p</a><a>c</a><a>h</a>"));
    EXPECT_EQ(inertMarkup("<img src=/abs/path.png width=9><img src=\"http://x.example/a.png\">"),
              QStringLiteral("<img width=9><img>"));
    // A "<" that opens no tag becomes an entity: it still reads "<".
    EXPECT_EQ(inertMarkup("1 < 2 <= 3 <3"), QStringLiteral("1 &lt; 2 &lt;= 3 &lt;3"));
    EXPECT_EQ(inertMarkup("(´<_｀ )"), QStringLiteral("(´&lt;_｀ )"));
}

} // namespace
