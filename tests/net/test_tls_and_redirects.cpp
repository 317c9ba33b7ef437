// Fetches over TLS from the board server's TLS port (a throwaway authority named in
// services.ini network/ca_file), the failures a TLS server can cause, and redirects.
#include "BoardSim.h"
#include "FakeHttpServer.h"
#include "TestSupport.h"
#include "core/ServicesConfig.h"
#include "net/Redirects.h"
#include "net/ThreadChannel.h"
#include "platform/SecureServers.h"
#include "platform/Transfer.h"

#include <gtest/gtest.h>

using testsupport::BoardSim;
using testsupport::FakeHttpServer;

namespace {

// The configuration in use for one test, put back after it.
class UseServices
{
public:
    explicit UseServices(const ServicesConfig &config)
        : m_saved(services())
    {
        setServices(config);
        platform::forgetSecureServers();
    }
    ~UseServices()
    {
        setServices(m_saved);
        platform::forgetSecureServers();
    }

private:
    ServicesConfig m_saved;
};

BoardSim::Options tlsOptions()
{
    BoardSim::Options options;
    options.rate = 0;
    options.tls = true;
    return options;
}

// The top thread of a board whose index was just listed.
QString topThread(const ThreadChannel &channel)
{
    return channel.Text1().section(QStringLiteral("\r\n\r\n"), 1).section(QLatin1Char('.'), 0, 0);
}

} // namespace

TEST(Redirects, WhichAnswersAreFollowed)
{
    const FetchPlace from{false, QStringLiteral("board.example:8080"), QStringLiteral("/b/dat/1.dat")};
    auto reply = [](int status, const char *location) {
        return "HTTP/1.1 " + QByteArray::number(status) + " X\r\n" + (*location ? "Location: " + QByteArray(location) + "\r\n" : "")
            + "\r\n";
    };
    using K = RedirectStep::Kind;
    struct Case { QByteArray reply; int followed; K kind; FetchPlace next; bool movedToTls; };
    const Case cases[] = {
        {reply(301, "https://board.example:8443/b/dat/1.dat"), 0, K::Follow, {true, "board.example:8443", "/b/dat/1.dat"}, true},
        {reply(308, "https://board.example/b/dat/1.dat"), 2, K::Follow, {true, "board.example", "/b/dat/1.dat"}, true},
        {reply(302, "http://other.example/new/dat/1.dat"), 0, K::Follow, {false, "other.example", "/new/dat/1.dat"}, false},
        {reply(307, "https://other.example/b/dat/1.dat"), 0, K::Follow, {true, "other.example", "/b/dat/1.dat"}, false},
        {reply(301, "/kako/dat/1.dat"), 0, K::Follow, {false, "board.example:8080", "/kako/dat/1.dat"}, false},
        {reply(301, "https://board.example/b/dat/1.dat"), 3, K::TooMany, {true, "board.example", "/b/dat/1.dat"}, true},
        {reply(302, "http://board.example/moved.html"), 0, K::Elsewhere, {false, "board.example", "/moved.html"}, false},
        {reply(301, "ftp://board.example/b/dat/1.dat"), 0, K::Bad, {}, false},
        {reply(302, ""), 0, K::Bad, {}, false},
        {reply(303, "https://board.example/b/dat/1.dat"), 0, K::None, {}, false},
        {reply(200, ""), 0, K::None, {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reply.toStdString());
        const RedirectStep step = redirectStep(c.reply, from, c.followed);
        EXPECT_EQ(step.kind, c.kind);
        if (c.kind == K::Follow || c.kind == K::TooMany || c.kind == K::Elsewhere)
            EXPECT_EQ(step.next, c.next);
        EXPECT_EQ(step.movedToTls && c.kind == K::Follow, c.movedToTls && c.kind == K::Follow);
    }
}

TEST(TlsFetch, ABoardOnTheTlsPortIsFetchedOverTlsAndVerifiedAgainstTheCaFile)
{
    BoardSim sim(tlsOptions());
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    UseServices use(sim.services());
    ThreadChannel channel;
    const FetchResult index = channel.openBoardAndWait(sim.tlsBoardUrl(QStringLiteral("news")));
    ASSERT_TRUE(index.ok()) << index.reason().toStdString();
    EXPECT_EQ(channel.address().strSvr, sim.tlsHost());
    EXPECT_EQ(channel.address().strBan, QStringLiteral("news"));
    const QString thread = topThread(channel);
    const FetchResult dat = channel.fetchThreadAndWait(sim.tlsHost(), QStringLiteral("news"), thread);
    ASSERT_TRUE(dat.ok()) << dat.reason().toStdString();
    EXPECT_GT(channel.record().upperBound(), 10);
    // The next fetch of the thread asks for what is new, over TLS as well.
    const FetchResult again = channel.fetchThreadAndWait(sim.tlsHost(), QStringLiteral("news"), thread);
    EXPECT_TRUE(again.ok() && again.nothingNew) << again.reason().toStdString();
    // The page fetcher takes the same authority, and an http address of the server goes to TLS.
    EXPECT_TRUE(platform::OpenURL(sim.tlsMenuUrl(), 5).ok());
    EXPECT_TRUE(platform::OpenURL(QStringLiteral("http://") + sim.tlsHost() + QStringLiteral("/bbsmenu.html"), 5).ok());
}

TEST(TlsFetch, CertificateAndHandshakeFailuresAreFailedFetchesWithTheirReason)
{
    BoardSim sim(tlsOptions());
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    ServicesConfig config = sim.services();
    config.timeoutSeconds = 1;
    UseServices use(config);
    ThreadChannel channel;
    ASSERT_TRUE(channel.openBoardAndWait(sim.tlsBoardUrl(QStringLiteral("news"))).ok());
    const QString thread = topThread(channel);
    ASSERT_TRUE(channel.fetchThreadAndWait(sim.tlsHost(), QStringLiteral("news"), thread).ok());

    struct Case { const char *fault; FetchFailure failure; };
    const Case cases[] = {
        {"tls-untrusted", FetchFailure::CertificateUntrusted},
        {"tls-wronghost", FetchFailure::CertificateHostMismatch},
        {"tls-plain", FetchFailure::TlsHandshake},
        {"tls-stall", FetchFailure::TimedOut},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fault);
        ASSERT_TRUE(sim.setFaults({QString::fromLatin1(c.fault)}));
        channel.resetRecordAfterStop(); // a whole fetch, as Start makes
        const FetchResult result = channel.fetchThreadAndWait(sim.tlsHost(), QStringLiteral("news"), thread);
        EXPECT_EQ(result.failure, c.failure) << result.reason().toStdString();
        // Never a fall back to plain http, which would have succeeded.
        EXPECT_EQ(channel.intDatArrived, 0);
        EXPECT_EQ(channel.record().names(), QStringList{QString()});
        const platform::PageText page = platform::OpenURL(sim.tlsMenuUrl(), 1);
        EXPECT_FALSE(page.ok());
    }
    // The authority unknown: the real certificate is untrusted too.
    ASSERT_TRUE(sim.setFaults({}));
    config.caFile.clear();
    setServices(config);
    EXPECT_EQ(channel.fetchThreadAndWait(sim.tlsHost(), QStringLiteral("news"), thread).failure,
              FetchFailure::CertificateUntrusted);
    EXPECT_FALSE(platform::OpenURL(sim.tlsMenuUrl(), 2).ok());
}

TEST(TlsFetch, ARedirectToTheTlsPortIsFollowedAndRememberedForTheRun)
{
    BoardSim sim(tlsOptions());
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());
    UseServices use(sim.services());
    ThreadChannel channel;
    ASSERT_TRUE(channel.openBoardAndWait(sim.boardUrl(QStringLiteral("news"))).ok());
    const QString thread = topThread(channel);
    ASSERT_TRUE(sim.setFaults({QStringLiteral("redirect")}));
    const FetchResult moved = channel.fetchThreadAndWait(sim.host(), QStringLiteral("news"), thread);
    ASSERT_TRUE(moved.ok()) << moved.reason().toStdString();
    EXPECT_EQ(platform::secureServerFor(sim.host()), sim.tlsHost());
    // From now on the server is asked over TLS at once: no second 301, also for the index and
    // for the page fetcher.
    const int redirects = int(sim.log().count(QStringLiteral(" 301 to ")));
    ASSERT_TRUE(channel.openBoardAndWait(sim.boardUrl(QStringLiteral("news"))).ok());
    EXPECT_TRUE(channel.fetchThreadAndWait(sim.host(), QStringLiteral("news"), thread).ok());
    EXPECT_TRUE(platform::OpenURL(sim.menuUrl(), 5).ok());
    EXPECT_EQ(sim.log().count(QStringLiteral(" 301 to ")), redirects);
}

TEST(TlsFetch, RedirectLoopsAndRedirectsToOtherFilesFail)
{
    FakeHttpServer loop;
    loop.setResponder([&loop](const QByteArray &, int) {
        FakeHttpServer::Reply r;
        r.chunks = {FakeHttpServer::reply("", 301, "Location: http://" + loop.server().toLatin1() + "/ban/dat/123.dat\r\n")};
        return r;
    });
    ThreadChannel channel;
    const FetchResult looped = channel.fetchThreadAndWait(loop.server(), QStringLiteral("ban"), QStringLiteral("123"));
    EXPECT_EQ(looped.failure, FetchFailure::TooManyRedirects);
    EXPECT_EQ(loop.requests().size(), 1 + kMaxRedirects);

    FakeHttpServer notice;
    notice.replyWith(FakeHttpServer::reply("", 302, "Location: /notice.html\r\n"));
    const FetchResult elsewhere = channel.fetchThreadAndWait(notice.server(), QStringLiteral("ban"), QStringLiteral("123"));
    EXPECT_EQ(elsewhere.failure, FetchFailure::HttpStatus);
    EXPECT_EQ(elsewhere.httpStatus, 302);
    EXPECT_EQ(notice.requests().size(), 1);
}
