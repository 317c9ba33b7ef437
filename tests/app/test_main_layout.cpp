#include "app/MainLayout.h"
#include "app/ViewMode.h"

#include <gtest/gtest.h>

using namespace mainsizes;

namespace {

bool within(const TwipsRect &inner, int width, int height)
{
    return inner.left >= 0 && inner.top >= 0 && inner.right() <= width && inner.bottom() <= height;
}

} // namespace

TEST(MainLayout, DefaultWindowPlacesEveryRegionInside)
{
    const MainLayout l = resizedLayout(initialLayout(10170, 4590), 10170, 4590);
    EXPECT_EQ(l.strip, (TwipsRect{0, kTitleImageHeight, 10170 - kSidePanelWidth - 70, 4590 - kBottomPanelHeight - 440}));
    EXPECT_EQ(l.bottomPanel.top, l.strip.bottom() + 10);
    EXPECT_TRUE(within(l.bottomPanel, 10170, 4590));
    EXPECT_EQ(l.sidePanel.left, l.strip.width);
    EXPECT_TRUE(within(l.sidePanel, 10170, 4590));
    // Side panel controls stay inside the panel and below the title strip that covers its top.
    for (const TwipsRect &r : {l.favorites, l.boardButtons, l.boardList, l.threadList}) {
        EXPECT_TRUE(within(r, l.sidePanel.width, l.sidePanel.height));
        EXPECT_GE(l.sidePanel.top + r.top, l.titleImage.height);
    }
    EXPECT_LE(l.boardList.bottom(), l.threadList.top);
    // Title pictures inside the title image, minimise left of close, caption left of both.
    EXPECT_TRUE(within(l.pictures.picClose, l.titleImage.width, l.titleImage.height));
    EXPECT_LT(l.pictures.picMin.right(), l.pictures.picClose.left);
    EXPECT_LT(l.pictures.caption.right(), l.pictures.picMin.left);
    EXPECT_EQ(l.webScroll, (TwipsRect{0, 0, l.strip.width, l.strip.height + 300}));
    EXPECT_EQ(l.video.width, l.strip.width);
    EXPECT_EQ(l.video.height, l.strip.height);
}

TEST(MainLayout, InitialLayoutFollowsTheStartUpRules)
{
    const MainLayout l = initialLayout(10170, 4590);
    EXPECT_EQ(l.strip.width, 10170 - kSidePanelWidth);
    EXPECT_EQ(l.titleStrip.width, 10170);
    EXPECT_EQ(l.titleImage.width, 10170 - 100);
    EXPECT_EQ(l.strip.top, l.titleImage.height);
    EXPECT_EQ(l.sidePanel.left, l.strip.width);
}

TEST(MainLayout, WidthRules)
{
    struct Case
    {
        int startWidth;  // window width of the layout resized from
        int width;       // new window width
        int stripWidth;  // expected
        const char *what;
    };
    const Case cases[] = {
        {10170, 12000, 12000 - kSidePanelWidth - 70, "wider window"},
        {10170, 8000, 8000 - kSidePanelWidth - 70, "narrower, still wider than the strip"},
        {10170, 5000, 10170 - kSidePanelWidth, "narrower than the strip: unchanged"},
        {3500, 3050, 3050, "narrower than side panel + 71: strip as wide as the window"},
        {3500, kSidePanelWidth + 70, kSidePanelWidth + 70, "w = 0"},
        {3500, kSidePanelWidth + 71, 1, "w = 1"},
    };
    for (const Case &c : cases) {
        const MainLayout before = initialLayout(c.startWidth, 4590);
        const MainLayout l = resizedLayout(before, c.width, 4590);
        EXPECT_EQ(l.strip.width, c.stripWidth) << c.what;
        EXPECT_EQ(l.sidePanel.left, l.strip.width) << c.what;
        if (before.strip.width < c.width) {
            EXPECT_EQ(l.bottomPanel.width, l.strip.width) << c.what;
            EXPECT_EQ(l.titleStrip.width, c.width + 100) << c.what;
            EXPECT_EQ(l.titleImage.width, c.width + 100 - 145) << c.what;
        } else {
            EXPECT_EQ(l.bottomPanel, before.bottomPanel) << c.what;
            EXPECT_EQ(l.titleStrip, before.titleStrip) << c.what;
            EXPECT_EQ(l.titleImage, before.titleImage) << c.what;
        }
    }
}

TEST(MainLayout, HeightRulesAndThreadList)
{
    // Lower than the strip: the strip keeps its height, dependents still move.
    const MainLayout tall = initialLayout(10170, 6000);
    MainLayout l = resizedLayout(tall, 10170, 1000);
    EXPECT_EQ(l.strip.height, tall.strip.height);
    EXPECT_EQ(l.bottomPanel.top, l.strip.bottom() + 10);
    EXPECT_EQ(l.sidePanel.height, 1000 - 150);

    // A strip lower than a window too low for the panels gets the window's height.
    const MainLayout low = initialLayout(10170, 900);
    l = resizedLayout(low, 10170, 850);
    EXPECT_EQ(l.strip.height, 850);
    EXPECT_EQ(l.video.height, 850);

    // List5: side panel height - 2700 when at least 1, else the side panel's height.
    const struct { int windowHeight; int listHeight; } lists[] = {
        {4590, 4590 - 150 - 2700}, {2851, 1}, {2850, 2700}, {2000, 1850}};
    for (const auto &c : lists) {
        l = resizedLayout(initialLayout(10170, 4590), 10170, c.windowHeight);
        EXPECT_EQ(l.threadList.height, c.listHeight) << c.windowHeight;
    }
}

TEST(ViewMode, CaptionsAndStoredIndexes)
{
    EXPECT_EQ(viewModeCaptions().size(), 3);
    const struct { QString caption; qint16 mode; } modes[] = {
        {QStringLiteral("モード１"), 1}, {QStringLiteral("モード２"), 2}, {QStringLiteral("miniモード"), 3},
        {QString(), 3}};
    for (const auto &m : modes)
        EXPECT_EQ(viewModeOf(m.caption), m.mode) << m.caption.toStdString();
    const int stored[][2] = {{0, 0}, {2, 2}, {3, 0}, {-1, 0}};
    for (const auto &s : stored)
        EXPECT_EQ(viewModeIndexOf(s[0]), s[1]) << s[0];
}
