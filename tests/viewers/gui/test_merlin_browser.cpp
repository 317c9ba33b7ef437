// The thread view window against a stand-in main window: caption and layout, the page file and
// corner images, scripts in responses that do nothing, the scroll position across rebuilds, a
// failed or overtaken build that leaves the page shown.

#include "../RecordHost.h"
#include "TestSupport.h"
#include "WebWait.h"
#include "platform/Cp932.h"
#include "platform/gui/DesktopServices.h"
#include "viewers/ThreadViewPage.h"
#include "viewers/ViewerGeometry.h"
#include "viewers/gui/formMerlinBrowser.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QScreen>
#include <QWebEngineView>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList bodies(int count, const QString &prefix = QStringLiteral("レス"))
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list << QStringLiteral("%1 %2<br>二行目<br>三行目").arg(prefix).arg(i);
    return list;
}

class MerlinBrowserTest : public ::testing::Test
{
protected:
    MerlinBrowserTest()
    {
        host.caption = QStringLiteral("Kestrelon 1: 実況スレ (100)");
        window = std::make_unique<formMerlinBrowser>(host);
        QObject::connect(window.get(), &formMerlinBrowser::documentCompleted, [this] { ++completes; });
    }

    // Builds and waits until the new page has completed (scroll restored and recorded).
    bool build()
    {
        const int before = completes;
        if (!window->setHtmlTextFirst())
            return false;
        return testsupport::waitUntil([&] { return completes > before; }, 30000);
    }

    qreal scrollY() const { return documentScrollTop(window->WebBrowser1()); }

    testsupport::TempProgramFolder folder;
    RecordHost host;
    std::unique_ptr<formMerlinBrowser> window;
    int completes = 0;
};

TEST_F(MerlinBrowserTest, CaptionLayoutPageFileAndCornerImages)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("MerlinBrowser"));
    EXPECT_EQ(window->WebBrowser1(), nullptr); // no browser engine before the window is shown
    window->show();
    ASSERT_NE(window->WebBrowser1(), nullptr);

    const double dpi = window->screen()->logicalDotsPerInchY();
    EXPECT_EQ(window->width(), twipsToPixels(11000, dpi));
    EXPECT_EQ(window->height(), twipsToPixels(13000, dpi));
    EXPECT_EQ(window->Frame1()->geometry(), QRect(0, 0, twipsToPixels(10880, dpi), window->height()));
    EXPECT_EQ(window->WebBrowser1()->height(), twipsToPixels(12600, dpi));
    window->resize(400, 300);
    EXPECT_EQ(window->WebBrowser1()->width(), twipsToPixels(pixelsToWholeTwips(400, dpi) - 120, dpi));

    host.setResponses(bodies(3), QString());
    ASSERT_TRUE(build());
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" 1: 実況スレ (100)"));
    const QByteArray bytes = testsupport::readBytes(folder.file("image/tempHtml3.html"));
    EXPECT_EQ(platform::decodeCp932(bytes), *buildThreadViewPage(host, QStringLiteral(" 1: 実況スレ (100)")));
    EXPECT_EQ(documentText(window->WebBrowser1(), "document.getElementsByTagName('table').length"), "4");

    // The corners: white towards the box, the page colour away from it, real GIFs.
    const QRgb page = qRgb(0xdc, 0xdc, 0xdc);
    const QRgb white = qRgb(0xff, 0xff, 0xff);
    const struct
    {
        int n;
        QPoint outer; // the image corner away from the box
        QPoint inner;
    } corners[] = {{1, {0, 0}, {13, 13}}, {2, {13, 0}, {0, 13}}, {3, {13, 13}, {0, 0}}, {4, {0, 13}, {13, 0}}};
    for (const auto &c : corners) {
        SCOPED_TRACE(c.n);
        const QString path = folder.file(QStringLiteral("image/kado%1.gif").arg(c.n));
        const QImage image(path, "GIF");
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(14, 14));
        EXPECT_EQ(image.pixel(c.outer) & 0xffffff, page & 0xffffff);
        EXPECT_EQ(image.pixel(c.inner) & 0xffffff, white & 0xffffff);
        // The edge is anti-aliased: some pixels lie between the two colours.
        int between = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 14; ++x)
                between += qRed(image.pixel(x, y)) > 0xdc && qRed(image.pixel(x, y)) < 0xff;
        EXPECT_GT(between, 5);
    }
    // The page shows them at 14 x 14.
    EXPECT_EQ(documentText(window->WebBrowser1(),
                           "(function(){var i=document.images[0];return i.complete+' '+i.naturalWidth;})()"),
              "true 14");
}

TEST_F(MerlinBrowserTest, ScriptsInResponsesDoNothing)
{
    window->show();
    host.setResponses({
        "<script>document.title='pwned'</script>",
        "<img src=x onerror=\"document.title='pwned'\">",
        "<body onload=\"document.title='pwned'\">",
        "<a href=\"javascript:document.title='pwned'\">link</a>",
        "<meta http-equiv=\"refresh\" content=\"0;url=about:blank\">",
    });
    host.caption = QStringLiteral("Kestrelon <script>document.title='pwned'</script>");
    ASSERT_TRUE(build());
    QWebEngineView *view = window->WebBrowser1();
    EXPECT_EQ(documentText(view, "document.title"), QString());
    EXPECT_EQ(documentText(view, "document.scripts.length"), "0");
    EXPECT_EQ(documentText(view, "document.querySelectorAll('[onerror],[onload],meta,iframe').length"), "0");
    // What the poster typed is shown as text.
    EXPECT_TRUE(documentText(view, "document.body.innerText").contains("<script>document.title='pwned'</script>"));
    EXPECT_TRUE(view->url().isLocalFile());

    // Page scripts are off whatever the page holds: a raw page with every kind of script, loaded
    // into the same browser (as its own page file: it goes nowhere else), runs none of them.
    const QString raw = formMerlinBrowser::pagePath();
    testsupport::writeBytes(raw, "<html><body onload=\"document.title='onload'\">"
                                 "<script>document.title='script'</script>"
                                 "<img src=nothing.png onerror=\"document.title='onerror'\"></body></html>");
    bool loaded = false;
    QObject::connect(view, &QWebEngineView::loadFinished, window.get(), [&](bool) { loaded = true; });
    QUrl rawUrl = QUrl::fromLocalFile(raw);
    rawUrl.setQuery(QStringLiteral("raw"));
    view->load(rawUrl);
    ASSERT_TRUE(testsupport::waitUntil([&] { return loaded; }, 20000));
    testsupport::waitUntil([] { return false; }, 300); // give onload and onerror their chance
    EXPECT_EQ(documentText(view, "document.title"), QString());
    EXPECT_EQ(documentText(view, "document.scripts.length"), "1");
}

QStringList g_opened;
bool recordOpened(const QString &address)
{
    g_opened << address;
    return true;
}

// The page is a local file of the posters' text: it loads nothing by itself, a click on a web link
// (or a picture link asking for a new window) goes to the user's browser, and nothing takes the
// view to another address, least of all a local file beside the page.
TEST_F(MerlinBrowserTest, TheViewStaysOnItsPageAndWebLinksOpenInTheUsersBrowser)
{
    g_opened.clear();
    platform::setBrowserOpener(&recordOpened);
    window->show();
    testsupport::writeBytes(folder.file("livecfg.txt"), "secret settings");
    testsupport::writeBytes(folder.file("local.png"), testsupport::readBytes(folder.file("image/kado1.gif")));
    host.setResponses({
        QStringLiteral("<a href=\"http://outside.example/page\">outside</a>"),
        QStringLiteral("picture http://img.example.net/a.jpg"),
        QStringLiteral("<a href=/etc/passwd>passwd</a> <a href=../livecfg.txt>cfg</a>"),
        QStringLiteral("<img src=%1> <img src=http://127.0.0.1:9/x.png>").arg(folder.file("local.png")),
    });
    ASSERT_TRUE(build());
    QWebEngineView *view = window->WebBrowser1();
    const QUrl page = view->url();
    ASSERT_EQ(page.toLocalFile(), formMerlinBrowser::pagePath());

    // Only the corner images are pictures, and they load (local page, local files beside it).
    EXPECT_EQ(documentText(view, "Array.from(document.images).filter(function(i){"
                                 "return !/^kado[1-4]\\.gif$/.test(i.getAttribute('src')||'');}).length"), "2");
    EXPECT_EQ(documentText(view, "Array.from(document.images).filter(function(i){return i.hasAttribute('src');})"
                                 ".every(function(i){return i.complete && i.naturalWidth==14;})"), "true");
    EXPECT_EQ(documentText(view, "document.querySelectorAll('a[href]').length"), "2");
    // Whatever gets into the page loads nothing but the page's own corner images.
    runPrivateScript(view, QStringLiteral("['%1','http://127.0.0.1:9/x.png','kado2.gif'].forEach(function(s,n){"
                                          "var i=document.createElement('img');i.id='probe'+n;i.src=s;"
                                          "document.body.appendChild(i);})").arg(QUrl::fromLocalFile(folder.file("local.png")).toString()));
    const QString probes = QStringLiteral("[0,1,2].map(function(n){var i=document.getElementById('probe'+n);"
                                          "return i&&i.complete?i.naturalWidth:'loading';}).join(',')");
    ASSERT_TRUE(testsupport::waitUntil([&] { return !documentText(view, probes).contains(QStringLiteral("loading")); }, 10000));
    EXPECT_EQ(documentText(view, probes), QStringLiteral("0,0,14"));

    auto click = [&](const QString &text) { ASSERT_TRUE(clickLink(view, text)) << text.toStdString(); };
    click(QStringLiteral("outside"));
    ASSERT_TRUE(testsupport::waitUntil([] { return g_opened.size() == 1; }, 10000));
    click(QStringLiteral("http://img.example.net/a.jpg"));
    ASSERT_TRUE(testsupport::waitUntil([] { return g_opened.size() == 2; }, 10000));
    EXPECT_EQ(g_opened, (QStringList{"http://outside.example/page", "http://img.example.net/a.jpg"}));

    // Whatever asks for a local file is refused: the view never leaves its page.
    for (const char *address : {"file:///etc/passwd", "../livecfg.txt", "/etc/hostname"})
        runPrivateScript(view, QStringLiteral("location.href='%1'").arg(QLatin1String(address)));
    click(QStringLiteral("outside"));
    ASSERT_TRUE(testsupport::waitUntil([] { return g_opened.size() == 3; }, 10000));
    EXPECT_EQ(view->url(), page);
    EXPECT_FALSE(documentText(view, "document.body.innerText").contains(QStringLiteral("secret")));
    EXPECT_EQ(g_opened.last(), QStringLiteral("http://outside.example/page"));
    platform::setBrowserOpener(nullptr);
}

TEST_F(MerlinBrowserTest, OpensAtTopThenAtTheOldEndUntilTheThreadChanges)
{
    window->show();
    host.setResponses(bodies(80));
    ASSERT_TRUE(build());
    EXPECT_EQ(scrollY(), 0);
    const qint32 firstHeight = window->scrollState().lngLastScrollHeight;
    ASSERT_GT(firstHeight, window->WebBrowser1()->height());

    // The same thread, grown: the new page opens where the old one ended.
    host.setResponses(bodies(140));
    ASSERT_TRUE(build());
    EXPECT_NEAR(scrollTopWhen(window->WebBrowser1(), [&](qreal y) { return std::abs(y - firstHeight) <= 2; }), firstHeight, 2);
    EXPECT_GT(window->scrollState().lngLastScrollHeight, firstHeight);

    // Another thread: rebuilds open at the top, also when it grows, until the window closes.
    host.caption = QStringLiteral("Kestrelon 2: 次スレ (10)");
    host.setResponses(bodies(60, "次"));
    ASSERT_TRUE(build());
    EXPECT_EQ(documentScrollTop(window->WebBrowser1()), 0);
    host.setResponses(bodies(90, "次"));
    ASSERT_TRUE(build());
    EXPECT_EQ(documentScrollTop(window->WebBrowser1()), 0);

    window->close();
    EXPECT_EQ(window->scrollState().intBuildCount, 0);
    EXPECT_FALSE(window->scrollState().blnIsBuilt);
    window->show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("MerlinBrowser"));
    ASSERT_TRUE(build());
    EXPECT_EQ(documentScrollTop(window->WebBrowser1()), 0);
    const qint32 height = window->scrollState().lngLastScrollHeight;
    host.setResponses(bodies(120, "次"));
    ASSERT_TRUE(build());
    EXPECT_NEAR(scrollTopWhen(window->WebBrowser1(), [&](qreal y) { return std::abs(y - height) <= 2; }), height, 2);
}

TEST_F(MerlinBrowserTest, FileIsReplacedWholeAndAFailedBuildLeavesThePageShown)
{
    window->show();
    host.setResponses(bodies(30));
    ASSERT_TRUE(build());
    host.setResponses({"短い"});
    ASSERT_TRUE(build());
    const QString path = folder.file("image/tempHtml3.html");
    EXPECT_EQ(testsupport::readBytes(path), platform::encodeCp932(*buildThreadViewPage(host, window->windowTitle())));
    EXPECT_EQ(documentText(window->WebBrowser1(), "document.getElementsByTagName('table').length"), "2");

    // The page file cannot be written (a folder stands in its place): the build fails, nothing
    // is navigated, and the page shown stays.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path));
    host.setResponses(bodies(5));
    const int before = completes;
    EXPECT_FALSE(window->setHtmlTextFirst());
    testsupport::waitUntil([&] { return completes > before; }, 500);
    EXPECT_EQ(completes, before);
    EXPECT_EQ(documentText(window->WebBrowser1(), "document.getElementsByTagName('table').length"), "2");
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST_F(MerlinBrowserTest, BuildOvertakenWhileEventsRunIsDropped)
{
    window->show();
    host.setResponses(bodies(10));
    // A fetch completes while the first build lets events run: the record grows and the fetch
    // cycle builds again from inside the first build.
    std::optional<bool> inner;
    host.onBodyRead = [&](int i) {
        if (i == 3 && !inner.has_value()) {
            inner = false;
            QTimer::singleShot(0, [&] {
                host.onBodyRead = nullptr;
                host.setResponses(bodies(12));
                inner = window->setHtmlTextFirst();
            });
        }
    };
    EXPECT_FALSE(window->setHtmlTextFirst());
    ASSERT_EQ(inner, std::optional<bool>(true));
    EXPECT_EQ(window->scrollState().intBuildCount, 2);
    EXPECT_EQ(platform::decodeCp932(testsupport::readBytes(folder.file("image/tempHtml3.html"))),
              *buildThreadViewPage(host, window->windowTitle()));
    ASSERT_TRUE(testsupport::waitUntil([&] { return completes > 0; }, 30000));
    EXPECT_EQ(documentText(window->WebBrowser1(), "document.getElementsByTagName('table').length"), "13");
}

TEST_F(MerlinBrowserTest, WindowDestroyedDuringABuildEndsIt)
{
    window->show();
    host.setResponses(bodies(10));
    formMerlinBrowser *raw = window.release();
    host.onBodyRead = [&](int i) {
        if (i == 2)
            QTimer::singleShot(0, [raw] { delete raw; });
    };
    EXPECT_FALSE(raw->setHtmlTextFirst());
    EXPECT_FALSE(QFileInfo::exists(folder.file("image/tempHtml3.html")));
}

} // namespace
