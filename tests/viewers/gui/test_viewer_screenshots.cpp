// Pictures of the thread view and the thread-list window for a person to look at, from the
// real sample files. Runs only when KESTRELON_SCREENSHOT_DIR names a folder (under xvfb-run, so
// that the browser paints as on a desktop).

#include "../RecordHost.h"
#include "TestSupport.h"
#include "net/DatConverter.h"
#include "net/ThreadIndex.h"
#include "platform/Cp932.h"
#include "viewers/gui/formMerlinBrowser.h"
#include "viewers/gui/formSureItiran.h"

#include <QDir>
#include <QListWidget>
#include <QPixmap>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

QString screenshotFolder()
{
    return qEnvironmentVariable("KESTRELON_SCREENSHOT_DIR");
}

// The window as the screen shows it (the browser paints through its own surface).
QPixmap capture(QWidget *window)
{
    testsupport::waitUntil([] { return false; }, 1500);
    if (QScreen *screen = window->screen()) {
        const QPixmap shot = screen->grabWindow(window->winId());
        if (!shot.isNull())
            return shot;
    }
    return window->grab();
}

class NoBoardHost : public ThreadListHost
{
public:
    qint16 intGetSureFrom() const override { return 0; }
    void List3_DblClick() override {}
    void TreeViewIta_DblClick() override {}
    void comboFavorite_Click() override {}
    void selectList5Row(int) override {}
    void List5_DblClick() override {}
    void command1Click() override {}
};

TEST(ViewerScreenshots, ThreadViewAndThreadList)
{
    const QString folder = screenshotFolder();
    if (folder.isEmpty())
        GTEST_SKIP() << "set KESTRELON_SCREENSHOT_DIR to take the pictures";
    QDir().mkpath(folder);
    testsupport::TempProgramFolder program;

    RecordHost host;
    host.caption = QStringLiteral("Kestrelon 1: ニュース速報 (27)");
    host.record = convertDat(QStringLiteral("HTTP/1.0 200 OK\r\n\r\n")
                             + platform::decodeCp932(testsupport::fixtureBytes("real/shiwano2ch__1231808850.dat")));
    formMerlinBrowser view(host);
    view.resize(720, 760);
    int completes = 0;
    QObject::connect(&view, &formMerlinBrowser::documentCompleted, [&] { ++completes; });
    view.show();
    ASSERT_TRUE(view.setHtmlTextFirst());
    ASSERT_TRUE(testsupport::waitUntil([&] { return completes > 0; }, 30000));
    EXPECT_TRUE(capture(&view).save(folder + QStringLiteral("/thread_view.png")));

    NoBoardHost listHost;
    formSureItiran list(listHost);
    const ThreadIndexListing listing = listThreadIndex(
        normaliseIndexLineEnds(QStringLiteral("HTTP/1.0 200 OK\r\n\r\n")
                               + platform::decodeCp932(testsupport::fixtureBytes("real/shiwano2ch__subject.txt"))),
        QStringLiteral("news.example.net"), QStringLiteral("news"));
    list.setAttribute(Qt::WA_DeleteOnClose, false);
    list.show();
    testsupport::waitUntil([] { return false; }, 100); // the load runs (and lists nothing)
    list.setThreadLists(listing.entries, listing.addresses);
    list.List1()->setCurrentRow(2);
    EXPECT_TRUE(capture(&list).save(folder + QStringLiteral("/thread_list.png")));
}

} // namespace
