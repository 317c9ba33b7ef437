// The TV graph page cut, the general window's placement, the windows' layouts and the board
// re-opening of the thread-list window, where the thread view may navigate.

#include "viewers/TvGraphPage.h"
#include "viewers/ViewerGeometry.h"
#include "viewers/ViewerHosts.h"
#include "viewers/ViewerNavigation.h"

#include <gtest/gtest.h>

namespace {

const QString kTop = QStringLiteral("http://tv.example.net/");
const QString kHost = QStringLiteral("tv.example.net");
const QString kCredit =
    QStringLiteral("Powered&nbsp;By&nbsp;<a href=\"http://tv.example.net/\" target=new>tv.example.net</a></body></html>");

TEST(TvGraphPage, HeadingReplacedAndCutAtTheFirstTable)
{
    struct Case
    {
        const char *name;
        const char *root;
        const char *expected; // between "<html>" and the credit line
    } cases[] = {
        {"as the site writes it",
         "<head></head><body><H1>地上波実況板勢いグラフ</H1><img src=g.png><TABLE border=1><tr></tr></TABLE><TABLE x></body>",
         "<head></head><body><b>地上波実況板勢いグラフ</b><br><img src=g.png>"},
        {"as the browser serialises it",
         "<head></head><body><h1>地上波実況板勢いグラフ</h1>\n<div>g</div>\n<table border=\"1\"><tbody></tbody></table></body>",
         "<head></head><body><b>地上波実況板勢いグラフ</b><br>\n<div>g</div>\n"},
        {"no table: used whole", "<body><H1>地上波実況板勢いグラフ</H1>graph</body>",
         "<body><b>地上波実況板勢いグラフ</b><br>graph</body>"},
        {"no heading: unchanged before the table", "<body><h1>別の見出し</h1>g<TABLE a>t</TABLE></body>",
         "<body><h1>別の見出し</h1>g"},
        {"\"<TABLE\" without a blank is not the cut", "<body>x<TABLEAU>y<table\tz>w</body>",
         "<body>x<TABLEAU>y<table\tz>w</body>"},
        {"empty document", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tvGraphPage(QString::fromUtf8(c.root), kTop, kHost),
                  QStringLiteral("<html>") + QString::fromUtf8(c.expected) + kCredit);
    }
}

TEST(TvGraphPage, CreditQuotesConfiguredValues)
{
    EXPECT_EQ(tvGraphCredit("http://a/?x=\"1\"", "a<b"),
              QStringLiteral("Powered&nbsp;By&nbsp;<a href=\"http://a/?x=&quot;1&quot;\" target=new>a&lt;b</a></body></html>"));
}

TEST(ViewerGeometry, GeneralWindowBelowTheMainWindowOrAtItsTop)
{
    struct Case
    {
        const char *name;
        TwipsRect main;
        qint32 screenBottom;
        double dpi;
        TwipsRect expected;
    } cases[] = {
        // 600 x 325 px = 9000 x 4875 twips at 96 dpi; 320 px = 4800 twips.
        {"room below", {1500, 1500, 12000, 3000}, 11520, 96, {1500 + 1500, 4500, 9000, 4875}},
        {"exactly 320 px below is not enough", {0, 3000, 9000, 3720}, 11520, 96, {0, 3000, 9000, 4875}},
        {"one twip more is", {0, 3000, 9000, 3719}, 11520, 96, {0, 6719, 9000, 4875}},
        {"near the screen's bottom", {3000, 8000, 6000, 2000}, 11520, 96, {1500, 8000, 9000, 4875}},
        {"main window narrower than the general one", {100, 0, 3000, 1500}, 16200, 96, {100 - 3000, 1500, 9000, 4875}},
        // 144 dpi: 10 twips a pixel.
        {"high dpi", {0, 0, 9000, 3000}, 10800, 144, {1500, 3000, 6000, 3250}},
        {"high dpi near the bottom", {0, 5000, 9000, 3000}, 10800, 144, {1500, 5000, 6000, 3250}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TwipsRect r = hanyouPlacement(c.main, c.screenBottom, c.dpi);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.width, c.expected.width);
        EXPECT_EQ(r.height, c.expected.height);
    }
}

TEST(ViewerGeometry, WindowLayouts)
{
    const ThreadViewLayout view = threadViewLayout(kThreadViewLoadWidth, kThreadViewLoadHeight);
    EXPECT_EQ(view.frame, (TwipsRect{0, 0, 10880, 13000}));
    EXPECT_EQ(view.browserWidth, 10880);
    EXPECT_EQ(view.browserHeight, 12600);
    // Smaller than the margins: empty, never negative.
    const ThreadViewLayout tiny = threadViewLayout(100, 300);
    EXPECT_EQ(tiny.frame.width, 0);
    EXPECT_EQ(tiny.browserHeight, 0);

    const HanyouLayout general = hanyouLayout(9000, 4875);
    EXPECT_EQ(general.browserWidth, 8900);
    EXPECT_EQ(general.browserHeight, 4525);
    EXPECT_EQ(general.labelWidth, 8900);
    EXPECT_EQ(pixelsToWholeTwips(600, 96), 9000);
    EXPECT_EQ(twipsToPixels(11000, 96), 733);
}

class RecordingListHost : public ThreadListHost
{
public:
    qint16 from = 0;
    QStringList calls;
    qint16 intGetSureFrom() const override { return from; }
    void List3_DblClick() override { calls << "List3_DblClick"; }
    void TreeViewIta_DblClick() override { calls << "TreeViewIta_DblClick"; }
    void comboFavorite_Click() override { calls << "comboFavorite_Click"; }
    void selectList5Row(int) override { calls << "select"; }
    void List5_DblClick() override { calls << "List5_DblClick"; }
    void command1Click() override { calls << "command1Click"; }
};

TEST(ViewerNavigation, OnlyItsOwnPageLoadsAndOnlyClickedWebLinksLeave)
{
    const QUrl own = QUrl::fromLocalFile(QStringLiteral("/prog/image/tempHtml3.html"));
    struct Case { const char *target; bool clicked; bool mainFrame; ViewerNavigation expected; };
    const Case cases[] = {
        {"file:///prog/image/tempHtml3.html?build=3", false, true, ViewerNavigation::Load},
        {"file:///prog/image/tempHtml3.html", false, false, ViewerNavigation::Refuse},
        {"file:///prog/image/tempHtml3.html#x", true, true, ViewerNavigation::Refuse},
        {"file:///etc/passwd", false, true, ViewerNavigation::Refuse},
        {"file:///prog/livecfg.txt", true, true, ViewerNavigation::Refuse},
        {"http://outside.example/p", true, true, ViewerNavigation::OpenOutside},
        {"HTTPS://outside.example/p", true, false, ViewerNavigation::OpenOutside},
        {"http://outside.example/p", false, true, ViewerNavigation::Refuse},
        {"javascript:alert(1)", true, true, ViewerNavigation::Refuse},
        {"data:text/html,x", true, true, ViewerNavigation::Refuse},
    };
    for (const Case &c : cases)
        EXPECT_EQ(threadViewNavigation(QUrl(QString::fromUtf8(c.target)), own, c.clicked, c.mainFrame), c.expected)
            << c.target << " clicked " << c.clicked << " main " << c.mainFrame;
}

TEST(ViewerHosts, BoardReopenedTheWayItWasOpened)
{
    const struct
    {
        qint16 from;
        bool reopened;
        QStringList calls;
    } cases[] = {
        {1, true, {"List3_DblClick"}},
        {2, true, {"TreeViewIta_DblClick"}},
        {3, true, {"comboFavorite_Click"}},
        {0, false, {}},
        {4, false, {}},
    };
    for (const auto &c : cases) {
        RecordingListHost host;
        host.from = c.from;
        EXPECT_EQ(reopenBoardAsOpened(host), c.reopened) << c.from;
        EXPECT_EQ(host.calls, c.calls) << c.from;
    }
}

} // namespace
