#pragma once
// Geometry of the mini window in twips, without any widget. On every resize the background
// image takes the whole window, the minimise and close pictures follow the right edge and the
// caption runs up to them (the title rules of the main window, titlePicturesFor), and the
// marquee browser is laid larger than its frame and shifted up, so that its border, its scroll
// bar and the page margin above the marquee stay hidden.
//
// Coordinates are relative to the window, except webScroll, which is relative to frame1.

#include "platform/ChromeRules.h"

namespace minisizes {
constexpr int kWindowWidth = 9600;       // 640 px at 96 dpi
constexpr int kWindowHeight = 1335;      // 89 px
constexpr int kFrameLeft = 120;
constexpr int kFrameTop = 360;           // below the caption row
constexpr int kFrameHeight = 480;        // one row of 26 px text
constexpr int kControlsTop = 915;
constexpr int kControlHeight = 330;
constexpr int kWebScrollTop = -280;      // hides the browser's border and top page margin
constexpr int kWebScrollExtra = 300;     // hides its right scroll bar and bottom border
} // namespace minisizes

struct MiniLayout
{
    TwipsRect image1;
    TitlePictures pictures;   // picMin/PicMinOn, picClose/PicCloseON, lblCaption
    TwipsRect frame1;
    TwipsRect webScroll;      // inside frame1
    TwipsRect command1;
    TwipsRect comboMode;
    TwipsRect chkSaizenmen;
    TwipsRect lblCountDown;
};

// The layout for a window of the given size. Frame1 keeps its height and margins and spans the
// window's width.
MiniLayout miniLayoutFor(int windowWidth, int windowHeight);

// The narrowest window (twips) that still shows every control of the bottom row; the user may
// widen it from there (the window is frameless: a size grip in its corner).
int miniMinimumWidth();
