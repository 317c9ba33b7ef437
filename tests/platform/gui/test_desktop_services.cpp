#include "platform/gui/DesktopServices.h"

#include <gtest/gtest.h>

TEST(DesktopServices, OnlyHttpAndHttpsAddressesAreOpened)
{
    EXPECT_TRUE(platform::isOpenableAddress(QStringLiteral("http://example.net/a")));
    EXPECT_TRUE(platform::isOpenableAddress(QStringLiteral("HTTPS://example.net/")));
    EXPECT_FALSE(platform::isOpenableAddress(QStringLiteral("javascript:alert(1)")));
    EXPECT_FALSE(platform::isOpenableAddress(QStringLiteral("file:///etc/passwd")));
    EXPECT_FALSE(platform::isOpenableAddress(QStringLiteral("")));
}
