#include "TestSupport.h"
#include "net/DatConverter.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace {

const QString kHeaders = QStringLiteral("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n");

QString line(const QString &name, const QString &time, const QString &body)
{
    return name + QStringLiteral("<>sage<>") + time + QStringLiteral("<>") + body + QStringLiteral("<>\r\n");
}

} // namespace

TEST(ConvertDat, FieldsNumbersAndTheTrailingEmptyElement)
{
    const ResponseRecord record = convertDat(kHeaders + line(QStringLiteral("名無し"), QStringLiteral("t1"), QStringLiteral(" 一 "))
                                             + line(QStringLiteral("<b>コテ</b>"), QStringLiteral("t2"), QStringLiteral("二<br>行")));
    EXPECT_EQ(record.upperBound(), 2);
    EXPECT_EQ(record.numbers(), (QStringList{"1", "2", ""}));
    EXPECT_EQ(record.names(), (QStringList{QStringLiteral("名無し"), QStringLiteral("<b>コテ</b>"), ""}));
    EXPECT_EQ(record.times(), (QStringList{"t1", "t2", ""}));
    EXPECT_EQ(record.bodies(), (QStringList{QStringLiteral(" 一 "), QStringLiteral("二<br>行"), ""}));
    EXPECT_EQ(record.number(0), QStringLiteral("1"));
    EXPECT_EQ(record.body(2), QString());
    EXPECT_FALSE(record.body(3));
    EXPECT_FALSE(record.body(-1));
}

TEST(ConvertDat, EntitiesAreReplacedInOrderOverTheWholeText)
{
    struct Case { QString body; QString expected; };
    const Case cases[] = {
        // An anchor escaped twice reads ">>" + number.
        {QStringLiteral("&amp;gt;&amp;gt;12 見て"), QStringLiteral(">>12 見て")},
        {QStringLiteral("&amp;lt;&lt;x&gt;"), QStringLiteral("<<x>")},
        {QStringLiteral("a&\\t;b"), QStringLiteral("a  b")},
        {QStringLiteral("&quot;x&quot;&nbsp;y"), QStringLiteral("\"x\" y")},
        // "&quot;" comes after "&amp;": "&amp;quot;" becomes a quote; "&nbsp" without ";" stays.
        {QStringLiteral("&amp;quot;&nbsp"), QStringLiteral("\"&nbsp")},
    };
    for (const Case &c : cases) {
        const ResponseRecord record = convertDat(kHeaders + line("n", "t", c.body));
        EXPECT_EQ(record.body(0), c.expected) << c.body.toStdString();
    }
    // Thousands of entities in one text (the rewrite works in place, past any batch size).
    QString many;
    for (int i = 0; i < 3000; ++i)
        many += QStringLiteral("&amp;gt;x");
    EXPECT_EQ(convertDat(kHeaders + line("n", "t", many)).body(0), QString(many).replace(QStringLiteral("&amp;gt;"), QStringLiteral(">")));
    // Entities that form "<>" after replacement split fields, as the order implies.
    EXPECT_EQ(convertDat(kHeaders + QStringLiteral("a&lt;&gt;b<>m<>t<>body<>\r\n")).name(0), QStringLiteral("a"));
}

TEST(ConvertDat, LineEndsOfAnyKindAndALastLineWithoutLineEnd)
{
    const QString lf = QStringLiteral("HTTP/1.0 200 OK\nX: y\n\nA<>m<>t1<>b1<>\nB<>m<>t2<>b2<>\n");
    QString cr = lf;
    cr.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    QString mixed = lf;
    mixed.replace(QStringLiteral("A<>m<>t1<>b1<>\n"), QStringLiteral("A<>m<>t1<>b1<>\r\n"));
    for (const QString &text : {lf, cr, mixed}) {
        const ResponseRecord record = convertDat(text);
        EXPECT_EQ(record.upperBound(), 2);
        EXPECT_EQ(record.names(), (QStringList{"A", "B", ""}));
    }
    // The text after the last line end is not a response.
    const ResponseRecord cut = convertDat(kHeaders + line("A", "t1", "b1") + QStringLiteral("B<>m<>t2<>b2<>"));
    EXPECT_EQ(cut.upperBound(), 1);
    EXPECT_EQ(cut.names(), (QStringList{"A", ""}));
}

TEST(ConvertDat, ShorterDatAfterLongerOneAndTextAfterASecondEmptyLine)
{
    ResponseRecord record = convertDat(kHeaders + line("A", "1", "a") + line("B", "2", "b") + line("C", "3", "c"));
    EXPECT_EQ(record.upperBound(), 3);
    record = convertDat(kHeaders + line("X", "9", "x"));
    EXPECT_EQ(record.upperBound(), 1);
    EXPECT_EQ(record.names(), (QStringList{"X", ""}));
    // Only the part between the first and the second empty line is read.
    record = convertDat(kHeaders + line("A", "1", "a") + QStringLiteral("\r\n") + line("B", "2", "b"));
    EXPECT_EQ(record.names(), (QStringList{""}));
    record = convertDat(kHeaders + line("A", "1", "a") + line("B", "2", "b") + QStringLiteral("\r\n") + line("C", "3", "c"));
    EXPECT_EQ(record.names(), (QStringList{"A", ""}));
}

TEST(ConvertDat, NeverFailsOnRepliesWithoutHeadersEndOrWithShortLines)
{
    // No empty line: no dat lines, just the single empty element.
    for (const QString &text : {QString(), QStringLiteral("HTTP/1.0 200 OK\r\n"), QStringLiteral("A<>m<>t<>b<>\r\n")}) {
        const ResponseRecord record = convertDat(text);
        EXPECT_EQ(record.upperBound(), 0);
        EXPECT_EQ(record.numbers(), (QStringList{""}));
    }
    // Short lines still count as responses; missing fields are empty.
    const ResponseRecord record = convertDat(kHeaders + QStringLiteral("<html>error\r\nname<>mail<>time\r\n"));
    EXPECT_EQ(record.upperBound(), 2);
    EXPECT_EQ(record.numbers(), (QStringList{"1", "2", ""}));
    EXPECT_EQ(record.names(), (QStringList{"<html>error", "name", ""}));
    EXPECT_EQ(record.times(), (QStringList{"", "time", ""}));
    EXPECT_EQ(record.bodies(), (QStringList{"", "", ""}));
}

TEST(ConvertDat, RealDatFilesFromTheService)
{
    const QByteArray bytes = testsupport::fixtureBytes(QStringLiteral("real/shiwano2ch__1231808850.dat"));
    ASSERT_FALSE(bytes.isEmpty());
    const ResponseRecord record = convertDat(platform::decodeCp932("HTTP/1.0 200 OK\n\n" + bytes));
    EXPECT_EQ(record.upperBound(), 27);
    EXPECT_EQ(record.name(0), QStringLiteral("CC名無したん"));
    EXPECT_EQ(record.time(0), QStringLiteral("2009/01/13(火) 10:07:30 ID:fQ0FFwOR0"));
    EXPECT_EQ(record.body(0), QStringLiteral(" はにゃ～ん☆ "));
    EXPECT_EQ(record.number(26), QStringLiteral("27"));
    for (const QString &body : record.bodies()) {
        EXPECT_FALSE(body.contains(QStringLiteral("&lt;")));
        EXPECT_FALSE(body.contains(QStringLiteral("&gt;")));
    }

    const ResponseRecord continuation = convertDat(platform::decodeCp932(
        "HTTP/1.0 200 OK\r\n\r\n" + testsupport::fixtureBytes(QStringLiteral("real/shiwano2ch__1231808850_2.dat"))));
    EXPECT_EQ(continuation.upperBound(), 4);
    EXPECT_EQ(continuation.time(0), continuation.time(3));
}
