#include "TestSupport.h"
#include "platform/gui/ChromeArt.h"
#include "platform/gui/ChromePicture.h"
#include "platform/gui/TitleBar.h"
#include "platform/gui/TitleStrip.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

void sendMouse(QWidget *target, QEvent::Type type, QPointF local)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, target->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void click(QWidget *target, QPointF pressAt, QPointF releaseAt)
{
    sendMouse(target, QEvent::MouseButtonPress, pressAt);
    sendMouse(target, QEvent::MouseButtonRelease, releaseAt);
}

// The main window's title strip at its start-up size: 10170 twips wide, the image 100 short.
void placeStrip(TitleStrip *strip)
{
    strip->applyLayout({0, 0, 10170, 345}, {0, 0, 10070, 345}, titlePicturesFor(10070));
}

struct Window
{
    QWidget window;
    TitleStrip *strip;
    Window()
    {
        window.resize(678, 306);
        strip = new TitleStrip(&window);
        placeStrip(strip);
        window.show();
    }
};

} // namespace

TEST(ChromeArt, PicturesAreRegisteredResources)
{
    for (const QPixmap &p : {chromeart::titleImage(), chromeart::minPicture(), chromeart::minPressed(),
                             chromeart::closePicture(), chromeart::closePressed()}) {
        ASSERT_FALSE(p.isNull());
        EXPECT_TRUE(p.hasAlphaChannel());
    }
    EXPECT_NE(chromeart::closePicture().toImage(), chromeart::closePressed().toImage());
}

TEST(TitleStrip, PiecesArePlacedInsideTheImage)
{
    Window w;
    const QRect image = w.strip->Image1->geometry();
    EXPECT_EQ(w.strip->lblCaption->text(), QStringLiteral("Kestrelon"));
    EXPECT_TRUE(image.contains(w.strip->picClose->geometry()));
    EXPECT_TRUE(image.contains(w.strip->picMin->geometry()));
    EXPECT_LT(w.strip->picMin->geometry().right(), w.strip->picClose->geometry().left());
    EXPECT_LT(w.strip->lblCaption->geometry().right(), w.strip->picMin->geometry().left());
}

TEST(TitleStrip, CloseAsksAndActsOnlyOnAReleaseInside)
{
    testsupport::RecordedMessages messages;
    Window w;
    ChromePicture *close = w.strip->picClose;
    int confirmed = 0;
    QObject::connect(w.strip, &TitleStrip::exitConfirmed, [&] { ++confirmed; });
    const QPointF inside(close->width() / 2.0, close->height() / 2.0);

    // Pressed face shows while down; moving off and releasing cancels.
    sendMouse(close, QEvent::MouseButtonPress, inside);
    EXPECT_TRUE(close->pressedShown());
    sendMouse(close, QEvent::MouseButtonRelease, QPointF(close->width() + 15, inside.y()));
    EXPECT_FALSE(close->pressedShown());
    // Exactly on the right edge and the bottom edge.
    click(close, inside, QPointF(close->width(), inside.y()));
    click(close, inside, QPointF(inside.x(), close->height()));
    EXPECT_TRUE(messages.shown().isEmpty());

    // Inside, answered No: asked, still open.
    click(close, inside, inside);
    EXPECT_EQ(messages.shown(), QStringList{QStringLiteral("EXIT ?")});
    EXPECT_TRUE(w.window.isVisible());
    EXPECT_EQ(confirmed, 0);

    messages.service().queueAnswer(platform::MessageAnswer::Yes);
    click(close, inside, inside);
    EXPECT_EQ(confirmed, 1);
    EXPECT_FALSE(w.window.isVisible());
}

TEST(TitleStrip, MinimiseActsOnReleaseInside)
{
    Window w;
    int minimised = 0;
    QObject::connect(w.strip, &TitleStrip::minimiseClicked, [&] { ++minimised; });
    ChromePicture *min = w.strip->picMin;
    click(min, QPointF(3, 3), QPointF(-1, 3));
    EXPECT_EQ(minimised, 0);
    click(min, QPointF(3, 3), QPointF(3, 3));
    EXPECT_EQ(minimised, 1);
}

TEST(TitleStrip, DraggingTheImageOrCaptionMovesTheWindow)
{
    QWidget window;
    window.resize(678, 306);
    auto *strip = new TitleStrip(&window);
    placeStrip(strip);
    window.move(100, 100);

    for (QWidget *handle : {static_cast<QWidget *>(strip->Image1), static_cast<QWidget *>(strip->lblCaption)}) {
        const QPoint start = window.pos();
        sendMouse(handle, QEvent::MouseButtonPress, QPointF(10, 5));
        sendMouse(handle, QEvent::MouseMove, QPointF(40, 25));
        EXPECT_EQ(window.pos(), start + QPoint(30, 20));
        sendMouse(handle, QEvent::MouseButtonRelease, QPointF(40, 25));
        sendMouse(handle, QEvent::MouseMove, QPointF(90, 90));
        EXPECT_EQ(window.pos(), start + QPoint(30, 20)); // not dragging any more
    }
}

TEST(TitleBar, ToggleRemovesTheBarKeepingTheClientSize)
{
    QWidget window;
    window.resize(400, 200);
    window.move(50, 60);
    window.show();
    ASSERT_TRUE(hasSystemTitleBar(&window));

    toggleTitleBar(&window, true);
    EXPECT_FALSE(hasSystemTitleBar(&window));
    EXPECT_EQ(window.size(), QSize(400, 200));
    EXPECT_TRUE(window.isVisible());

    toggleTitleBar(&window, false); // frameless without force: left alone
    EXPECT_FALSE(hasSystemTitleBar(&window));

    toggleTitleBar(&window, true); // force gives a frameless window its bar back
    EXPECT_TRUE(hasSystemTitleBar(&window));
    EXPECT_EQ(window.size(), QSize(400, 200));

    QWidget child(&window);
    toggleTitleBar(&child, true); // not a window: nothing
    EXPECT_FALSE(child.windowFlags().testFlag(Qt::FramelessWindowHint));
}
