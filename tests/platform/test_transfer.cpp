#include "FakeHttpServer.h"
#include "TestSupport.h"
#include "platform/Cp932.h"
#include "platform/Transfer.h"

#include <QTimer>
#include <gtest/gtest.h>

using platform::TransferResult;
using testsupport::FakeHttpServer;

namespace {

QString pageAddress(const FakeHttpServer &server)
{
    return QStringLiteral("http://%1/menu.html").arg(server.server());
}

} // namespace

TEST(Transfer, OpenUrlDecodesCp932AndReportsFailures)
{
    FakeHttpServer page;
    page.replyWith(FakeHttpServer::reply(platform::encodeCp932(QStringLiteral("<B>実況ch</B> ｷﾀ━")), 200), 3, 1);
    const platform::PageText text = platform::OpenURL(pageAddress(page), 5);
    ASSERT_TRUE(text.ok()) << text.transfer.errorText.toStdString();
    EXPECT_EQ(text.text, QStringLiteral("<B>実況ch</B> ｷﾀ━"));

    FakeHttpServer missing;
    missing.replyWith(FakeHttpServer::reply("<html>404</html>", 404));
    const platform::PageText notFound = platform::OpenURL(pageAddress(missing), 5);
    EXPECT_EQ(notFound.transfer.status, TransferResult::Status::HttpError);
    EXPECT_EQ(notFound.transfer.httpStatus, 404);
    EXPECT_TRUE(notFound.text.isEmpty());

    FakeHttpServer silent;
    silent.neverAnswer();
    EXPECT_EQ(platform::OpenURL(pageAddress(silent), 1).transfer.status, TransferResult::Status::TimedOut);

    const QString refused = QStringLiteral("http://127.0.0.1:%1/").arg(testsupport::unusedLoopbackPort());
    EXPECT_EQ(platform::OpenURL(refused, 5).transfer.status, TransferResult::Status::Failed);
    EXPECT_EQ(platform::OpenURL(QStringLiteral("not an address"), 5).transfer.status, TransferResult::Status::Failed);
}

TEST(Transfer, DownloadToFileTruncatesAndAFailureKeepsTheOldFile)
{
    testsupport::TempProgramFolder home;
    const QString file = home.file(QStringLiteral("tempHtml.txt"));
    testsupport::writeBytes(file, QByteArray(5000, 'x'));

    FakeHttpServer page;
    page.replyWith(FakeHttpServer::reply("short page"));
    ASSERT_TRUE(platform::downloadToFile(pageAddress(page), QStringLiteral("tempHtml.txt"), 5).ok());
    EXPECT_EQ(testsupport::readBytes(file), QByteArray("short page"));

    FakeHttpServer missing;
    missing.replyWith(FakeHttpServer::reply("gone", 404));
    EXPECT_FALSE(platform::downloadToFile(pageAddress(missing), QStringLiteral("tempHtml.txt"), 5).ok());
    EXPECT_EQ(testsupport::readBytes(file), QByteArray("short page"));
}

TEST(Transfer, ANewRequestCancelsTheOneInProgress)
{
    FakeHttpServer silent;
    silent.neverAnswer();
    FakeHttpServer page;
    page.replyWith(FakeHttpServer::reply("second"));
    platform::PageText second;
    QTimer::singleShot(100, [&] { second = platform::OpenURL(pageAddress(page), 5); });
    const platform::PageText first = platform::OpenURL(pageAddress(silent), 5);
    EXPECT_EQ(first.transfer.status, TransferResult::Status::Cancelled);
    EXPECT_EQ(second.text, QStringLiteral("second"));
}
