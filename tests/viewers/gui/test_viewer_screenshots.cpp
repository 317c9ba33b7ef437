// Pictures of the thread view, the thread-list window and the image viewer for a person to look
// at, from the real sample files and served pictures. Runs only when KESTRELON_SCREENSHOT_DIR names a folder (under xvfb-run, so
// that the browser paints as on a desktop).

#include "../RecordHost.h"
#include "FakeHttpServer.h"
#include "TestSupport.h"
#include "WebWait.h"
#include "platform/gui/DesktopServices.h"
#include "viewers/gui/formImageView.h"
#include "net/DatConverter.h"
#include "net/ThreadIndex.h"
#include "platform/Cp932.h"
#include "viewers/gui/formMerlinBrowser.h"
#include "viewers/gui/formSureItiran.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QWebEngineView>
#include "platform/gui/ModelListView.h"
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

// A picture to serve: a coloured field with its number, so translucency shows against white.
QByteArray servedPicture(int n)
{
    QImage image(280, 210, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((n * 97) % 360, 200, 220));
    QPainter painter(&image);
    painter.setPen(Qt::black);
    QFont font = painter.font();
    font.setPixelSize(90);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, QString::number(n));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Stands in for the user's browser: a window of our own showing the address it was given. The
// thread view links only port-less addresses; those of 127.0.0.1 reach the test's server.
QWebEngineView *g_userBrowser = nullptr;
int g_servedPort = 0;
bool openInStandIn(const QString &given)
{
    QUrl address(given);
    if (address.host() == QLatin1String("127.0.0.1") && address.port() < 0)
        address.setPort(g_servedPort);
    if (!g_userBrowser) {
        g_userBrowser = new QWebEngineView;
        g_userBrowser->resize(420, 330);
        g_userBrowser->move(700, 40);
    }
    g_userBrowser->setWindowTitle(QStringLiteral("user's browser: ") + given);
    g_userBrowser->load(address);
    g_userBrowser->show();
    return true;
}

TEST(ViewerScreenshots, ImageViewerHoverAndNewWindowLinks)
{
    const QString folder = screenshotFolder();
    if (folder.isEmpty())
        GTEST_SKIP() << "set KESTRELON_SCREENSHOT_DIR to take the pictures";
    QDir().mkpath(folder);
    testsupport::TempProgramFolder program;
    testsupport::FakeHttpServer server;
    server.setResponder([](const QByteArray &request, int) {
        const int n = QString::fromLatin1(request.mid(0, request.indexOf(' ', 5))).section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0).toInt();
        testsupport::FakeHttpServer::Reply r;
        r.chunks = {testsupport::FakeHttpServer::reply(servedPicture(n), 200, "Content-Type: image/png\r\n")};
        return r;
    });
    platform::setBrowserOpener(&openInStandIn);
    g_servedPort = server.port();

    formImageView viewer;
    QStringList names, urls;
    for (int n = 1; n <= 4; ++n) {
        names << QString::number(100 + n);
        urls << QStringLiteral("http://%1/img/%2.png?size=big&n=%2").arg(server.server()).arg(n);
    }
    viewer.setImage(names, urls, false);
    bool shown = false;
    QObject::connect(&viewer, &formImageView::pageShown, [&] { shown = true; });
    viewer.move(20, 40);
    viewer.show();
    ASSERT_TRUE(testsupport::waitUntil([&] { return shown; }, 30000));
    QWebEngineView *view = viewer.WebBrowser1();
    ASSERT_TRUE(testsupport::waitUntil([&] {
        return documentText(view, QStringLiteral("Array.from(document.images).every(function(i){return i.complete&&i.naturalWidth>0;})")) == QLatin1String("true");
    }, 30000));
    // The pointer comes from the left onto the second picture.
    const QStringList box = documentText(view, QStringLiteral("(function(){var r=document.images[1].getBoundingClientRect();"
                                                              "return [Math.round(r.left),Math.round(r.top+r.height/2)].join(',');})()"))
                                .split(QLatin1Char(','));
    ASSERT_EQ(box.size(), 2);
    QWidget *target = view->focusProxy();
    auto move = [&](QPoint at) {
        QMouseEvent event(QEvent::MouseMove, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
        testsupport::waitUntil([] { return false; }, 300); // one move at a time, as a hand gives them
    };
    const QPoint entry(box.at(0).toInt() - 6, box.at(1).toInt());
    move(entry - QPoint(30, 0));
    move(entry);
    move(entry + QPoint(40, 0));
    ASSERT_TRUE(testsupport::waitUntil([&] {
        return documentText(view, QStringLiteral("getComputedStyle(document.images[1]).opacity")) == QLatin1String("1");
    }, 10000));
    EXPECT_TRUE(capture(&viewer).save(folder + QStringLiteral("/image_viewer_hover.png")));
    // Left again: the picture stays at 50 %, the others at 30 %.
    move(QPoint(4, 4));
    EXPECT_TRUE(capture(&viewer).save(folder + QStringLiteral("/image_viewer_after.png")));

    // A click on a thumbnail, then on a picture link in the thread view: each opens a window.
    clickInView(view, entry + QPoint(40, 0));
    ASSERT_TRUE(testsupport::waitUntil([] { return g_userBrowser && g_userBrowser->isVisible(); }, 10000));
    bool loaded = false;
    QObject::connect(g_userBrowser, &QWebEngineView::loadFinished, [&](bool) { loaded = true; });
    testsupport::waitUntil([&] { return loaded; }, 10000);
    EXPECT_TRUE(capture(g_userBrowser).save(folder + QStringLiteral("/image_viewer_click.png")));

    RecordHost host;
    host.caption = QStringLiteral("Kestrelon 1: 画像スレ (3)");
    host.setResponses({QStringLiteral("見て http://127.0.0.1/img/3.png"), QStringLiteral("ほう")});
    formMerlinBrowser threadView(host);
    threadView.resize(640, 420);
    threadView.move(20, 420);
    int completes = 0;
    QObject::connect(&threadView, &formMerlinBrowser::documentCompleted, [&] { ++completes; });
    threadView.show();
    ASSERT_TRUE(threadView.setHtmlTextFirst());
    ASSERT_TRUE(testsupport::waitUntil([&] { return completes > 0; }, 30000));
    loaded = false;
    ASSERT_TRUE(clickLink(threadView.WebBrowser1(), QStringLiteral("/img/3.png")));
    ASSERT_TRUE(testsupport::waitUntil([&] { return loaded; }, 10000));
    EXPECT_TRUE(g_userBrowser->url().toString().endsWith(QStringLiteral("/img/3.png")));
    EXPECT_TRUE(capture(g_userBrowser).save(folder + QStringLiteral("/thread_view_picture_link.png")));
    if (QScreen *screen = QGuiApplication::primaryScreen())
        EXPECT_TRUE(screen->grabWindow(0).save(folder + QStringLiteral("/viewers_desktop.png")));
    platform::setBrowserOpener(nullptr);
    delete g_userBrowser;
    g_userBrowser = nullptr;
}

} // namespace
