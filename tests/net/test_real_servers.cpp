// Fetches through the real socket path from servers that are not ours: Python's http.server and
// nginx, which answers 400 to the exact request and so proves the conforming retry, and which
// answers ranges and If-Modified-Since natively, over http and over https.
#include "FakeHttpServer.h"
#include "SimTls.h"
#include "TestSupport.h"
#include "core/ServicesConfig.h"
#include "net/DatConverter.h"
#include "net/ThreadChannel.h"
#include "platform/Cp932.h"
#include "platform/SecureServers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char *kDatFixture = "real/shiwano2ch__1231808850.dat";

// A server process on a loopback port, stopped when the object goes.
class ServerProcess
{
public:
    ServerProcess(const QString &program, const QStringList &arguments, quint16 port)
        : m_port(port)
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(program, arguments);
    }
    ~ServerProcess()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    // True once the port accepts connections.
    bool waitReady()
    {
        return testsupport::waitUntil([this] {
            if (m_process.state() == QProcess::NotRunning)
                return true;
            QTcpSocket probe;
            probe.connectToHost(QStringLiteral("127.0.0.1"), m_port);
            return probe.waitForConnected(200);
        }, 10000) && m_process.state() != QProcess::NotRunning;
    }
    QString output() { return QString::fromLocal8Bit(m_process.readAll()); }

private:
    QProcess m_process;
    quint16 m_port;
};

// A folder laid out as a board server: <root>/ban/dat/1231808850.dat.
void writeBoard(const QString &root)
{
    testsupport::writeBytes(root + QStringLiteral("/ban/dat/1231808850.dat"), testsupport::fixtureBytes(kDatFixture));
}

void expectFixtureRecord(const ThreadChannel &channel)
{
    EXPECT_EQ(channel.record().upperBound(), 27);
    EXPECT_EQ(channel.record().name(0), QStringLiteral("CC名無したん"));
    EXPECT_EQ(channel.record().body(0), QStringLiteral(" はにゃ～ん☆ "));
}

} // namespace

TEST(RealServers, FetchesADatFromPythonHttpServer)
{
    QTemporaryDir root;
    writeBoard(root.path());
    const quint16 port = testsupport::unusedLoopbackPort();
    ServerProcess python(QStringLiteral("python3"),
                         {QStringLiteral("-m"), QStringLiteral("http.server"), QString::number(port), QStringLiteral("--bind"),
                          QStringLiteral("127.0.0.1"), QStringLiteral("--directory"), root.path()},
                         port);
    if (!python.waitReady())
        GTEST_SKIP() << "python3 -m http.server did not start: " << python.output().toStdString();

    ThreadChannel channel;
    const FetchResult result = channel.fetchThreadAndWait(QStringLiteral("127.0.0.1:%1").arg(port), QStringLiteral("ban"),
                                                          QStringLiteral("1231808850"));
    ASSERT_TRUE(result.ok()) << result.reason().toStdString();
    expectFixtureRecord(channel);
    // A missing thread is an HTTP failure, not an error page in the record.
    const FetchResult missing = channel.fetchThreadAndWait(QStringLiteral("127.0.0.1:%1").arg(port), QStringLiteral("ban"),
                                                           QStringLiteral("999"));
    EXPECT_EQ(missing.failure, FetchFailure::HttpStatus);
    EXPECT_EQ(missing.httpStatus, 404);
    expectFixtureRecord(channel);
}

namespace {

// nginx on two loopback ports, plain and TLS, serving <prefix>/html. Skipped when not installed.
struct Nginx
{
    QTemporaryDir prefix;
    quint16 port = testsupport::unusedLoopbackPort();
    quint16 tlsPort = testsupport::unusedLoopbackPort();
    std::unique_ptr<ServerProcess> process;
    QString error;

    QString path(const QString &name) const { return prefix.path() + QLatin1Char('/') + name; }
    QString server() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
    QString tlsServer() const { return QStringLiteral("127.0.0.1:%1").arg(tlsPort); }

    bool start()
    {
        const QString p = prefix.path();
        for (const char *sub : {"logs", "tmp", "tls", "html/ban/dat"})
            QDir().mkpath(p + QLatin1Char('/') + QLatin1String(sub));
        if (!makeSimCertificates(path(QStringLiteral("tls")), &error))
            return false;
        const QString config = QStringLiteral(
            "daemon off;\nmaster_process off;\nworker_processes 1;\npid %1/logs/nginx.pid;\nerror_log %1/logs/error.log;\n"
            "events { worker_connections 64; }\n"
            "http {\n  access_log %1/logs/access.log;\n  default_type text/plain;\n"
            "  client_body_temp_path %1/tmp/body;\n  proxy_temp_path %1/tmp/proxy;\n  fastcgi_temp_path %1/tmp/fastcgi;\n"
            "  uwsgi_temp_path %1/tmp/uwsgi;\n  scgi_temp_path %1/tmp/scgi;\n"
            "  server { listen 127.0.0.1:%2; listen 127.0.0.1:%3 ssl; root %1/html;\n"
            "    ssl_certificate %1/tls/server.pem; ssl_certificate_key %1/tls/server.key; }\n}\n")
                                   .arg(p).arg(port).arg(tlsPort);
        testsupport::writeBytes(path(QStringLiteral("nginx.conf")), config.toUtf8());
        process = std::make_unique<ServerProcess>(QStringLiteral("/usr/sbin/nginx"),
                                                  QStringList{QStringLiteral("-p"), p, QStringLiteral("-c"),
                                                              path(QStringLiteral("nginx.conf"))},
                                                  port);
        if (process->waitReady())
            return true;
        error = process->output() + QString::fromUtf8(testsupport::readBytes(path(QStringLiteral("logs/error.log"))));
        return false;
    }
    // The dat as it is on the disk, modified ageSeconds ago (Last-Modified has whole seconds:
    // each change gets a time of its own).
    void writeDat(const QByteArray &dat, int ageSeconds)
    {
        const QString file = path(QStringLiteral("html/ban/dat/1231808850.dat"));
        testsupport::writeBytes(file, dat);
        QFile f(file);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime);
    }
    QList<QByteArray> accessLog() const
    {
        return testsupport::readBytes(path(QStringLiteral("logs/access.log"))).trimmed().split('\n');
    }
    // The status of the last line of the access log, once it has as many lines as expected.
    int lastStatus(int lines) const
    {
        testsupport::waitUntil([&] { return accessLog().size() >= lines; });
        const QList<QByteArray> log = accessLog();
        return log.size() == lines ? log.last().split('"').value(2).trimmed().split(' ').value(0).toInt() : -1;
    }
};

void expectWholeRecord(const ThreadChannel &channel, const QByteArray &dat)
{
    const ResponseRecord whole = convertDat(platform::decodeCp932("HTTP/1.1 200 OK\r\n\r\n" + dat));
    EXPECT_EQ(channel.record().bodies(), whole.bodies());
    EXPECT_EQ(channel.record().names(), whole.names());
    EXPECT_EQ(channel.record().times(), whole.times());
}

// Grows the dat, then rewrites a response before the end, checking the statuses nginx logs.
void growAndRewrite(Nginx &nginx, ThreadChannel &channel, const QString &svr, QByteArray dat, int logLines)
{
    const QByteArray more = platform::encodeCp932(QStringLiteral("名無し<><>2009/01/13 10:00:00 ID:new<> 追加 <>\n"));
    dat += more + more;
    nginx.writeDat(dat, 1800);
    ASSERT_TRUE(channel.fetchThreadAndWait(svr, QStringLiteral("ban"), QStringLiteral("1231808850")).ok());
    EXPECT_EQ(nginx.lastStatus(++logLines), 206);
    expectWholeRecord(channel, dat);
    EXPECT_EQ(channel.record().upperBound(), 29);

    const qsizetype second = dat.indexOf('\n') + 1;
    dat.replace(second, dat.indexOf('\n', second) + 1 - second,
                platform::encodeCp932(QStringLiteral("あぼーん<>あぼーん<>あぼーん<>あぼーん<>\n")));
    dat += more;
    nginx.writeDat(dat, 1200);
    ASSERT_TRUE(channel.fetchThreadAndWait(svr, QStringLiteral("ban"), QStringLiteral("1231808850")).ok());
    logLines += 2;
    EXPECT_EQ(nginx.lastStatus(logLines), 200) << "the stale range, then the whole dat";
    EXPECT_EQ(nginx.accessLog().value(logLines - 2).split('"').value(2).trimmed().left(3), "206");
    expectWholeRecord(channel, dat);
    EXPECT_EQ(*channel.record().body(1), QStringLiteral("あぼーん"));
}

} // namespace

TEST(RealServers, NginxGrowingAndRewrittenDatOverHttpAndHttps)
{
    if (!QFile::exists(QStringLiteral("/usr/sbin/nginx")))
        GTEST_SKIP() << "nginx is not installed";
    Nginx nginx;
    ASSERT_TRUE(nginx.start()) << nginx.error.toStdString();
    const QByteArray fixture = testsupport::fixtureBytes(kDatFixture);
    nginx.writeDat(fixture, 3600);

    ThreadChannel channel;
    const QString svr = nginx.server();
    const FetchResult result = channel.fetchThreadAndWait(svr, QStringLiteral("ban"), QStringLiteral("1231808850"));
    ASSERT_TRUE(result.ok()) << result.reason().toStdString();
    expectFixtureRecord(channel);
    EXPECT_TRUE(channel.conformingServers().contains(svr));
    // The exact request refused, then the conforming one served.
    EXPECT_EQ(nginx.lastStatus(2), 200);
    EXPECT_TRUE(nginx.accessLog().first().contains("\"GET /ban/dat/1231808850.dat HTTP/1.0\" 400"));

    // Unchanged: the next fetch goes out conforming at once and nginx answers 304.
    const FetchResult unchanged = channel.fetchThreadAndWait(svr, QStringLiteral("ban"), QStringLiteral("1231808850"));
    ASSERT_TRUE(unchanged.ok() && unchanged.nothingNew) << unchanged.reason().toStdString();
    EXPECT_EQ(nginx.lastStatus(3), 304);
    expectFixtureRecord(channel);
    growAndRewrite(nginx, channel, svr, fixture, 3);

    // The same over https, trusting the throwaway authority.
    ServicesConfig config = services();
    const ServicesConfig saved = config;
    config.caFile = nginx.path(QStringLiteral("tls/ca.pem"));
    setServices(config);
    nginx.writeDat(fixture, 3600);
    ThreadChannel secure;
    platform::rememberSecureServer(nginx.tlsServer(), nginx.tlsServer()); // as an https board address does
    ASSERT_TRUE(secure.fetchThreadAndWait(nginx.tlsServer(), QStringLiteral("ban"), QStringLiteral("1231808850")).ok());
    expectFixtureRecord(secure);
    // Three fetches over http above made six lines; this one two more (400, then 200).
    EXPECT_EQ(nginx.lastStatus(8), 200);
    growAndRewrite(nginx, secure, nginx.tlsServer(), fixture, 8);
    setServices(saved);
    platform::forgetSecureServers();
}
