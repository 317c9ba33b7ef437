// Hostile responses and a hostile thread title through the real live cycle, in every view mode,
// with the thread view and the image viewer open: script, event attributes, "javascript:" links,
// quotes inside image addresses, markup that would close the marquee page's own elements and a
// line of 100 KB end up as text or are dropped; captions and tooltips show the title as written;
// a click in the thread view opens web links in the user's browser and nothing else.

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
#include "../viewers/gui/WebWait.h"

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QTextDocument>
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
    QStringLiteral("</nobr></font></td></tr></table></Marquee><body bgcolor=red> breaks out"),
    QStringLiteral("before</marquee>after"),
    QStringLiteral("<a href=\"http://outside.example/page\">outside</a> <a href=/etc/passwd>passwd</a> <img src=/etc/hostname>"),
    QStringLiteral("long ") + QString(100 * 1024, QLatin1Char('w')) + QStringLiteral("<script>alert(7)</script>"),
};

const QString kHostileTitle = QStringLiteral("<font color=red size=6>赤い題</font><img src=/etc/hostname>");

// The written marquee page as a browser reads it: one body of the page's colour, every piece of
// text inside a marquee, and the texts of the marquees.
struct BrowserReading
{
    QString bgcolor;
    int bodies = 0;
    int marquees = 0;
    int cells = 0;
    int strayTexts = 0;
    QStringList texts;
};

BrowserReading readInBrowser(const QString &path)
{
    QWebEngineView view;
    view.settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    bool loaded = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool) { loaded = true; });
    view.load(QUrl::fromLocalFile(path));
    BrowserReading r;
    if (!testsupport::waitUntil([&] { return loaded; }, 30000))
        return r;
    const QStringList parts = documentText(&view, QStringLiteral(
        "(function(){var w=document.createTreeWalker(document.documentElement,NodeFilter.SHOW_TEXT),n,stray=0;"
        "while((n=w.nextNode()))if(n.data.trim()&&!n.parentElement.closest('marquee'))++stray;"
        "var m=Array.from(document.querySelectorAll('marquee')).map(function(e){return e.textContent;});"
        "return [document.body.getAttribute('bgcolor'),document.querySelectorAll('body').length,m.length,"
        "document.querySelectorAll('marquee td').length,stray].concat(m).join('\\u0001');})()"))
                                  .split(QChar(1));
    if (parts.size() < 5)
        return r;
    r.bgcolor = parts.at(0);
    r.bodies = parts.at(1).toInt();
    r.marquees = parts.at(2).toInt();
    r.cells = parts.at(3).toInt();
    r.strayTexts = parts.at(4).toInt();
    for (QString text : parts.mid(5))
        r.texts << text.replace(QChar(0xA0), QLatin1Char(' '));
    return r;
}

// Every label and tooltip of every window that shows the title shows it as written.
void expectTitleShownAsText(const QString &title)
{
    int labels = 0;
    int tips = 0;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        QList<QWidget *> widgets = top->findChildren<QWidget *>();
        widgets << top;
        for (QWidget *widget : widgets) {
            if (auto *label = qobject_cast<QLabel *>(widget); label && label->text().contains(title)) {
                ++labels;
                EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
            }
            QString tip = widget->toolTip();
            if (Qt::mightBeRichText(tip)) {
                QTextDocument document;
                document.setHtml(tip);
                tip = document.toPlainText();
            }
            if (tip.contains(title))
                ++tips;
            else
                EXPECT_FALSE(widget->toolTip().contains(QStringLiteral("赤い題"))) << widget->toolTip().toStdString();
        }
    }
    EXPECT_GE(labels, 2) << "the main and the mini window's captions";
    EXPECT_GE(tips, 2);
}

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
                r.chunks = {testsupport::FakeHttpServer::reply(platform::encodeCp932(QStringLiteral("123.dat<>") + kHostileTitle + QStringLiteral(" (2)\n")))};
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
        w->hooks().threadView.show();
        w->hooks().imageViewer.show();
        auto *threadView = topLevel<formMerlinBrowser>();
        auto *imageView = topLevel<formImageView>();
        ASSERT_NE(threadView, nullptr);
        ASSERT_NE(imageView, nullptr);
        ASSERT_TRUE(w->openThreadAddress(server.server(), QStringLiteral("live"), QStringLiteral("123")));
        expectTitleShownAsText(kHostileTitle);

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
            // Typed markup is shown as what it is: text.
            EXPECT_TRUE(shown.contains(QStringLiteral("<script>document.title='pwned'</script>"))) << shown.left(300).toStdString();

            // A browser opening the file sees the page's own structure: markup in a response can
            // neither close a marquee nor restyle the page nor hide the responses after it.
            const BrowserReading read = readInBrowser(platform::programPath(file));
            EXPECT_EQ(read.bodies, 1);
            EXPECT_EQ(read.bgcolor, mode == 1 ? QStringLiteral("#003366") : QStringLiteral("gainsboro"));
            EXPECT_EQ(read.strayTexts, 0);
            const QString all = read.texts.join(QChar(1));
            EXPECT_TRUE(all.contains(QStringLiteral("</nobr></font></td></tr></table></marquee><body bgcolor=red>")));
            EXPECT_TRUE(all.contains(QStringLiteral("long ww")));
            if (mode == 1) {
                EXPECT_EQ(read.marquees, int(page.count(QStringLiteral("<Marquee loop=1"))));
                EXPECT_EQ(read.marquees % 5, 0);
                for (const QString &text : read.texts)
                    if (text.contains(QStringLiteral("before")))
                        EXPECT_TRUE(text.contains(QStringLiteral("after"))) << text.toStdString();
            } else {
                EXPECT_EQ(read.marquees, 1);
                EXPECT_EQ(read.cells, int(page.count(QStringLiteral("<td><font style="))));
                EXPECT_TRUE(all.contains(QStringLiteral("before</marquee>after")));
            }
        }

        if (mode != 2) {
            // Thread view: the page on disk is inert and the browser runs no page script.
            ASSERT_TRUE(testsupport::waitUntil([&] { return QFile::exists(formMerlinBrowser::pagePath()); }, 10000));
            const QString viewPage = platform::decodeCp932(testsupport::readBytes(formMerlinBrowser::pagePath()));
            EXPECT_TRUE(viewPage.contains(QStringLiteral("raw script")));
            EXPECT_EQ(activeMarkup(viewPage), QStringList());
            ASSERT_NE(threadView->WebBrowser1(), nullptr);
            EXPECT_FALSE(threadView->WebBrowser1()->page()->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled));
            EXPECT_FALSE(viewPage.contains(QStringLiteral("src=/etc"))) << "a response loads nothing by itself";
        }
        if (mode == 1) {
            // Clicks in the thread view: a web link and a picture link go to the user's browser;
            // the view stays on its page.
            QWebEngineView *view = threadView->WebBrowser1();
            ASSERT_TRUE(testsupport::waitUntil([&] {
                return view->url().isLocalFile() && documentText(view, QStringLiteral("document.body.innerText")).contains(QStringLiteral("outside"));
            }, 30000));
            const QUrl page = view->url();
            ASSERT_TRUE(clickLink(view, QStringLiteral("outside")));
            ASSERT_TRUE(testsupport::waitUntil([] { return g_opened.size() == 1; }, 10000));
            ASSERT_TRUE(clickLink(view, QStringLiteral("http://img.example/ok.jpg")));
            ASSERT_TRUE(testsupport::waitUntil([] { return g_opened.size() == 2; }, 10000));
            // The local link (its address dropped) does nothing; the click after it is handled after it.
            ASSERT_TRUE(clickLink(view, QStringLiteral("passwd")));
            ASSERT_TRUE(clickLink(view, QStringLiteral("outside")));
            ASSERT_TRUE(testsupport::waitUntil([] { return g_opened.size() == 3; }, 10000));
            EXPECT_EQ(view->url(), page);
            EXPECT_EQ(g_opened, (QStringList{QStringLiteral("http://outside.example/page"), QStringLiteral("http://img.example/ok.jpg"),
                                             QStringLiteral("http://outside.example/page")}));
            g_opened.clear();
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
