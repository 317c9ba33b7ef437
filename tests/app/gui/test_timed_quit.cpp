#include "TestSupport.h"
#include "app/gui/TimedQuit.h"
#include "platform/gui/DesktopServices.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

struct CloseWatch : QObject
{
    bool seen = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close)
            seen = true;
        return false;
    }
};

} // namespace

TEST(TimedQuit, ClosesTheWindowThroughAnOpenMessageBoxAndSavesAPicture)
{
    testsupport::TempProgramFolder home;
    QWidget window;
    window.resize(200, 100);
    window.setStyleSheet(QStringLiteral("background: #336699;"));
    window.show();
    CloseWatch watch;
    window.installEventFilter(&watch);

    // A real message box, answered by nobody: the timed quit must get past it. The safety timer
    // only keeps a broken build from blocking the suite.
    platform::BoxMessageService boxes(&window);
    platform::setMessageService(&boxes);
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] {
        if (QWidget *m = QApplication::activeModalWidget())
            m->close();
    });
    safety.start(10000);

    const QString shot = home.file(QStringLiteral("shot.png"));
    scheduleTimedQuit(&window, 0.05, shot);
    const bool yes = platform::askYesNo(QStringLiteral("EXIT ?"), &window);
    platform::setMessageService(nullptr);

    EXPECT_FALSE(yes);
    EXPECT_TRUE(safety.isActive()) << "the message box was not dismissed by the timed quit";
    EXPECT_TRUE(testsupport::waitUntil([&] { return !window.isVisible(); }));
    EXPECT_TRUE(watch.seen);
    const QImage picture(shot);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), window.size() * window.devicePixelRatio());
}

TEST(TimedQuit, NegativeTimeArmsNothing)
{
    QWidget window;
    window.show();
    scheduleTimedQuit(&window, -1, QString());
    testsupport::waitUntil([] { return false; }, 50);
    EXPECT_TRUE(window.isVisible());
}
