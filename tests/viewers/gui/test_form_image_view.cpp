// The image viewer window: the page kept until the window is first shown and then written into
// its browser, the newest ten images newest first, the layout switch re-drawing the stored
// copies, and the arrows scrolling by click and by hold.

#include "TestSupport.h"
#include "WebWait.h"
#include "core/ServicesConfig.h"
#include "platform/gui/DesktopServices.h"
#include "viewers/gui/formImageView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QWebEngineView>
#include <QWebEngineScript>
#include <gtest/gtest.h>

namespace {

struct ImageLists12
{
    QStringList names;
    QStringList urls;
    explicit ImageLists12(int count = 12)
    {
        for (int n = 1; n <= count; ++n) {
            names << QString::number(100 + n);
            // Port 9 refuses at once: the thumbnails stay empty boxes of their given width.
            urls << QStringLiteral("http://127.0.0.1:9/img/%1.jpg").arg(n);
        }
    }
};

// Numbers of the pictures in the order the page shows them.
QStringList shownPictures(QWebEngineView *view)
{
    return documentText(view, QStringLiteral("Array.from(document.images).map(function(i){"
                                             "return i.getAttribute('src').replace(/.*\\/(\\d+)\\.jpg$/, '$1');}).join(',')"))
        .split(QLatin1Char(','), Qt::SkipEmptyParts);
}

void press(QPushButton *button, QEvent::Type type)
{
    const QPointF centre(button->width() / 2.0, button->height() / 2.0);
    QMouseEvent event(type, centre, button->mapToGlobal(centre), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &event);
}

} // namespace

TEST(FormImageView, PageKeptUntilShownThenWrittenWithTheNewestTen)
{
    formImageView viewer;
    const ImageLists12 lists;
    viewer.setImage(lists.names, lists.urls, false);
    EXPECT_EQ(viewer.WebBrowser1(), nullptr);   // no browser engine before the window is shown
    EXPECT_TRUE(viewer.state().blnImagePageSet);

    bool shown = false;
    QObject::connect(&viewer, &formImageView::pageShown, [&] { shown = true; });
    viewer.show();
    ASSERT_NE(viewer.WebBrowser1(), nullptr);
    ASSERT_TRUE(testsupport::waitUntil([&] { return shown; }, 30000));
    EXPECT_EQ(viewer.writtenPage(), viewer.state().strImagePage);
    EXPECT_EQ(shownPictures(viewer.WebBrowser1()),
              (QStringList{"12", "11", "10", "9", "8", "7", "6", "5", "4", "3"}));
    EXPECT_EQ(documentText(viewer.WebBrowser1(), QStringLiteral("document.querySelector('font').textContent")),
              QStringLiteral("112"));

    // The strip is wider than the window: the right arrow scrolls it by 100 pixels a click.
    viewer.cmdRight_Click();
    EXPECT_TRUE(testsupport::waitUntil([&] {
        return documentText(viewer.WebBrowser1(), QStringLiteral("(document.scrollingElement||document.body).scrollLeft"))
                   .toDouble() == 100.0;
    }, 5000));

    // A later call from a presenter replaces the page in the browser.
    shown = false;
    const ImageLists12 more(14);
    viewer.setImage(more.names, more.urls, false);
    ASSERT_TRUE(testsupport::waitUntil([&] { return shown; }, 30000));
    EXPECT_EQ(shownPictures(viewer.WebBrowser1()).first(), QStringLiteral("14"));
}

TEST(FormImageView, LayoutSwitchedTwiceRedrawsTheStoredCopies)
{
    formImageView viewer;
    // Opens in the strip layout with both arrows.
    EXPECT_EQ(viewer.state().intImageMode, ImageViewerMode::Strip);
    EXPECT_FALSE(viewer.cmdLeft()->isHidden());
    EXPECT_GT(viewer.width(), viewer.height());

    // Before any image the switch only resizes.
    viewer.cmdModeChange_Click();
    EXPECT_EQ(viewer.state().intImageMode, ImageViewerMode::Column);
    EXPECT_FALSE(viewer.state().blnImagePageSet);
    EXPECT_TRUE(viewer.cmdLeft()->isHidden());
    EXPECT_TRUE(viewer.cmdRight()->isHidden());
    EXPECT_LT(viewer.width(), viewer.height());
    viewer.cmdModeChange_Click();

    ImageLists12 lists;
    viewer.setImage(lists.names, lists.urls, false);
    const QString stripPage = viewer.state().strImagePage;
    lists.names << QStringLiteral("113");   // the presenter collects more without handing it over
    lists.urls << QStringLiteral("http://127.0.0.1:9/img/13.jpg");

    viewer.cmdModeChange_Click();
    const QString columnPage = viewer.state().strImagePage;
    EXPECT_NE(columnPage, stripPage);
    EXPECT_EQ(columnPage.count(QStringLiteral("<tr>")), 20);   // label row and picture row each
    EXPECT_FALSE(columnPage.contains(QStringLiteral("13.jpg")));
    viewer.cmdModeChange_Click();
    EXPECT_EQ(viewer.state().strImagePage, stripPage);
    EXPECT_FALSE(viewer.cmdLeft()->isHidden());
}

TEST(FormImageView, ArrowsScrollOnClickAndWhileHeld)
{
    formImageView viewer;
    viewer.show();
    int total = 0;
    int steps = 0;
    QObject::connect(&viewer, &formImageView::scrolled, [&](int dx) { total += dx; ++steps; });

    // Held: Timer1 ticks every 100 ms until the button is released; the click adds one step.
    press(viewer.cmdRight(), QEvent::MouseButtonPress);
    EXPECT_TRUE(viewer.Timer1().isActive());
    EXPECT_EQ(viewer.Timer1().interval(), 100);
    ASSERT_TRUE(testsupport::waitUntil([&] { return steps >= 3; }, 5000));
    press(viewer.cmdRight(), QEvent::MouseButtonRelease);
    EXPECT_FALSE(viewer.Timer1().isActive());
    EXPECT_EQ(total, steps * 100);

    total = 0;
    steps = 0;
    press(viewer.cmdLeft(), QEvent::MouseButtonPress);
    press(viewer.cmdLeft(), QEvent::MouseButtonRelease);
    EXPECT_FALSE(viewer.Timer1().isActive());
    EXPECT_EQ(total, -100);
    EXPECT_EQ(steps, 1);

    // Switching to the column hides the arrows and stops a hold in progress.
    viewer.cmdRight_MouseDown();
    viewer.cmdModeChange_Click();
    EXPECT_FALSE(viewer.Timer1().isActive());
}

// The page's styles and pop-up script were written for another engine: on ours too the
// thumbnails show at 30 %, opaque under the pointer and at 50 % after it leaves, and the address
// pop-up appears at the pointer. A click asks for a new window, which the user's browser gets.
TEST(FormImageView, ThumbnailsAreTranslucentThePopupFollowsThePointerAndAClickOpensThePicture)
{
    static QStringList opened;
    opened.clear();
    platform::setBrowserOpener([](const QString &address) {
        opened << address;
        return true;
    });
    formImageView viewer;
    const ImageLists12 lists(2);
    viewer.setImage(lists.names, lists.urls, false);
    bool shown = false;
    QObject::connect(&viewer, &formImageView::pageShown, [&] { shown = true; });
    viewer.show();
    ASSERT_TRUE(testsupport::waitUntil([&] { return shown; }, 30000));
    QWebEngineView *view = viewer.WebBrowser1();
    auto opacity = [&](int i) {
        return documentText(view, QStringLiteral("getComputedStyle(document.images[%1]).opacity").arg(i));
    };
    ASSERT_TRUE(testsupport::waitUntil([&] { return opacity(0) == QLatin1String("0.3"); }, 10000)) << opacity(0).toStdString();
    EXPECT_EQ(opacity(1), QStringLiteral("0.3"));

    const QStringList box = documentText(view, QStringLiteral("(function(){var r=document.images[0].getBoundingClientRect();"
                                                              "return [Math.round(r.left),Math.round(r.top+r.height/2),"
                                                              "Math.round(r.width/2)].join(',');})()"))
                                .split(QLatin1Char(','));
    ASSERT_EQ(box.size(), 3);
    // The page takes the pointer's place from mouse moves: the pop-up opens where the pointer
    // last moved before it entered the picture.
    const QPoint before(box.at(0).toInt() - 4, box.at(1).toInt());
    const QPoint over = before + QPoint(4 + box.at(2).toInt(), 0);
    QWidget *target = view->focusProxy();
    auto mouse = [&](QEvent::Type type, QPoint at) {
        QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    // The engine merges moves that come faster than it handles them: each is let through.
    auto pageSees = [&](QPoint at) {
        return testsupport::waitUntil([&] {
            std::optional<QString> seen;
            view->page()->runJavaScript(QStringLiteral("x+','+y"), QWebEngineScript::MainWorld,
                                        [&seen](const QVariant &v) { seen = v.toString(); });
            testsupport::waitUntil([&] { return seen.has_value(); }, 5000);
            return seen == QStringLiteral("%1,%2").arg(at.x()).arg(at.y());
        }, 10000);
    };
    mouse(QEvent::MouseMove, before);
    ASSERT_TRUE(pageSees(before));
    mouse(QEvent::MouseMove, over);
    ASSERT_TRUE(testsupport::waitUntil([&] { return opacity(0) == QLatin1String("1"); }, 10000)) << opacity(0).toStdString();
    const QString popup = documentText(view, QStringLiteral("[sample.innerText, sample.style.left, sample.style.top].join('|')"));
    EXPECT_EQ(popup, QStringLiteral("%1|%2px|%3px").arg(lists.urls.at(1)).arg(before.x()).arg(before.y())) << popup.toStdString();

    mouse(QEvent::MouseMove, QPoint(2, 2));
    ASSERT_TRUE(testsupport::waitUntil([&] { return opacity(0) == QLatin1String("0.5"); }, 10000)) << opacity(0).toStdString();
    EXPECT_EQ(opacity(1), QStringLiteral("0.3"));
    EXPECT_EQ(documentText(view, QStringLiteral("sample.innerHTML")), QString());

    mouse(QEvent::MouseMove, over);
    mouse(QEvent::MouseButtonPress, over);
    mouse(QEvent::MouseButtonRelease, over);
    ASSERT_TRUE(testsupport::waitUntil([&] { return !opened.isEmpty(); }, 10000));
    EXPECT_EQ(opened, QStringList{lists.urls.at(1)});
    platform::setBrowserOpener(nullptr);
}
