// Where the thread view opens after each build: a session is a sequence of builds (with their
// titles), document completes (with the page's scroll height) and window closings.

#include "viewers/ThreadViewScroll.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

struct Step
{
    enum Kind { Build, Complete, Close } kind;
    QString title;                         // Build
    qint32 height = 0;                     // Complete: the new page's scroll height
    std::optional<qint32> expectedTop = {}; // Complete: the scroll top set before recording
};

Step build(const char *title) { return {Step::Build, QString::fromUtf8(title)}; }
Step complete(qint32 height, std::optional<qint32> top) { return {Step::Complete, {}, height, top}; }
Step closeWindow() { return {Step::Close}; }

// Runs the steps as the window does: a build starts, then finishes (navigates), and the
// document completes later.
void run(const std::vector<Step> &steps)
{
    ThreadViewScroll scroll;
    int index = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(index++);
        switch (step.kind) {
        case Step::Build:
            scroll.startBuild(step.title);
            scroll.finishBuild();
            break;
        case Step::Complete:
            ASSERT_TRUE(scroll.handlesDocumentComplete());
            EXPECT_EQ(scroll.restoreScrollTop(), step.expectedTop);
            scroll.recordScrollHeight(step.height);
            break;
        case Step::Close:
            scroll.unload();
            EXPECT_FALSE(scroll.handlesDocumentComplete());
            break;
        }
    }
}

TEST(ThreadViewScroll, FirstOpeningAtTopThenEachRebuildAtThePreviousEnd)
{
    run({build(" 1: A"), complete(4000, std::nullopt),
         build(" 1: A"), complete(4600, 4000),
         build(" 1: A"), complete(5100, 4600)});
}

TEST(ThreadViewScroll, AfterAThreadChangeAtTopUntilClosed)
{
    run({build(" 1: A"), complete(4000, std::nullopt),
         build(" 2: B"), complete(900, std::nullopt),
         build(" 2: B"), complete(1200, std::nullopt),
         // Back on the first thread: the change is remembered until the window closes.
         build(" 1: A"), complete(4000, std::nullopt),
         closeWindow(),
         // Reopened: B is the new first title, and restoring works again.
         build(" 2: B"), complete(1300, std::nullopt),
         build(" 2: B"), complete(1500, 1300)});
}

TEST(ThreadViewScroll, ClosingResetsTheCountsButNotTheTitleUntilTheNextBuild)
{
    ThreadViewScroll scroll;
    scroll.startBuild("A");
    scroll.finishBuild();
    scroll.recordScrollHeight(700);
    scroll.startBuild("B");
    EXPECT_TRUE(scroll.blnIsTitleChanged);
    scroll.unload();
    EXPECT_EQ(scroll.intBuildCount, 0);
    EXPECT_EQ(scroll.lngLastScrollHeight, 0);
    EXPECT_FALSE(scroll.blnIsBuilt);
    EXPECT_FALSE(scroll.blnIsTitleChanged);
    EXPECT_EQ(scroll.strFirstTitle, QStringLiteral("A"));
    // A document completing before any build of the new session is left alone.
    EXPECT_FALSE(scroll.handlesDocumentComplete());
}

TEST(ThreadViewScroll, BuildCountSaturatesInsteadOfOverflowing)
{
    ThreadViewScroll scroll;
    scroll.intBuildCount = 32766;
    scroll.startBuild("A");
    scroll.startBuild("A");
    EXPECT_EQ(scroll.intBuildCount, 32767);
}

} // namespace
