#include "app/MainLayout.h"

using namespace mainsizes;

namespace {

// Rules shared by the initial layout and every resize: bottom panel top, side panel and its
// lists, the marquee surface and the title pictures.
void placeDependents(MainLayout &l, int windowHeight)
{
    l.bottomPanel.top = l.strip.top + l.strip.height + 10;

    l.sidePanel.top = l.titleImage.height - kSideTopOverlap;
    l.sidePanel.left = l.strip.width;
    l.sidePanel.width = kSidePanelWidth;
    l.sidePanel.height = windowHeight - 150;

    const int innerWidth = kSidePanelWidth - 2 * kSideMargin;
    l.favorites = {kSideMargin, kSideContentTop, innerWidth, kSideRowHeight};
    l.boardButtons = {kSideMargin, kSideContentTop + kSideRowHeight + 30, innerWidth, kSideRowHeight};
    l.boardList = {kSideMargin, kBoardListTop, innerWidth, kThreadListTop - kSideMargin - kBoardListTop};
    const int listHeight = l.sidePanel.height - 2700;
    l.threadList = {kSideMargin, kThreadListTop, innerWidth,
                    listHeight >= 1 ? listHeight : l.sidePanel.height};

    l.webScroll = {l.strip.left, 0, l.strip.width, l.strip.height + 300};
    l.pictures = titlePicturesFor(l.titleImage.width);
}

} // namespace

MainLayout initialLayout(int windowWidth, int windowHeight)
{
    MainLayout l;
    l.strip.width = windowWidth - kSidePanelWidth;
    l.strip.height = windowHeight - kBottomPanelHeight - 440;
    l.titleStrip = {0, 0, windowWidth, kTitleImageHeight};
    l.titleImage = {0, 0, l.titleStrip.width - 100, kTitleImageHeight};
    l.strip.top = l.titleImage.height;
    l.bottomPanel = {0, 0, l.strip.width, kBottomPanelHeight};
    l.video = {0, 0, l.strip.width, l.strip.height};
    placeDependents(l, windowHeight);
    return l;
}

MainLayout resizedLayout(const MainLayout &current, int windowWidth, int windowHeight)
{
    MainLayout l = current;
    if (l.strip.width < windowWidth) {
        const int w = windowWidth - kSidePanelWidth - 70;
        l.strip.width = w >= 1 ? w : windowWidth;
        l.bottomPanel.width = l.strip.width;
        l.video.width = l.strip.width;
        l.titleStrip.width = windowWidth + 100;
        l.titleImage.width = l.titleStrip.width - 145;
    }
    if (l.strip.height < windowHeight) {
        const int h = windowHeight - l.bottomPanel.height - 440;
        l.strip.height = h >= 1 ? h : windowHeight;
        l.video.height = l.strip.height;
    }
    placeDependents(l, windowHeight);
    return l;
}
