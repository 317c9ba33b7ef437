#pragma once
// The small rules of the live cycle that need no window: the re-fetch countdown carried in
// TimerReget's tag, the overloaded-server page, and the board address behind a board-tree node.

#include <QString>

// The countdown step of one TimerReget tick.
struct CountdownTick
{
    bool fetch = false;   // the twelfth tick: fetch the thread now
    QString caption;      // lblCountDown's caption for this tick
    QString nextTag;      // the tag after this tick (unchanged for a fetching tick)
};

// The tag is "0" at start-up and "1" after every fetch and Stop. Ticks with tag n != 12 move it
// to n + 1 and show "再取得まで：" + (13 - (n + 1)); the tick with tag 12 fetches. A tag that is
// no number counts as 0, so a damaged tag still ends in a fetch.
CountdownTick countdownTick(const QString &tag);

// Caption shown while the thread is being fetched / its responses are being shown, and the one
// every fetch leaves behind.
QString fetchingCaption();       // "レス取得中"
QString showingCaption();        // "レス表示中"
QString countdownCaption(int n); // "再取得まで：" + n
constexpr int kRegetSteps = 12;

// The service's page for an overloaded server, and what the user is told when Start meets it.
bool isOverloadedPage(const QString &page);
QString overloadedMessage();

// Told when Start cannot fetch the thread (refused, silent or broken server).
QString startFailedMessage();

// The board address of a board-tree node: its key with every occurrence of the parent's key
// removed. Empty for a node without a parent (a category).
QString treeNodeBoardAddress(const QString &nodeKey, const QString &parentKey, bool hasParent);

// A board's thread-list page address made into the address openBoard takes.
QString boardAddressFromListEntry(const QString &subbackAddress);
