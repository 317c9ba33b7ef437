// The general web window (placement, the label for an empty address, scroll to the end) and the
// TV graph window (the site's page cut down, against the board simulator or a local page).

#include "BoardSim.h"
#include "FakeHttpServer.h"
#include "TestSupport.h"
#include "WebWait.h"
#include "core/ServicesConfig.h"
#include "platform/Cp932.h"
#include "platform/gui/DesktopServices.h"
#include "viewers/gui/formTv2ch.h"
#include "viewers/gui/formWebBrowserHanyou.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class FixedMain : public MainGeometryHost
{
public:
    QRect frame;
    QRect mainWindowFrame() const override { return frame; }
};

QByteArray htmlReply(const QString &page)
{
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=Shift_JIS\r\n\r\n" + platform::encodeCp932(page);
}

TEST(WebBrowserHanyou, OpensBelowTheMainWindowOrAtItsTopNearTheScreenBottom)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    const int width = qRound(600 * dpi / 96.0);
    const int threshold = qRound(320 * dpi / 96.0);
    const struct
    {
        const char *name;
        QRect main;
        int expectedTop;
    } cases[] = {
        {"room below", QRect(screen.x() + 100, screen.y() + 20, 700, 120), screen.y() + 140},
        {"near the bottom", QRect(screen.x() + 100, screen.bottom() - 200, 700, 120), screen.bottom() - 200},
        {"exactly the threshold left", QRect(screen.x(), screen.y() + screen.height() - threshold - 100, 600, 100),
         screen.y() + screen.height() - threshold - 100},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FixedMain main;
        main.frame = c.main;
        formWebBrowserHanyou window(main);
        window.setAndMoveUrl(QString());
        window.show();
        EXPECT_EQ(window.width(), width);
        EXPECT_NEAR(window.x(), c.main.x() + (c.main.width() - width) / 2, 1);
        EXPECT_NEAR(window.y(), c.expectedTop, 1);
    }
}

TEST(WebBrowserHanyou, EmptyOrUnsafeAddressShowsTheLabelAndAPageScrollsToItsEnd)
{
    FixedMain main;
    main.frame = QRect(0, 0, 700, 120);
    formWebBrowserHanyou window(main);
    window.setAndMoveUrl(QStringLiteral("   "));
    window.show();
    ASSERT_NE(window.WebBrowser1(), nullptr);
    EXPECT_FALSE(window.WebBrowser1()->isVisible());
    EXPECT_TRUE(window.Label1()->isVisible());
    EXPECT_EQ(window.Label1()->text(), formWebBrowserHanyou::label1Text());
    EXPECT_EQ(window.Label1()->width(), window.WebBrowser1()->width());

    testsupport::FakeHttpServer server;
    QString page = QStringLiteral("<html><body>");
    for (int i = 1; i <= 200; ++i)
        page += QStringLiteral("<p>%1 書き込み</p>").arg(i);
    server.replyWith(htmlReply(page + QStringLiteral("<p id=last>最後</p></body></html>")));
    bool scrolled = false;
    QObject::connect(&window, &formWebBrowserHanyou::pageScrolledToEnd, [&] { scrolled = true; });
    window.setAndMoveUrl(QStringLiteral(" http://%1/test/read.cgi/livetv/1001/l50 ").arg(server.server()));
    ASSERT_TRUE(testsupport::waitUntil([&] { return scrolled; }, 30000));
    EXPECT_TRUE(window.WebBrowser1()->isVisible());
    // The page scrolls to its end on each loading notification: the end of the whole page is
    // where it must come to rest.
    const auto maxScroll = [&] {
        return documentText(window.WebBrowser1(), "document.scrollingElement.scrollHeight - innerHeight").toDouble();
    };
    const qreal y = scrollTopWhen(window.WebBrowser1(), [&](qreal y) { return std::abs(y - maxScroll()) <= 2; });
    EXPECT_GT(y, 0);
    EXPECT_NEAR(y, maxScroll(), 2);

    // Addresses that are not the board's pages are treated as empty.
    for (const char *address : {"javascript:document.title='x'", "file:///etc/passwd"}) {
        window.setAndMoveUrl(QString::fromUtf8(address));
        EXPECT_FALSE(window.WebBrowser1()->isVisible()) << address;
    }
    EXPECT_EQ(documentText(window.WebBrowser1(), "document.title"), QString());
}

class Tv2chTest : public ::testing::Test
{
protected:
    ~Tv2chTest() override { reloadServices(); }

    void pointAt(const QString &topPage, const QString &host)
    {
        ServicesConfig config = ServicesConfig::defaults();
        config.tvTopPage = topPage;
        config.tvHost = host;
        setServices(config);
    }

    // Shows the window and waits for the cut-down page; returns the document's root HTML.
    QString showAndRead(formTv2ch &window)
    {
        QObject::connect(&window, &formTv2ch::pageShown, [this] { ++shown; });
        window.show();
        if (!testsupport::waitUntil([&] { return shown > 0; }, 30000))
            return QStringLiteral("<not shown>");
        return documentText(window.WebBrowserTv2ch(), "document.documentElement.outerHTML");
    }

    int shown = 0; // pages written into the window
};

TEST_F(Tv2chTest, BoardSimulatorGraphPageIsCutAtItsTableWithACredit)
{
    testsupport::BoardSim sim;
    if (!sim.isRunning())
        GTEST_SKIP() << "board simulator not available: " << sim.error().toStdString();
    setServices(sim.services());
    ASSERT_FALSE(services().tvTopPage.isEmpty());

    formTv2ch window;
    EXPECT_EQ(window.cmdGetTv2ch()->text(), QStringLiteral("更新"));
    const QString html = showAndRead(window);
    EXPECT_TRUE(html.contains(QStringLiteral("<b>地上波実況板勢いグラフ</b><br>"))) << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("<h1>"), Qt::CaseInsensitive));
    EXPECT_FALSE(html.contains(QStringLiteral("<table"), Qt::CaseInsensitive));
    EXPECT_TRUE(html.contains(QStringLiteral("Powered")));
    EXPECT_EQ(documentText(window.WebBrowserTv2ch(), "document.links[document.links.length-1].textContent"),
              services().tvHost);
    EXPECT_EQ(documentText(window.WebBrowserTv2ch(), "document.links[document.links.length-1].target"), "new");

    // "更新" fetches and cuts again (and the rewritten page is not cut a second time).
    const QString before = sim.log();
    shown = 0;
    window.cmdGetTv2ch()->click();
    ASSERT_TRUE(testsupport::waitUntil([&] { return shown == 1; }, 30000));
    testsupport::waitUntil([&] { return shown > 1; }, 300);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(testsupport::waitUntil([&] { return sim.log().count("/tv/") > before.count("/tv/"); }));
}

TEST_F(Tv2chTest, PageWithoutATableIsUsedWhole)
{
    testsupport::FakeHttpServer server;
    server.replyWith(htmlReply(QStringLiteral(
        "<html><head><title>t</title></head><body><H1>地上波実況板勢いグラフ</H1><p id=graph>グラフ</p><p id=end>終わり</p></body></html>")));
    pointAt(QStringLiteral("http://%1/").arg(server.server()), QStringLiteral("tv.example.net"));
    formTv2ch window;
    const QString html = showAndRead(window);
    EXPECT_TRUE(html.contains(QStringLiteral("<b>地上波実況板勢いグラフ</b><br><p id=\"graph\">グラフ</p><p id=\"end\">終わり</p>")))
        << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("Powered&nbsp;By&nbsp;<a href=\"http://%1/\" target=\"new\">tv.example.net</a>")
                                  .arg(server.server())))
        << html.toStdString();

    // The credit link asks for a new window: the user's browser gets the site's top page.
    static QStringList opened;
    opened.clear();
    platform::setBrowserOpener([](const QString &address) {
        opened << address;
        return true;
    });
    ASSERT_TRUE(clickLinkUntil(window.WebBrowserTv2ch(), QStringLiteral("tv.example.net"),
                               [] { return !opened.isEmpty(); }));
    EXPECT_EQ(opened.first(), QStringLiteral("http://%1/").arg(server.server()));
    platform::setBrowserOpener(nullptr);
}

} // namespace
