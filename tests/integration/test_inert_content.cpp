// Hostile responses through the real live cycle, in every view mode, with the thread view and the
// image viewer open: script, event attributes, "javascript:" links, quotes inside image
// addresses and a line of 100 KB end up as text or are dropped, and nothing is opened outside.

#include "app/gui/MainWindowWiring.h"
#include "app/gui/formMain.h"
#include "mini/MiniPageBuilder.h"
#include "net/ResponseRecord.h"
#include "platform/Cp932.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/DesktopServices.h"
#include "present/MarqueePage.h"
#include "present/MarqueePageBuilder.h"
#include "present/gui/LabelStrip.h"
#include "viewers/gui/formImageView.h"
#include "viewers/gui/formMerlinBrowser.h"
#include "FakeHttpServer.h"
#include "LiveWindowDriver.h"
#include "TestSupport.h"

#include <QApplication>
#include <QRegularExpression>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

QStringList g_opened;
bool recordOpened(const QString &address)
{
    g_opened << address;
    return true;
}

template <typename T>
T *topLevel()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *t = qobject_cast<T *>(w))
            return t;
    return nullptr;
}

// Markup that would act in a browser: script and frame elements, event attributes, and
// addresses with a scheme other than http(s).
QStringList activeMarkup(const QString &html)
{
    static const QRegularExpression patterns[] = {
        QRegularExpression(QStringLiteral("<\\s*(script|iframe|object|embed)\\b"), QRegularExpression::CaseInsensitiveOption),
        QRegularExpression(QStringLiteral("<[a-z][^<>]*\\son[a-z]+\\s*="), QRegularExpression::CaseInsensitiveOption),
        QRegularExpression(QStringLiteral("<[a-z][^<>]*\\s(href|src)\\s*=\\s*[\"']?\\s*(javascript|vbscript|data):"),
                           QRegularExpression::CaseInsensitiveOption),
    };
    QStringList found;
    for (const QRegularExpression &p : patterns)
        for (auto it = p.globalMatch(html); it.hasNext();)
            found << it.next().captured(0).left(80);
    return found;
}

// As a real server sends them ("<" escaped by the board as "&lt;"), and as a broken or hostile
// server might (raw markup).
const QStringList kHostileBodies = {
    QStringLiteral("&lt;script&gt;document.title='pwned'&lt;/script&gt; escaped script"),
    QStringLiteral("<script>document.title='pwned'</script> raw script"),
    QStringLiteral("<img src=\"http://img.example/x.png\" onerror=\"alert(1)\"> <body onload=alert(2)>"),
    QStringLiteral("<a href=\"javascript:alert(3)\">click</a> &lt;a href=&quot;javascript:alert(4)&quot;&gt;x&lt;/a&gt;"),
    QStringLiteral("http://img.example/q.jpg\" onerror=\"alert(5)\" x=\".jpg quoted image"),
    QStringLiteral("http://img.example/a'+alert(6)+'.jpg single-quoted image"),
    QStringLiteral("http://img.example/ok.jpg a plain image"),
    QStringLiteral("long ") + QString(100 * 1024, QLatin1Char('w')) + QStringLiteral("<script>alert(7)</script>"),
};

QByteArray dat(bool hostile)
{
    QString text;
    QStringList bodies = {QStringLiteral("first"), QStringLiteral("second")};
    if (hostile)
        bodies += kHostileBodies;
    for (int i = 0; i < bodies.size(); ++i)
        text += QStringLiteral("名無し<><>2024/05/01(水) 12:00:%1 ID:abc<> %2 <>\n")
                    .arg(i, 2, 10, QLatin1Char('0'))
                    .arg(bodies.at(i));
    return testsupport::FakeHttpServer::reply(platform::encodeCp932(text));
}

TEST(InertContent, HostileResponsesThroughTheLiveCycleInEveryViewDoNothing)
{
    testsupport::TempProgramFolder home;
    testsupport::RecordedMessages messages;
    g_opened.clear();
    platform::setBrowserOpener(&recordOpened);

    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode == 0 ? "labels" : mode == 1 ? "marquee page" : "mini");
        testsupport::FakeHttpServer server;
        int datRequests = 0;
        server.setResponder([&](const QByteArray &request, int) {
            testsupport::FakeHttpServer::Reply r;
            if (request.contains("subject.txt"))
                r.chunks = {testsupport::FakeHttpServer::reply(platform::encodeCp932(QStringLiteral("123.dat<>試験 (2)\n")))};
            else
                r.chunks = {dat(datRequests++ > 0)};
            return r;
        });
        ServicesConfig config = ServicesConfig::defaults();
        config.timeoutSeconds = 3;
        setServices(config);
        auto w = std::make_unique<formMain>();
        wireOtherWindows(*w);
        w->Form_Load();
        w->setRegetInterval(24 * 3600 * 1000);
        testsupport::setViewMode(*w, mode);
        auto *threadView = topLevel<formMerlinBrowser>();
        auto *imageView = topLevel<formImageView>();
        ASSERT_NE(threadView, nullptr);
        ASSERT_NE(imageView, nullptr);
        threadView->show();
        imageView->show();
        ASSERT_TRUE(w->openThreadAddress(server.server(), QStringLiteral("live"), QStringLiteral("123")));

        w->Command1_Click();
        ASSERT_EQ(w->threadPosition().intLastDt, 2);
        ASSERT_EQ(testsupport::tickUntilFetched(*w), 13);
        EXPECT_EQ(w->record().upperBound(), 2 + kHostileBodies.size());
        EXPECT_EQ(w->threadPosition().intLastDt, 2 + kHostileBodies.size());

        if (mode == 0) {
            EXPECT_GT(w->lblMsgStrip->model().commentCount(), 0);
        } else {
            // The page file carries the responses' markup as the builders write it; the marquee
            // surface reads it as text only: script content dropped, the rest shown as text.
            const QString file = mode == 1 ? marqueePageFileName() : miniPageFileName();
            const QString page = platform::decodeCp932(testsupport::readBytes(platform::programPath(file)));
            ASSERT_FALSE(page.isEmpty()) << file.toStdString();
            QString shown;
            for (const MarqueeElement &m : parseMarqueePage(page).marquees)
                for (const MarqueeBlock &b : m.blocks)
                    for (const MarqueeLine &l : b.lines)
                        for (const MarqueeRun &r : l.runs)
                            shown += r.text + QLatin1Char('\n');
            shown.replace(QChar(0xA0), QLatin1Char(' '));
            EXPECT_TRUE(shown.contains(QStringLiteral("raw script"))) << shown.left(300).toStdString();
            EXPECT_FALSE(shown.contains(QStringLiteral("document.title"))) << "script content is never shown or run";
        }

        if (mode != 2) {
            // Thread view: the page on disk is inert and the browser runs no page script.
            ASSERT_TRUE(testsupport::waitUntil([&] { return QFile::exists(formMerlinBrowser::pagePath()); }, 10000));
            const QString viewPage = platform::decodeCp932(testsupport::readBytes(formMerlinBrowser::pagePath()));
            EXPECT_TRUE(viewPage.contains(QStringLiteral("raw script")));
            EXPECT_EQ(activeMarkup(viewPage), QStringList());
            ASSERT_NE(threadView->WebBrowser1(), nullptr);
            EXPECT_FALSE(threadView->WebBrowser1()->page()->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled));
        }

        // Image viewer (the mini builders hand it nothing): the plain image arrives; addresses
        // that could leave their quotes never do.
        if (mode != 2)
            ASSERT_TRUE(testsupport::waitUntil([&] { return imageView->writtenPage().contains(QStringLiteral("ok.jpg")); }, 10000))
            << imageView->writtenPage().left(300).toStdString();
        EXPECT_FALSE(imageView->writtenPage().contains(QStringLiteral("alert(")));
        for (const QString &url : imageView->state().varShownUrl)
            EXPECT_FALSE(url.contains(QLatin1Char('"')) || url.contains(QLatin1Char('\'')) || url.contains(QLatin1Char('<')))
                << url.toStdString();

        EXPECT_EQ(g_opened, QStringList());
        EXPECT_TRUE(messages.shown().isEmpty()) << messages.shown().join('|').toStdString();
        w->Command1_Click();
        w->close();
    }
    platform::setBrowserOpener(nullptr);
}

} // namespace
