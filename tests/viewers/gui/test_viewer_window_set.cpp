// The viewer window set before and after its browser windows' module is loaded: what it holds
// until then, and a module that cannot be loaded.

#include "platform/MessageService.h"
#include "viewers/gui/BrowserModule.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Calls
{
    int created = 0;
    QStringList log;
};
Calls g_calls;

class RecordingWindows : public BrowserWindows
{
public:
    void setImage(const QStringList &resNo, const QStringList &urls, bool isModeChange) override
    {
        g_calls.log << QStringLiteral("setImage %1 %2 %3").arg(resNo.join(QLatin1Char(',')), urls.join(QLatin1Char(',')))
                              .arg(isModeChange);
    }
    void showImageViewer() override { g_calls.log << QStringLiteral("showImageViewer"); }
    void closeImageViewer() override { g_calls.log << QStringLiteral("closeImageViewer"); }
    void showTvGraph() override {}
    void closeTvGraph() override {}
    void showWebPage(const QString &url) override { g_calls.log << QStringLiteral("showWebPage ") + url; }
    void closeWebWindow() override {}
    bool isThreadViewVisible() const override { return true; }
    void showThreadView() override {}
    void refreshThreadView() override {}
    void closeThreadView() override { g_calls.log << QStringLiteral("closeThreadView"); }
};

std::unique_ptr<BrowserWindows> createRecording(const ViewerWindowHosts &)
{
    ++g_calls.created;
    return std::make_unique<RecordingWindows>();
}

const BrowserModuleEntry kRecordingEntry{kBrowserModuleVersion, &createRecording};

TEST(ViewerWindowSet, HoldsTheImageListsUntilTheFirstBrowserWindowThenHandsOverTheLastOnes)
{
    g_calls = {};
    BrowserModule module = BrowserModule::linked(&kRecordingEntry);
    std::unique_ptr<ViewerWindows> set = createViewerWindows({}, module);

    // Nothing of this loads the module: the lists are kept (the last whole ones, then the mode
    // change drawn on them), the closes have nothing to close, no thread view is visible.
    set->setImage({QStringLiteral("1")}, {QStringLiteral("a")}, false);
    set->setImage({QStringLiteral("1"), QStringLiteral("2")}, {QStringLiteral("a"), QStringLiteral("b")}, false);
    set->setImage({QStringLiteral("1"), QStringLiteral("2")}, {QStringLiteral("a"), QStringLiteral("b")}, true);
    set->closeImageViewer();
    set->closeThreadView();
    EXPECT_FALSE(set->isThreadViewVisible());
    EXPECT_EQ(g_calls.created, 0);

    set->showImageViewer();
    set->setImage({QStringLiteral("3")}, {QStringLiteral("c")}, false);
    set->showWebPage(QStringLiteral("http://example.org/"));
    EXPECT_TRUE(set->isThreadViewVisible());
    EXPECT_EQ(g_calls.created, 1);
    EXPECT_EQ(g_calls.log, QStringList({QStringLiteral("setImage 1,2 a,b 0"), QStringLiteral("setImage 1,2 a,b 1"),
                                        QStringLiteral("showImageViewer"), QStringLiteral("setImage 3 c 0"),
                                        QStringLiteral("showWebPage http://example.org/")}));
}

TEST(ViewerWindowSet, AModuleThatCannotBeLoadedIsReportedOnceAndItsWindowsDoNothing)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath(QLatin1String(kBrowserModuleFile));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    platform::ScriptedMessageService messages;
    platform::setMessageService(&messages);
    BrowserModule module({dir.filePath(QStringLiteral("missing/kestrelon-viewers.so")), broken});
    std::unique_ptr<ViewerWindows> set = createViewerWindows({}, module);

    set->setImage({QStringLiteral("1")}, {QStringLiteral("a")}, false);
    set->showImageViewer();
    set->showThreadView();
    set->refreshThreadView();
    set->showWebPage(QStringLiteral("http://example.org/"));
    set->closeWebWindow();
    EXPECT_FALSE(set->isThreadViewVisible());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().first().contains(broken)) << messages.shown().first().toStdString();
    EXPECT_EQ(module.entry(), nullptr);
    platform::setMessageService(nullptr);
}

} // namespace
