#pragma once
// Geometry of the main window's regions in twips, without any widget: the initial layout, the
// layout on resize, and the title pictures' places (shared with the mini-mode window).
//
// Coordinates are relative to the parent region, as the widgets are nested:
//   window client: titleStrip (Frame6), strip (Frame1), bottomPanel (Frame2), sidePanel (Frame3)
//   titleStrip:    titleImage (Image1), caption (lblCaption), picMin, picClose
//   strip:         webScroll (WebScroll), video (WMP)
//   sidePanel:     favorites (comboFavorite), the two board-menu buttons, boardList (List3, with
//                  TreeViewIta laid over it), threadList (List5)
//
// The side panel starts sideTopOverlap twips above the strip, under the title strip, so its
// controls begin below that overlap.

#include "platform/ChromeRules.h"
#include "platform/Twips.h"

// Fixed sizes of the panels and title pieces (twips; 15 a pixel at 96 dpi).
namespace mainsizes {
constexpr int kSidePanelWidth = 3000;     // 200 px: favourites, board and thread lists
constexpr int kBottomPanelHeight = 780;   // 52 px: two rows of buttons
constexpr int kTitleImageHeight = 345;    // 23 px title strip (at most 350, see sidePanel)
constexpr int kSideTopOverlap = 200;      // title image height - side panel top
constexpr int kSideContentTop = 230;      // first control inside the side panel
constexpr int kSideRowHeight = 330;
constexpr int kBoardListTop = kSideContentTop + 2 * (kSideRowHeight + 30);
constexpr int kThreadListTop = 2610;      // List5; its height is side panel height - 2700
constexpr int kSideMargin = 60;
} // namespace mainsizes

struct MainLayout
{
    TwipsRect titleStrip;
    TwipsRect titleImage;
    TitlePictures pictures;
    TwipsRect strip;
    TwipsRect webScroll;
    TwipsRect video;
    TwipsRect bottomPanel;
    TwipsRect sidePanel;
    TwipsRect favorites;
    TwipsRect boardButtons;  // "All2ch" and "実況板" side by side
    TwipsRect boardList;     // List3 and TreeViewIta
    TwipsRect threadList;    // List5
};

// The start-up layout for a window of the given size.
MainLayout initialLayout(int windowWidth, int windowHeight);

// The layout on resize, from the current one. A window made narrower than the strip (or lower)
// leaves the width (height) rules undone, as the regions were. Not to be called while the window
// is minimised.
MainLayout resizedLayout(const MainLayout &current, int windowWidth, int windowHeight);
