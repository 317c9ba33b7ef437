#include "core/Patterns.h"
#include "platform/Cp932.h"
#include "TestSupport.h"

#include <QMap>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// Response anchors as the board writes them in dat bodies.
QString escapedAnchor(const QString &target)
{
    return QStringLiteral("<a href=\"../test/read.cgi/livenhk/1231808850/%1\" target=\"_blank\">&gt;&gt;%1</a>")
        .arg(target);
}

QString plainAnchor(const QString &target)
{
    return QStringLiteral("<a href=\"../test/read.cgi/livenhk/1231808850/%1\" target=\"_blank\">>>%1</a>")
        .arg(target);
}

TEST(Patterns, UnlinkResAnchorsTurnsEscapedAnchorsIntoText)
{
    QString body = escapedAnchor("12") + QString::fromUtf8(" 同意 <br> ") + escapedAnchor("12-15")
        + QString::fromUtf8(" まとめて <br> ") + escapedAnchor("12") + " <br> " + plainAnchor("7");
    unlinkResAnchors(body);
    EXPECT_EQ(body, QString::fromUtf8(">>12 同意 <br> >>12-15 まとめて <br> >>12 <br> ") + plainAnchor("7"));

    QString raw = plainAnchor("12-15") + QString::fromUtf8(" ｷﾀ━ <br> ") + plainAnchor("3") + " "
        + escapedAnchor("4");
    unlinkResAnchorsRaw(raw);
    EXPECT_EQ(raw, QString::fromUtf8(">>12-15 ｷﾀ━ <br> >>3 ") + escapedAnchor("4"));
}

TEST(Patterns, ResAnchorsAreCaseSensitive)
{
    const QString upper = QStringLiteral(
        "<A HREF=\"../test/read.cgi/livenhk/1/5\" TARGET=\"_blank\">&gt;&gt;5</A>");
    QString body = upper;
    unlinkResAnchors(body);
    EXPECT_EQ(body, upper);

    // Not a response anchor: the address does not start with "..".
    const QString absolute = QStringLiteral(
        "<a href=\"http://x.example/test/read.cgi/a/1/5\" target=\"_blank\">&gt;&gt;5</a>");
    body = absolute;
    unlinkResAnchors(body);
    EXPECT_EQ(body, absolute);
}

TEST(Patterns, ImageUrlsAreCountedAndTakenIncludingRepeats)
{
    const QString a = "http://img.example.jp/up/a.jpg";
    const QString b = "http://img.example.jp/src/b.png";
    QString body = QString::fromUtf8("見ろ ") + a + " <br> " + QString::fromUtf8("再掲 ") + a
        + " <br> " + b + "?123 <br> https://secure.example.jp/c.gif";
    EXPECT_EQ(countImageUrls(body), 3);

    EXPECT_EQ(takeImageUrls(body), a + "--" + a + "--" + b + "--");
    EXPECT_EQ(body, QString::fromUtf8("見ろ imegewindow <br> 再掲 imegewindow <br> imegewindow?123 <br> "
                                      "https://secure.example.jp/c.gif"));

    QString none = QString::fromUtf8("画像なし <br> ttp://img.example.jp/a.jpg");
    EXPECT_EQ(countImageUrls(none), 0);
    EXPECT_EQ(takeImageUrls(none), QString());
    EXPECT_EQ(none, QString::fromUtf8("画像なし <br> ttp://img.example.jp/a.jpg"));
}

TEST(Patterns, ImageUrlPatternKeepsItsUnescapedDot)
{
    // The board's pattern accepts any character before the extension.
    QString body = "http://img.example.jp/a_jpg and http://img.example.jp/b.gif";
    EXPECT_EQ(countImageUrls(body), 2);
    EXPECT_EQ(takeImageUrls(body), "http://img.example.jp/a_jpg--http://img.example.jp/b.gif--");
}

TEST(Patterns, CountImageAnchorsLowerCasesFirst)
{
    QString page = QStringLiteral(
        "<A HREF=\"http://img.example.jp/UP/B.JPG\" TARGET=\"_blank\">B.JPG</A><br>\n"
        "<a href=\"http://img.example.jp/c.gif\" target=\"_blank\">c</a><br>\n"
        "<a href=\"http://www.example.jp/page.html\" target=\"_blank\">page</a>");
    EXPECT_EQ(countImageAnchors(page), 2);
    EXPECT_TRUE(page.startsWith("<a href=\"http://img.example.jp/up/b.jpg\" target=\"_blank\">b.jpg</a>"));
}

TEST(Patterns, TakeImageAnchorsLeavesLinkTexts)
{
    QString page = QString::fromUtf8(
        "<dd> <a href=\"http://i.example.jp/a.jpg\" target=\"_blank\">http://i.example.jp/a.jpg</a> <br>\n"
        "<dd> <a href=\"http://i.example.jp/b.gif\" target=\"_blank\">画像</a> <br>\n"
        "<dd> <a href=\"http://www.example.jp/\" target=\"_blank\">http://www.example.jp/</a>");
    EXPECT_EQ(takeImageAnchors(page), "http://i.example.jp/a.jpg--http://i.example.jp/b.gif--");
    EXPECT_EQ(page, QString::fromUtf8(
                        "<dd> http://i.example.jp/a.jpg <br>\n"
                        "<dd> 画像 <br>\n"
                        "<dd> <a href=\"http://www.example.jp/\" target=\"_blank\">http://www.example.jp/</a>"));

    QString plain = "no links";
    EXPECT_EQ(takeImageAnchors(plain), QString());
}

TEST(Patterns, LinkImageUrlsWrapsEachAddressOnce)
{
    const QString a = "http://img.example.jp/a.jpg";
    const QString b = "http://img.example.jp/a.jpg2.jpg";
    const auto link = [](const QString &url) {
        return "<a href=\"" + url + "\" target=new>" + url + "</a>";
    };
    // The same address twice, and an address that starts with another one.
    QString page = a + " x " + a + " y " + b;
    linkImageUrls(page);
    EXPECT_EQ(page, link(a) + " x " + link(a) + " y " + link(b));

    QString none = QString::fromUtf8("画像なし");
    linkImageUrls(none);
    EXPECT_EQ(none, QString::fromUtf8("画像なし"));
}

TEST(Patterns, UnlinkOtherAnchorsKeepsTextFromItsSecondCharacter)
{
    // The response anchor comes first: "(.*)" runs to the last "</a>" of a line.
    QString body = escapedAnchor("3") + QString::fromUtf8(
        " <br> ソース <a href=\"http://www.Example.com/news/1.html\" target=\"_blank\">"
        "http://www.Example.com/news/1.html</a> <br> ｷﾀ━━━ CM");
    EXPECT_EQ(unlinkOtherAnchors(body), QString());
    // Lower-cased; the response anchor's text starts with "&", which the class excludes.
    EXPECT_EQ(body, escapedAnchor("3")
                        + QString::fromUtf8(" <br> ソース ttp://www.example.com/news/1.html <br> ｷﾀ━━━ cm"));

    // An address whose last character is in the class "[^(\.jpg|\.gif|\.png)]" is left linked.
    QString php = "<a href=\"http://www.example.com/index.php\" target=\"_blank\">http://x</a>";
    const QString before = php;
    unlinkOtherAnchors(php);
    EXPECT_EQ(php, before);
}

TEST(Patterns, BodyCleaningChainOnRealisticBody)
{
    QString body = escapedAnchor("998") + QString::fromUtf8(" <br> 乙 http://img.example.jp/x.png <br> ")
        + "<a href=\"http://www.example.jp/tv/\" target=\"_blank\">http://www.example.jp/tv/</a>";
    unlinkResAnchors(body);
    ASSERT_EQ(countImageUrls(body), 1);
    EXPECT_EQ(takeImageUrls(body), "http://img.example.jp/x.png--");
    unlinkOtherAnchors(body);
    EXPECT_EQ(body, QString::fromUtf8(">>998 <br> 乙 imegewindow <br> ttp://www.example.jp/tv/"));
}

struct RecordingTree : BoardTreeSink
{
    struct Node { QString key, text, parent; };
    QList<Node> nodes;
    QSet<QString> keys;
    bool duplicateKey = false;
    bool orphan = false;

    void addNode(const QString &key, const QString &text, const QString &parentKey) override
    {
        if (keys.contains(key))
            duplicateKey = true;
        if (!parentKey.isEmpty() && !keys.contains(parentKey))
            orphan = true;
        keys.insert(key);
        nodes << Node{key, text, parentKey};
    }

    QStringList childrenOf(const QString &parent) const
    {
        QStringList out;
        for (const Node &n : nodes) {
            if (n.parent == parent)
                out << n.key + "=" + n.text;
        }
        return out;
    }
};

TEST(Patterns, BuildBoardTreeOnTwoCategories)
{
    const QString page = QString::fromUtf8(
        "<HTML><BODY>\n<A HREF=http://www.example.net/ TARGET=\"_top\">入口</A>\n"
        "<BR><BR><B>地震</B><BR>\n"
        "<A HREF=http://a.example.net/eq/>地震速報</A><br>\n"
        "<A HREF=http://b.example.net/eqplus/>臨時地震+</A>\n"
        "<BR><BR><B>実況ch</B><BR>\n"
        "<A HREF=http://livea.example.net/livenhk/>番組ch(NHK)</A><br>\n"
        "<A HREF=http://livea.example.net/livenhk/>番組ch(NHK) again</A><br>\n"
        "<A HREF=http://a.example.net/eq/>地震速報</A>\n"
        "</BODY></HTML>");
    RecordingTree tree;
    buildBoardTree(page, tree);
    EXPECT_FALSE(tree.duplicateKey);
    EXPECT_FALSE(tree.orphan);
    EXPECT_EQ(tree.childrenOf(QString()), (QStringList{"K1=" + QString::fromUtf8("地震"),
                                                        "K2=" + QString::fromUtf8("実況ch")}));
    EXPECT_EQ(tree.childrenOf("K1"),
              (QStringList{QString::fromUtf8("http://a.example.net/eq/K1=地震速報"),
                           QString::fromUtf8("http://b.example.net/eqplus/K1=臨時地震+")}));
    // A repeated address in one category keeps its first entry; another category may repeat it.
    EXPECT_EQ(tree.childrenOf("K2"),
              (QStringList{QString::fromUtf8("http://livea.example.net/livenhk/K2=番組ch(NHK)"),
                           QString::fromUtf8("http://a.example.net/eq/K2=地震速報")}));
}

TEST(Patterns, BuildBoardTreeOnMalformedParts)
{
    // The first category has no "</B>" and is skipped; the second keeps number 2; the third has
    // no links. An empty address would give its category's own key and is left out.
    const QString page = QString::fromUtf8(
        "x<BR><BR><B>broken<BR><A HREF=http://z/>z</A>"
        "<BR><BR><B>二</B><BR><A HREF=>empty</A><A HREF=http://y/>y</A>"
        "<BR><BR><B>三</B><BR>no links here");
    RecordingTree tree;
    buildBoardTree(page, tree);
    EXPECT_FALSE(tree.duplicateKey);
    EXPECT_FALSE(tree.orphan);
    EXPECT_EQ(tree.childrenOf(QString()),
              (QStringList{"K2=" + QString::fromUtf8("二"), "K3=" + QString::fromUtf8("三")}));
    EXPECT_EQ(tree.childrenOf("K2"), QStringList{"http://y/K2=y"});
    EXPECT_TRUE(tree.childrenOf("K3").isEmpty());
}

TEST(Patterns, BuildBoardTreeOnRealMenu)
{
    const QString page =
        platform::decodeCp932(testsupport::fixtureBytes("real/shiwano2ch__bbsmenu.html"));
    RecordingTree tree;
    buildBoardTree(page, tree);
    EXPECT_FALSE(tree.duplicateKey);
    EXPECT_FALSE(tree.orphan);

    const QStringList categories = tree.childrenOf(QString());
    ASSERT_EQ(categories.size(), 46);
    EXPECT_EQ(categories.first(), "K1=" + QString::fromUtf8("地震"));
    EXPECT_EQ(categories.last(), "K46=" + QString::fromUtf8("他のサイト"));
    EXPECT_EQ(tree.nodes.size(), 46 + 911);

    const QStringList quake = tree.childrenOf("K1");
    ASSERT_EQ(quake.size(), 5);
    EXPECT_EQ(quake.first(), QString::fromUtf8("http://headline.2ch.net/bbynamazu/K1=地震headline"));
    EXPECT_EQ(quake.last(), QString::fromUtf8("http://uni.2ch.net/lifeline/K1=緊急自然災害"));
    // The banner and search links before the first category are not boards of any category.
    for (const auto &node : tree.nodes)
        EXPECT_FALSE(node.key.contains("bb-chat")) << node.key.toStdString();
}

} // namespace
