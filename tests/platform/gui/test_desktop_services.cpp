#include "platform/gui/DesktopServices.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

TEST(DesktopServices, OnlyHttpAndHttpsAddressesAreOpened)
{
    EXPECT_TRUE(platform::isOpenableAddress(QStringLiteral("http://example.net/a")));
    EXPECT_TRUE(platform::isOpenableAddress(QStringLiteral("HTTPS://example.net/")));
    EXPECT_FALSE(platform::isOpenableAddress(QStringLiteral("javascript:alert(1)")));
    EXPECT_FALSE(platform::isOpenableAddress(QStringLiteral("file:///etc/passwd")));
    EXPECT_FALSE(platform::isOpenableAddress(QStringLiteral("")));
}

TEST(DesktopServices, AMessageBoxBelongsToTheShownWindowThatAsks)
{
    QWidget main;
    QWidget other;
    auto *inside = new QLabel(&other);
    QObject helper(&other); // an object of the window that is no widget
    main.show();
    // Hidden asker: the fallback (the main window) owns the box.
    EXPECT_EQ(platform::messageBoxOwner(inside, &main), &main);
    other.show();
    EXPECT_EQ(platform::messageBoxOwner(inside, &main), &other);
    EXPECT_EQ(platform::messageBoxOwner(&helper, &main), &other);
    EXPECT_EQ(platform::messageBoxOwner(nullptr, &main), &main);
    main.hide();
    other.hide();
    EXPECT_EQ(platform::messageBoxOwner(inside, &main), QApplication::activeWindow());
}
