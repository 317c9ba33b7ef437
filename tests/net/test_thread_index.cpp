#include "net/ThreadIndex.h"
#include "platform/Cp932.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

const QString kHeaders = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";

TEST(ThreadIndex, NormaliseLineEnds)
{
    const struct { const char *in; const char *out; } cases[] = {
        {"a\r\nb\r\n", "a\r\nb\r\n"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb", "a\r\nb"},
        {"a\r\r\nb", "a\r\n\r\nb"},
        {"\n\r", "\r\n\r\n"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(normaliseIndexLineEnds(c.in), QString(c.out)) << c.in;
}

TEST(ThreadIndex, ListsEntriesAndAddresses)
{
    const QString reply = kHeaders
        + QString::fromUtf8("1231808850.dat<>実況スレ (12)\r\n"
                            "1231808000.dat<>タイトルに<>を含む (3)\r\n");
    const ThreadIndexListing listing = listThreadIndex(reply, "livea.example.net:8080", "livenhk", 1231808850 + 1800);
    EXPECT_EQ(listing.entries,
              (QStringList{QString::fromUtf8("1: 実況スレ (12)"), QString::fromUtf8("2: タイトルに")}));
    EXPECT_EQ(listing.addresses,
              (QStringList{"http://livea.example.net:8080/test/read.cgi/livenhk/1231808850/l50",
                           "http://livea.example.net:8080/test/read.cgi/livenhk/1231808000/l50"}));
    // Momentum at the time of listing: 12 in half an hour; a title cut at "<>" lost its count.
    EXPECT_EQ(listing.momentum, (QList<std::optional<double>>{24.0, std::nullopt}));
}

TEST(ThreadIndex, OddRepliesListWhatIsSound)
{
    const struct { const char *name; QString reply; QStringList entries; } cases[] = {
        {"no empty line after headers", "HTTP/1.0 200 OK\r\n1.dat<>a (1)\r\n", {}},
        {"headers only", kHeaders, {}},
        {"empty reply", QString(), {}},
        {"last line without line end is not listed", kHeaders + "1.dat<>a (1)\r\n2.dat<>b (2)",
         {"1: a (1)"}},
        {"short lines skipped, numbers consecutive",
         kHeaders + "1.dat<>a (1)\r\n\r\ngarbage\r\n2.dat<>b (2)\r\n", {"1: a (1)", "2: b (2)"}},
        {"only the first empty line ends the headers", kHeaders + "\r\n1.dat<>a (1)\r\n",
         {"1: a (1)"}},
    };
    for (const auto &c : cases) {
        const ThreadIndexListing listing = listThreadIndex(c.reply, "s", "b");
        EXPECT_EQ(listing.entries, c.entries) << c.name;
        EXPECT_EQ(listing.addresses.size(), listing.entries.size()) << c.name;
    }
}

TEST(ThreadIndex, NoLimitAt32767Lines)
{
    QString reply = kHeaders;
    for (int i = 0; i < 33000; ++i)
        reply += QString::number(1000000 + i) + ".dat<>t (1)\r\n";
    const ThreadIndexListing listing = listThreadIndex(reply, "s", "b");
    ASSERT_EQ(listing.entries.size(), 33000);
    EXPECT_EQ(listing.entries.last(), "33000: t (1)");
    EXPECT_EQ(listing.addresses.last(), "http://s/test/read.cgi/b/1032999/l50");
}

TEST(ThreadIndex, RealSubjectFile)
{
    // LF line ends as served; the fetcher normalises them before listing.
    const QByteArray bytes = "HTTP/1.0 200 OK\nContent-Type: text/plain\n\n"
        + testsupport::fixtureBytes("real/shiwano2ch__subject.txt");
    const QString reply = normaliseIndexLineEnds(platform::decodeCp932(bytes));
    const ThreadIndexListing listing = listThreadIndex(reply, "pele.2ch.net", "anime");

    ASSERT_EQ(listing.entries.size(), 714);
    ASSERT_EQ(listing.addresses.size(), 714);
    EXPECT_EQ(listing.entries.first(),
              QString::fromUtf8("1: 【ハム太郎】春名ヒロ子ちゃんのスレ【ロコちゃん】 (23)"));
    EXPECT_EQ(listing.addresses.first(), "http://pele.2ch.net/test/read.cgi/anime/1302924333/l50");
    EXPECT_EQ(listing.addresses.at(1), "http://pele.2ch.net/test/read.cgi/anime/9241205101/l50");
    EXPECT_TRUE(listing.entries.last().startsWith("714: "));
    EXPECT_TRUE(listing.entries.last().endsWith("(1001)"));
    // The last two lines share one key; both are listed.
    EXPECT_EQ(listing.addresses.at(712), listing.addresses.at(713));
    for (const QString &entry : listing.entries)
        EXPECT_FALSE(entry.contains(QLatin1Char('\r')) || entry.contains(QLatin1Char('\n')));
}

} // namespace
