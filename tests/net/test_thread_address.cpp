#include "core/ServicesConfig.h"
#include "net/ThreadAddress.h"

#include <gtest/gtest.h>

namespace {

struct PatternCase
{
    const char *address;
    const char *host;
    const char *datNumber;
};

} // namespace

TEST(ThreadAddress, HostAndDatPatternsReturnFirstGroupOrEmpty)
{
    const PatternCase cases[] = {
        {"http://livea.2ch.example/livenhk/", "livea.2ch.example", ""},
        {"http://127.0.0.1:8080/test/read.cgi/ban/1234567890.dat", "127.0.0.1:8080", "1234567890"},
        // Without a "/" after the host there is no host part.
        {"http://host.example", "", ""},
        {"no slashes at all", "", ""},
        // The dot before "dat" is unescaped: any character matches, and the first match wins.
        {"/ban/123Xdat/456.dat", "", "123"},
        // "//" then "/" : group 1 is empty host between them.
        {"http:///ban/", "", ""},
    };
    for (const PatternCase &c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(getHostPart(QString::fromUtf8(c.address)), QString::fromUtf8(c.host));
        EXPECT_EQ(getDatNumber(QString::fromUtf8(c.address)), QString::fromUtf8(c.datNumber));
    }
}

TEST(ThreadAddress, BoardKeyWithAndWithoutFinalSlash)
{
    for (const char *address : {"http://livea.2ch.example/livenhk/", "http://livea.2ch.example/livenhk"}) {
        const QString a = QString::fromUtf8(address);
        const QString host = getHostPart(QStringLiteral("http://livea.2ch.example/livenhk/"));
        EXPECT_EQ(host, QStringLiteral("livea.2ch.example"));
        EXPECT_EQ(boardKeyFromAddress(a, host), QStringLiteral("livenhk")) << address;
    }
    // A host:port server keeps its port in strSvr and in the removed prefix.
    const QString withPort = QStringLiteral("http://127.0.0.1:8080/liveb/");
    EXPECT_EQ(boardKeyFromAddress(withPort, getHostPart(withPort)), QStringLiteral("liveb"));
    // No host: the address without slashes.
    EXPECT_EQ(boardKeyFromAddress(QStringLiteral("a/b/"), getHostPart(QStringLiteral("a/b/"))), QStringLiteral("ab"));
}

TEST(ThreadAddress, SuffixDependsOnTheConfiguredOutsideHosts)
{
    const ServicesConfig saved = services();
    ServicesConfig config = ServicesConfig::defaults();
    config.outsideHosts = {QStringLiteral("127.0.0.2:9000"), QStringLiteral("out.example")};
    setServices(config);
    EXPECT_EQ(sintyakuFooterForHost(QStringLiteral("127.0.0.2:9000")), QStringLiteral("-"));
    EXPECT_EQ(sintyakuFooterForHost(QStringLiteral("out.example")), QStringLiteral("-"));
    // Compared exactly and case-sensitively.
    EXPECT_EQ(sintyakuFooterForHost(QStringLiteral("OUT.example")), QStringLiteral("n-"));
    EXPECT_EQ(sintyakuFooterForHost(QStringLiteral("127.0.0.2")), QStringLiteral("n-"));
    EXPECT_EQ(sintyakuFooterForHost(QStringLiteral("livea.2ch.example")), QStringLiteral("n-"));
    setServices(saved);
}

TEST(ThreadAddress, PageAddressesAndTheNextPageRule)
{
    const QString page = threadPageAddress(QStringLiteral("h.example"), QStringLiteral("ban"), QStringLiteral("1234"));
    EXPECT_EQ(page, QStringLiteral("http://h.example/test/read.cgi/ban/1234/l50"));
    EXPECT_EQ(boardAddress(QStringLiteral("h.example"), QStringLiteral("ban")), QStringLiteral("http://h.example/ban/"));
    EXPECT_EQ(indexRequestPath(QStringLiteral("ban")), QStringLiteral("/ban/subject.txt"));
    EXPECT_EQ(datRequestPath(QStringLiteral("ban"), QStringLiteral("1234")), QStringLiteral("/ban/dat/1234.dat"));
    EXPECT_EQ(threadNumberFromPageAddress(page), QStringLiteral("1234"));

    EXPECT_EQ(nextPageAddress(page, 120, QStringLiteral("n-")), QStringLiteral("http://h.example/test/read.cgi/ban/1234/120n-"));
    EXPECT_EQ(nextPageAddress(page, 120, QStringLiteral("-")), QStringLiteral("http://h.example/test/read.cgi/ban/1234/120-"));
    // A later page: its own last segment goes, wherever else it occurs too.
    EXPECT_EQ(nextPageAddress(QStringLiteral("http://h/test/read.cgi/ban/1234/120n-"), 135, QStringLiteral("n-")),
              QStringLiteral("http://h/test/read.cgi/ban/1234/135n-"));
    EXPECT_EQ(nextPageAddress(QStringLiteral("http://h/x5/5"), 7, QStringLiteral("n-")), QStringLiteral("http://h/x/7n-"));
}

TEST(ThreadAddress, SplitServerGivesPort80OrTheGivenOne)
{
    auto plain = splitServer(QStringLiteral("livea.2ch.example"));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->host, QStringLiteral("livea.2ch.example"));
    EXPECT_EQ(plain->port, 80);
    auto withPort = splitServer(QStringLiteral("127.0.0.1:18080"));
    ASSERT_TRUE(withPort);
    EXPECT_EQ(withPort->host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(withPort->port, 18080);
    for (const char *bad : {"", ":80", "h:", "h:0", "h:65536", "h:8o"})
        EXPECT_FALSE(splitServer(QString::fromUtf8(bad))) << bad;
}
