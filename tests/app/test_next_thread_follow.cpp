// The follow's driver against a scripted board: waiting shows its caption and turns Start into
// Stop, a later listing finds the part, and a Stop inside a listing's wait drops that listing.

#include "app/NextThreadFollow.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

ThreadSummary thread(qint64 key, const QString &title, int count)
{
    return summariseThread(QStringLiteral("1: %1 (%2)").arg(title).arg(count),
                           QStringLiteral("http://h/test/read.cgi/b/%1/l50").arg(key));
}

struct ScriptedBoard
{
    qint64 now = 0;
    QList<ThreadSummary> listed;
    int listings = 0;
    QList<qsizetype> followed;
    QStringList captions;
    QList<bool> waiting;
    std::function<void()> duringListing;
    bool boardKnown = true;

    NextThreadFollow::Host host()
    {
        return {[this] {
                    ++listings;
                    if (duringListing)
                        duringListing();
                    return boardKnown;
                },
                [this] { return listed; }, [this](qsizetype row) { followed << row; },
                [this](const QString &c) { captions << c; }, [this](bool w) { waiting << w; }};
    }
};

const ThreadSummary kFinished = thread(1000, QStringLiteral("大河ドラマ ★3"), 1001);

} // namespace

TEST(NextThreadFollow, WaitsWithItsCaptionUntilTheNextPartIsListed)
{
    ScriptedBoard board;
    board.listed = {kFinished};
    NextThreadFollow follow(board.host());
    follow.setClock([&] { return board.now; });
    follow.begin(kFinished);
    EXPECT_EQ(board.listings, 0);   // listed from the event loop
    QCoreApplication::processEvents();
    EXPECT_EQ(board.captions, QStringList{QStringLiteral("次スレ待ち：180")});
    EXPECT_EQ(board.waiting, QList<bool>{true});

    board.now = 4000;
    follow.tick();
    EXPECT_EQ(board.listings, 1);
    board.listed << thread(1010, QStringLiteral("大河ドラマ ★4"), 1);
    board.now = 5000;
    follow.tick();
    EXPECT_EQ(board.listings, 2);
    EXPECT_EQ(board.followed, QList<qsizetype>{1});
    EXPECT_EQ(board.captions.last(), QString());
    EXPECT_EQ(board.waiting, (QList<bool>{true, false}));
    EXPECT_FALSE(follow.isWaiting());
}

TEST(NextThreadFollow, StopDuringAListingDropsWhatItBrings)
{
    ScriptedBoard board;
    board.listed = {kFinished};
    NextThreadFollow follow(board.host());
    follow.setClock([&] { return board.now; });
    follow.begin(kFinished);
    QCoreApplication::processEvents();
    board.listed << thread(1010, QStringLiteral("大河ドラマ ★4"), 1);
    board.duringListing = [&] { follow.cancel(); };
    board.now = 5000;
    follow.tick();
    EXPECT_TRUE(board.followed.isEmpty());
    EXPECT_EQ(board.waiting, (QList<bool>{true, false}));
    EXPECT_EQ(follow.wait().state(), NextThreadWait::State::Cancelled);
}

TEST(NextThreadFollow, NoBoardToListEndsAtOnce)
{
    ScriptedBoard board;
    board.boardKnown = false;
    board.listed = {thread(1010, QStringLiteral("大河ドラマ ★4"), 1)};   // a list of another board
    NextThreadFollow follow(board.host());
    follow.begin(kFinished);
    QCoreApplication::processEvents();
    EXPECT_TRUE(board.followed.isEmpty());
    EXPECT_TRUE(board.waiting.isEmpty());
    EXPECT_FALSE(follow.isWaiting());
}
