// Which seconds the replay ticks look up: late and doubled ticks, seeks back and ahead, the
// offset; and the display showing each response once across them.

#include "replay/ReplayLookup.h"
#include "replay/ReplayOffset.h"
#include "replay/WmpDisplay.h"

#include <gtest/gtest.h>

namespace {

// Player and lookup seconds of each tick, and the seconds the tick shows.
struct Step { qint64 player; qint64 lookup; QList<qint64> shown; };

void run(const char *what, ReplayLookup lookup, const QList<Step> &steps)
{
    for (const Step &s : steps)
        EXPECT_EQ(lookup.advance(s.player, s.lookup), s.shown) << what << " at " << s.player << "/" << s.lookup;
}

} // namespace

TEST(ReplayLookup, EachSecondOnceWhateverTheTicks)
{
    run("steady, late and doubled ticks", ReplayLookup(),
        {{10, 10, {10}}, {11, 11, {11}}, {13, 13, {12, 13}}, {13, 13, {}}, {12, 12, {}}, {14, 14, {14}}});
    run("a jump ahead beyond the catch-up is a seek: the seconds jumped over are skipped", ReplayLookup(),
        {{10, 10, {10}}, {40, 40, {40}}, {41, 41, {41}}});
    run("a jump back is a seek: shown again from there", ReplayLookup(),
        {{50, 50, {50}}, {51, 51, {51}}, {20, 20, {20}}, {21, 21, {21}}});
    run("offset back: nothing again until the log passes what was shown", ReplayLookup(),
        {{10, 10, {10}}, {11, 11, {11}}, {12, 10, {}}, {13, 11, {}}, {14, 12, {12}}});
    run("offset ahead by one catches up, by ten jumps", ReplayLookup(),
        {{10, 10, {10}}, {11, 12, {11, 12}}, {12, 23, {23}}, {13, 24, {24}}});

    ReplayLookup slow;
    slow.setCatchUpSeconds(4 + 2);   // a 4-second tick
    run("a long interval catches up on its seconds", slow, {{0, 0, {0}}, {4, 4, {1, 2, 3, 4}}});

    ReplayLookup seek;
    seek.advance(100, 100);
    seek.seekTo(30);   // the slider moved to 30: the tick a moment later shows from 30 on
    run("explicit seek back", seek, {{31, 31, {30, 31}}, {32, 32, {32}}});
    seek.seekTo(200);
    run("explicit seek ahead", seek, {{200, 200, {200}}, {201, 201, {201}}});
}

TEST(ReplayOffset, KeysAndRange)
{
    EXPECT_EQ(replayOffsetStep(Qt::Key_Left, Qt::NoModifier), -1);
    EXPECT_EQ(replayOffsetStep(Qt::Key_Right, Qt::ShiftModifier), 10);
    EXPECT_EQ(replayOffsetStep(Qt::Key_Left, Qt::ShiftModifier | Qt::KeypadModifier), -10);
    EXPECT_EQ(replayOffsetStep(Qt::Key_Right, Qt::ControlModifier), 0);
    EXPECT_EQ(replayOffsetStep(Qt::Key_Up, Qt::NoModifier), 0);
    EXPECT_EQ(clampReplayOffset(-601), -600);
    EXPECT_EQ(clampReplayOffset(700), 600);
    EXPECT_EQ(replayOffsetFlash(3), QStringLiteral("ずれ補正：+3秒"));
    EXPECT_EQ(replayOffsetFlash(-10), QStringLiteral("ずれ補正：-10秒"));
}
