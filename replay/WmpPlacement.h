#pragma once
// Where a replay comment starts and how far it moves per tick of its mover. Plain geometry in
// twips; the strip supplies the sizes of its labels.

#include "platform/Twips.h"

#include <QString>
#include <optional>

// Intervals of the replay movers.
constexpr int kTimerLblWmpMsgInterval = 120;
constexpr int kTimerLblWmpMsgKageInterval = 150;

// prev is lblWmpMsg(i - 1), nothing when it does not exist (never created or already unloaded).
inline bool isWmpPrevLabelGone(const std::optional<TwipsRect> &prev)
{
    return !prev.has_value();
}

// The previous comment has fully entered: its right end is left of the strip's right edge.
// A missing label counts as entered.
inline bool isWmpPrevLabelIn(const std::optional<TwipsRect> &prev, int frameWidth)
{
    return !prev || qint64(prev->left) + prev->width < frameWidth;
}

struct WmpPlacementInput
{
    int k = 1;                    // ordinal of the comment within its tick, from 1
    int gapBase = 1;              // 1 for k = 1, else the height of lblWmpMsg(i - 1)
    int r = 0;                    // random gap, 0 to 100
    int windowWidth = 0;          // the main window's width
    int frameWidth = 0;           // Frame1
    int frameHeight = 0;
    int ownHeight = 0;            // height of lblWmpMsg(i) as created, before its caption is set
    int ownWidth = 0;             // width of lblWmpMsg(i) with its caption
    std::optional<TwipsRect> prev; // lblWmpMsg(i - 1)
    bool shadow = false;          // shadow-text mode: the 150 ms mover
    int intScroll = 5;            // seconds to cross
};

struct WmpPlacement
{
    int left = 0;
    int top = 0;
    int shadowLeft = 0;           // lblWmpMsgKage(i), shadow-text mode only
    int shadowTop = 0;
    int timerInterval = kTimerLblWmpMsgInterval;
    double step = 0;              // twips per mover tick
    QString tag;                  // step as decimal text, what the mover reads
};

// placeWmpLabel's arithmetic. Nothing for a speed setting that cannot move a comment.
std::optional<WmpPlacement> placeWmpLabel(const WmpPlacementInput &in);
