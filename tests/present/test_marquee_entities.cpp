// Character references in marquee page text, including the edges of the 12-character limit and
// texts full of bare ampersands.
#include "present/MarqueePage.h"

#include <gtest/gtest.h>

TEST(MarqueeEntities, DecodesReferencesAndLeavesEverythingElse)
{
    const struct
    {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("plain"), QStringLiteral("plain")},
        {QStringLiteral("&gt;&gt;12 &amp; &lt;b&gt;"), QStringLiteral(">>12 & <b>")},
        {QStringLiteral("a&nbsp;b&NBSP;c"), QStringLiteral("a\u00A0b\u00A0c")},
        {QStringLiteral("&#12354;&#x3042;&#X3042;"), QStringLiteral("あああ")},
        {QStringLiteral("&quot;&apos;"), QStringLiteral("\"'")},
        // Not references: unknown names, empty, bad numbers, surrogates, no ";".
        {QStringLiteral("&foo; &; &#; &#xZZ; &#55296; &#0;"), QStringLiteral("&foo; &; &#; &#xZZ; &#55296; &#0;")},
        {QStringLiteral("AT&T and &amp"), QStringLiteral("AT&T and &amp")},
        {QStringLiteral("&"), QStringLiteral("&")},
        {QStringLiteral("x&"), QStringLiteral("x&")},
        // The ";" at most 12 characters after the "&" (reference of 10 + "#" digits).
        {QStringLiteral("&#0000012354;"), QStringLiteral("あ")},
        {QStringLiteral("&#00000012354;"), QStringLiteral("&#00000012354;")},
        // A far ";" belongs to no reference; a near one after a bare "&" still counts.
        {QStringLiteral("& a long way to go; &lt;"), QStringLiteral("& a long way to go; <")},
        {QStringLiteral("&&amp;&"), QStringLiteral("&&&")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(decodeEntities(c.in), c.out) << c.in.toStdString();
}

TEST(MarqueeEntities, ManyBareAmpersandsStayLinear)
{
    // 200,000 "&" with a single ";" at the very end: every one is copied through.
    QString text(200000, QLatin1Char('&'));
    text += QStringLiteral("x;");
    const QString out = decodeEntities(text);
    EXPECT_EQ(out, text);
}
