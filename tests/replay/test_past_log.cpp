// The past-log loader: numbering across files, the zero-point time rule, entity decoding,
// deleted and short lines, empty and missing files, and the real dat samples.

#include "replay/PastLog.h"

#include "TestSupport.h"
#include "platform/Cp932.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testsupport::fixturePath;

namespace {

QString datLine(const QString &name, const QString &date, const QString &body)
{
    return name + QStringLiteral("<>sage<>") + date + QStringLiteral("<>") + body + QStringLiteral("<>");
}

class PastLogTest : public ::testing::Test
{
protected:
    // Writes the lines in CP932 with LF ends, as the service's dat files come.
    QString writeDat(const QString &name, const QStringList &lines)
    {
        const QString path = m_dir.path() + QLatin1Char('/') + name;
        QByteArray bytes;
        for (const QString &line : lines)
            bytes += platform::encodeCp932(line) + '\n';
        testsupport::writeBytes(path, bytes);
        return path;
    }

    QTemporaryDir m_dir;
    PastLog log;
};

TEST(PastLogTime, SecondsOfDayTakesTheFirstTimeGroup)
{
    struct Case { const char *field; std::optional<qint64> seconds; };
    const Case cases[] = {
        {"2009/01/13(火) 21:00:03 ID:fQ0FFwOR0", 75603},
        {"2011/03/01(火) 10:07:30.12 ID:abc", 10 * 3600 + 7 * 60 + 30},   // centiseconds ignored
        {"00:00:00", 0},
        {"あぼーん", std::nullopt},                                       // deleted response
        {"", std::nullopt},
        {"2009/01/13 21:00", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(secondsOfDay(QString::fromUtf8(c.field)), c.seconds) << c.field;
}

TEST(PastLogTime, ZeroPointIsTheStartOrTheFirstStampedLine)
{
    PastLog log;
    EXPECT_EQ(log.parseResTime(QStringLiteral("ID:none")), QString());
    EXPECT_EQ(log.lngStartSeconds, 0);   // an unstamped field does not set the zero point
    EXPECT_EQ(log.parseResTime(QStringLiteral("2009/01/13 21:00:03 ID:a")), QStringLiteral("0"));
    EXPECT_EQ(log.lngStartSeconds, 75603);
    EXPECT_EQ(log.parseResTime(QStringLiteral("2009/01/13 21:00:05 ID:b")), QStringLiteral("2"));

    PastLog started;
    started.lngStartSeconds = 21 * 3600 + 5;
    EXPECT_EQ(started.parseResTime(QStringLiteral("21:00:03")), QStringLiteral("-2"));
    EXPECT_EQ(started.parseResTime(QStringLiteral("21:01:05")), QStringLiteral("60"));
    // Past midnight the offsets turn large and negative; the display never reaches them.
    EXPECT_EQ(started.parseResTime(QStringLiteral("00:00:10")), QString::number(10 - 75605));
}

TEST(PastLogText, EntitiesAreDecodedInTheirOrder)
{
    struct Case { const char *in; const char *out; };
    const Case cases[] = {
        {"&amp;lt;", "<"},              // "&amp;" first, so the "&lt;" it leaves is decoded too
        {"&amp;gt;&gt;", ">>"},
        {"&amp;amp;", "&amp;"},         // one pass only
        {"a&nbsp;b", "a b"},
        {"a&\\t;b", "a  b"},            // backslash and t are real characters
        {"a\tb", "a\tb"},
        {"&quot;x&quot;", "\"x\""},
        {"&AMP;", "&AMP;"},             // case-sensitive
    };
    for (const Case &c : cases)
        EXPECT_EQ(decodePastLogEntities(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST_F(PastLogTest, FilesAreNumberedContinuouslyInLoadOrder)
{
    const QString first = writeDat(QStringLiteral("a.dat"),
        {datLine(QStringLiteral("名無し"), QStringLiteral("2009/01/13(火) 21:00:03 ID:x"), QStringLiteral("一")),
         datLine(QStringLiteral("n2"), QStringLiteral("2009/01/13(火) 21:00:05 ID:y"), QStringLiteral("&amp;lt;b&nbsp;c")),
         datLine(QStringLiteral("n3"), QStringLiteral("あぼーん"), QStringLiteral("あぼーん"))});
    const QString second = writeDat(QStringLiteral("b.dat"),
        {datLine(QStringLiteral("n4"), QStringLiteral("21:00:06"), QStringLiteral("四<br>行")),
         datLine(QStringLiteral("n5"), QStringLiteral("21:01:03"), QStringLiteral("五"))});

    log.beginLoad();
    log.loadPastLogFile(first);
    log.loadPastLogFile(second);

    EXPECT_EQ(log.lngDatResCount, 5);
    EXPECT_EQ(log.strDatResNo, QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(log.strDatResTime, QStringList({"0", "2", "", "3", "60"}));
    EXPECT_EQ(log.strDatResName, QStringList({"名無し", "n2", "n3", "n4", "n5"}));
    EXPECT_EQ(log.strDatRes, QStringList({"一", "<b c", "あぼーん", "四<br>行", "五"}));
    EXPECT_EQ(log.countLabelText(), QStringLiteral("レス数：5"));
    EXPECT_EQ(log.firstIndexOfTime(QStringLiteral("3")), 3);

    // A new load rewrites from entry 0: nothing of the previous one is left to be shown.
    log.beginLoad();
    log.loadPastLogFile(second);
    EXPECT_EQ(log.strDatResNo, QStringList({"1", "2"}));
    EXPECT_EQ(log.strDatResTime, QStringList({"3", "60"}));   // the zero point stays
    EXPECT_EQ(log.firstIndexOfTime(QStringLiteral("2")), -1);
}

TEST_F(PastLogTest, EmptyMissingAndShortLinesKeepTheListsParallel)
{
    const QString empty = writeDat(QStringLiteral("empty.dat"), {});
    const QString shortLines = writeDat(QStringLiteral("short.dat"),
        {datLine(QStringLiteral("a"), QStringLiteral("21:00:00"), QStringLiteral("x")), QString(),
         QStringLiteral("only<>two"), datLine(QStringLiteral("b"), QStringLiteral("21:00:01"), QStringLiteral("y"))});

    log.beginLoad();
    log.loadPastLogFile(empty);
    log.loadPastLogFile(m_dir.path() + QStringLiteral("/missing.dat"));
    EXPECT_EQ(log.lngDatResCount, 0);
    EXPECT_EQ(log.countLabelText(), QStringLiteral("レス数：0"));

    log.loadPastLogFile(shortLines);
    ASSERT_EQ(log.lngDatResCount, 4);
    for (const QStringList *list : {&log.strDatResNo, &log.strDatResTime, &log.strDatResName, &log.strDatRes})
        EXPECT_EQ(list->size(), 4);
    EXPECT_EQ(log.strDatResTime, QStringList({"0", "", "", "1"}));
    EXPECT_EQ(log.strDatResNo.last(), QStringLiteral("4"));
    EXPECT_EQ(log.strDatResName.at(2), QStringLiteral("only"));

    log.loadPastLogFile(empty);
    EXPECT_EQ(log.countLabelText(), QStringLiteral("レス数：4"));
}

TEST_F(PastLogTest, DialogRowsAreTheRawDateFieldsAndUnsetTheStart)
{
    const QString path = writeDat(QStringLiteral("a.dat"),
        {datLine(QStringLiteral("a"), QStringLiteral("2009/01/13(火) 21:00:03 ID:x"), QStringLiteral("x")),
         datLine(QStringLiteral("b"), QStringLiteral("あぼーん"), QStringLiteral("y"))});
    log.beginLoad();
    log.loadPastLogFile(path);
    ASSERT_EQ(log.lngStartSeconds, 75603);

    EXPECT_EQ(log.listPastLogTimes(path),
              QStringList({"2009/01/13(火) 21:00:03 ID:x", "あぼーん"}));
    EXPECT_EQ(log.lngStartSeconds, 0);
    EXPECT_EQ(log.lngDatResCount, 0);   // nothing replays until the next load
    EXPECT_EQ(log.firstIndexOfTime(QStringLiteral("0")), -1);
}

TEST_F(PastLogTest, RealDatFilesLoadAsOneReplay)
{
    log.beginLoad();
    log.loadPastLogFile(fixturePath(QStringLiteral("real/shiwano2ch__1231808850.dat")));
    log.loadPastLogFile(fixturePath(QStringLiteral("real/shiwano2ch__1231808850_2.dat")));

    ASSERT_EQ(log.lngDatResCount, 31);
    EXPECT_EQ(log.strDatResNo.first(), QStringLiteral("1"));
    EXPECT_EQ(log.strDatResNo.last(), QStringLiteral("31"));
    EXPECT_EQ(log.strDatResName.first(), QStringLiteral("CC名無したん"));
    EXPECT_EQ(log.strDatRes.first(), QStringLiteral(" はにゃ～ん☆ "));
    EXPECT_EQ(log.strDatResTime.at(0), QStringLiteral("0"));     // 10:07:30
    EXPECT_EQ(log.strDatResTime.at(1), QStringLiteral("165"));   // 10:10:15
    for (qsizetype i = 0; i < log.lngDatResCount; ++i) {
        EXPECT_FALSE(log.strDatResTime.at(i).isEmpty()) << i;
        EXPECT_FALSE(log.strDatRes.at(i).contains(QStringLiteral("&lt;"))) << i;
        EXPECT_FALSE(log.strDatRes.at(i).contains(QChar(0xfffd))) << i;
    }
}

} // namespace
