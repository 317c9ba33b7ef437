#include "mini/MiniLayout.h"

#include <algorithm>

using namespace minisizes;

MiniLayout miniLayoutFor(int windowWidth, int windowHeight)
{
    MiniLayout l;
    l.image1 = {0, 0, windowWidth, windowHeight};
    l.pictures = titlePicturesFor(l.image1.width);

    l.frame1 = {kFrameLeft, kFrameTop, std::max(0, windowWidth - 2 * kFrameLeft), kFrameHeight};
    l.webScroll = {0, kWebScrollTop, l.frame1.width + kWebScrollExtra,
                   l.frame1.height + kWebScrollExtra};

    l.command1 = {kFrameLeft, kControlsTop, 900, kControlHeight};
    l.comboMode = {l.command1.right() + 90, kControlsTop, 1500, kControlHeight};
    l.chkSaizenmen = {l.comboMode.right() + 150, kControlsTop, 1650, kControlHeight};
    l.lblCountDown = {l.chkSaizenmen.right() + 90, kControlsTop, 1500, kControlHeight};
    return l;
}

int miniMinimumWidth()
{
    return miniLayoutFor(kWindowWidth, kWindowHeight).lblCountDown.right() + kFrameLeft;
}
