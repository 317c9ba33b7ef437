#include "net/BoardMenu.h"
#include "core/ServicesConfig.h"
#include "platform/Cp932.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

QString u(const char *text) { return QString::fromUtf8(text); }

TEST(BoardMenu, LinkFormsAreNormalised)
{
    const QString page = u(
        "<A HREF = \"http://livea.example.net/livenhk/\" >番組ch(NHK)</A><br>\n"
        "<a href=http://b.example.net/eq/ TARGET=_blank> 地震速報 </a><br>\n"
        "<A HREF=\"http://c.example.net/news/\" TARGET=\"_top\"><b>ニュース</b></A>\n"
        "<a href=http://d.example.net/x/>no closing tag\n"
        "<a name=top>anchor</a>\n");
    const QList<BoardLink> links = parseBoardLinks(page);
    const QList<BoardLink> expected{
        {u("番組ch(NHK)"), "http://livea.example.net/livenhk/subback.html"},
        {u("地震速報"), "http://b.example.net/eq/subback.html"},
        {u("ニュース"), "http://c.example.net/news/subback.html"},
    };
    EXPECT_EQ(links, expected);
}

TEST(BoardMenu, LiveFilterKeepsOrder)
{
    ServicesConfig config = ServicesConfig::defaults();
    config.liveLabels = {"livea", "liveb", "livec"};
    const QList<BoardLink> boards{
        {"A", "http://livea.example.net/x/subback.html"},
        {"B", "http://news.example.net/y/subback.html"},
        {"C", "http://livec.example.net/z/subback.html"},
        {"D", "http://LIVEB.example.net/w/subback.html"}, // the test is case-sensitive
    };
    EXPECT_EQ(filterLiveBoards(boards, config), (QList<BoardLink>{boards[0], boards[2]}));
}

TEST(BoardMenu, RealMenu)
{
    const QString page =
        platform::decodeCp932(testsupport::fixtureBytes("real/shiwano2ch__bbsmenu.html"));
    const QList<BoardLink> links = parseBoardLinks(page);
    ASSERT_EQ(links.size(), 915);

    // The image banner: no name; a link with TARGET drops it from its address.
    EXPECT_EQ(links[0], (BoardLink{QString(), "http://www.bb-chat.tv/subback.html"}));
    EXPECT_EQ(links[1], (BoardLink{u("2chの入り口"), "http://www.2ch.net/subback.html"}));
    EXPECT_EQ(links.last(), (BoardLink{QString(), "http://count.2ch.net/?bbsmenusubback.html"}));
    EXPECT_TRUE(links.contains(BoardLink{u("番組ch(NHK)"), "http://hayabusa2.2ch.net/livenhk/subback.html"}));
    EXPECT_TRUE(links.contains(BoardLink{u("会議室"), "http://www.machi.to/tawara/subback.html"}));
    for (const BoardLink &link : links) {
        EXPECT_FALSE(link.address.contains(' ') || link.address.contains('"') || link.address.contains('>'))
            << link.address.toStdString();
        EXPECT_FALSE(link.name.contains('<') || link.name.contains('>')) << link.name.toStdString();
    }

    ServicesConfig config = ServicesConfig::defaults();
    config.liveLabels = {"hayabusa2", "hayabusa3", "kilauea"};
    const QList<BoardLink> live = filterLiveBoards(links, config);
    EXPECT_EQ(live.size(), 14 + 8 + 16);
    EXPECT_FALSE(live.contains(BoardLink{u("なんでも実況J"), "http://hayabusa.2ch.net/livejupiter/subback.html"}));
    EXPECT_TRUE(live.contains(BoardLink{u("番組ch(NHK)"), "http://hayabusa2.2ch.net/livenhk/subback.html"}));
}

TEST(BoardMenu, Utf8MenuIsTolerated)
{
    const QString page = QString::fromUtf8(testsupport::fixtureBytes("real/redpeacock78-bbsmenu__bbsmenu.utf8.html"));
    const QList<BoardLink> links = parseBoardLinks(page);
    ASSERT_GT(links.size(), 4000);
    EXPECT_EQ(links[0], (BoardLink{u("地震headline"), "https://headline.5ch.net/bbynamazu/subback.html"}));
    EXPECT_TRUE(links.contains(BoardLink{u("メール"), "mailto:admin@5ch.netsubback.html"}));
    for (const BoardLink &link : links)
        EXPECT_FALSE(link.address.contains('"') || link.address.contains('>')) << link.address.toStdString();
}

} // namespace
