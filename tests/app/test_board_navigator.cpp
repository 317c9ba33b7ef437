// The board openers without a window: what each empties, how the board was opened, and which
// thread a row or an address makes current. The boards are on a server that cannot be named, so
// every opener fails at once without a wait.

#include "app/BoardNavigator.h"
#include "net/ThreadChannel.h"
#include "present/ThreadPosition.h"

#include <gtest/gtest.h>

namespace {

const QString kBoard = QStringLiteral("http://host:notaport/live/");

struct Navigator
{
    ThreadChannel channel;
    BoardNavigator boards{channel};

    Navigator()
    {
        boards.liveBoards().setBoards({{QStringLiteral("実況"), kBoard + "subback.html"}});
        boards.favorites().setBoards({{QStringLiteral("お気に入り"), kBoard + "subback.html"}});
        boards.tree().addNode(QStringLiteral("K1"), QStringLiteral("実況ch"), QString());
        boards.tree().addNode(kBoard + "K1", QStringLiteral("実況"), QStringLiteral("K1"));
    }
    void listSomeThreads()
    {
        boards.threads().setThreads({QStringLiteral("1: a (1)")},
                                    {QStringLiteral("http://h/test/read.cgi/b/123/l50")}, 0);
    }
};

TEST(BoardNavigator, OpenersEmptyTheirListsAndRecordWhereTheBoardCameFrom)
{
    const struct
    {
        const char *opener;
        std::function<FetchResult(BoardNavigator &)> open;
        qint16 from;
        int liveBoardsAfter;
    } cases[] = {
        {"live list", [](BoardNavigator &b) { return b.openLiveBoard(0); }, 1, 1},
        {"tree", [](BoardNavigator &b) { return b.openTreeBoard(b.tree().node(kBoard + "K1")); }, 2, 1},
        {"favourite", [](BoardNavigator &b) { return b.openFavorite(0); }, 3, 0},
        {"thread address on a live board", [](BoardNavigator &b) { return b.openBoardOfThread("host:notaport", "live"); }, 1, 1},
        {"thread address elsewhere", [](BoardNavigator &b) { return b.openBoardOfThread("host:notaport", "other"); }, 0, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.opener);
        Navigator n;
        n.listSomeThreads();
        EXPECT_FALSE(c.open(n.boards).ok());
        EXPECT_EQ(n.boards.intGetSureFrom(), c.from);
        EXPECT_EQ(n.boards.threads().rowCount(), 0);
        EXPECT_EQ(n.boards.liveBoards().rowCount(), c.liveBoardsAfter);
        EXPECT_EQ(n.channel.intIndexArrived, 0);
    }
}

TEST(BoardNavigator, ARowOrAnAddressMakesItsThreadCurrent)
{
    Navigator n;
    n.listSomeThreads();
    EXPECT_FALSE(n.boards.threadAt(-1));
    EXPECT_FALSE(n.boards.threadAt(1));
    const std::optional<ThreadChoice> listed = n.boards.threadAt(0);
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->caption, QStringLiteral("Kestrelon 1: a (1)"));
    EXPECT_EQ(listed->threadNumber, QStringLiteral("123"));

    const ThreadChoice unlisted = BoardNavigator::threadByAddress("h", "b", "456");
    EXPECT_EQ(unlisted.caption, QStringLiteral("Kestrelon 456"));
    ThreadPosition position;
    position.intLastDt = 1001;
    position.intZenkaiLastDT = 990;
    position.blnIsFirst = false;
    n.boards.makeCurrent(unlisted, position);
    EXPECT_EQ(n.channel.label3Caption(), unlisted.address);
    EXPECT_EQ(n.channel.address().strThreNo, QStringLiteral("456"));
    EXPECT_EQ(position.intLastDt, 0);
    EXPECT_EQ(position.intZenkaiLastDT, 0);
    EXPECT_TRUE(position.blnIsFirst);
}

} // namespace
