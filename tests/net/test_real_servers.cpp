// Fetches through the real socket path from servers that are not ours: Python's http.server and
// nginx, which answers 400 to the exact request and so proves the conforming retry.
#include "FakeHttpServer.h"
#include "TestSupport.h"
#include "net/ThreadChannel.h"

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

TEST(RealServers, NginxRefusesTheExactRequestAndTheConformingRetryFetches)
{
    const QString nginx = QStringLiteral("/usr/sbin/nginx");
    if (!QFile::exists(nginx))
        GTEST_SKIP() << "nginx is not installed";
    QTemporaryDir prefix;
    const QString p = prefix.path();
    writeBoard(p + QStringLiteral("/html"));
    for (const char *sub : {"logs", "tmp"})
        QDir().mkpath(p + QLatin1Char('/') + QLatin1String(sub));
    const quint16 port = testsupport::unusedLoopbackPort();
    const QString config = QStringLiteral(
        "daemon off;\nmaster_process off;\nworker_processes 1;\npid %1/logs/nginx.pid;\nerror_log %1/logs/error.log;\n"
        "events { worker_connections 64; }\n"
        "http {\n  access_log %1/logs/access.log;\n  default_type text/plain;\n"
        "  client_body_temp_path %1/tmp/body;\n  proxy_temp_path %1/tmp/proxy;\n  fastcgi_temp_path %1/tmp/fastcgi;\n"
        "  uwsgi_temp_path %1/tmp/uwsgi;\n  scgi_temp_path %1/tmp/scgi;\n"
        "  server { listen 127.0.0.1:%2; root %1/html; }\n}\n").arg(p).arg(port);
    testsupport::writeBytes(p + QStringLiteral("/nginx.conf"), config.toUtf8());

    ServerProcess server(nginx, {QStringLiteral("-p"), p, QStringLiteral("-c"), p + QStringLiteral("/nginx.conf")}, port);
    ASSERT_TRUE(server.waitReady()) << server.output().toStdString()
                                    << testsupport::readBytes(p + QStringLiteral("/logs/error.log")).toStdString();

    ThreadChannel channel;
    const QString svr = QStringLiteral("127.0.0.1:%1").arg(port);
    const FetchResult result = channel.fetchThreadAndWait(svr, QStringLiteral("ban"), QStringLiteral("1231808850"));
    ASSERT_TRUE(result.ok()) << result.reason().toStdString();
    expectFixtureRecord(channel);
    EXPECT_TRUE(channel.conformingServers().contains(svr));

    // The access log shows the exact request refused, then the conforming one served.
    ASSERT_TRUE(testsupport::waitUntil([&] {
        return testsupport::readBytes(p + QStringLiteral("/logs/access.log")).count('\n') >= 2;
    }));
    const QList<QByteArray> lines = testsupport::readBytes(p + QStringLiteral("/logs/access.log")).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains("\"GET /ban/dat/1231808850.dat HTTP/1.0\" 400")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains("\"GET /ban/dat/1231808850.dat HTTP/1.0\" 200")) << lines[1].toStdString();

    // The next fetch goes out conforming at once: one more log line, a 200.
    ASSERT_TRUE(channel.fetchThreadAndWait(svr, QStringLiteral("ban"), QStringLiteral("1231808850")).ok());
    ASSERT_TRUE(testsupport::waitUntil([&] {
        return testsupport::readBytes(p + QStringLiteral("/logs/access.log")).count('\n') >= 3;
    }));
    const QList<QByteArray> after = testsupport::readBytes(p + QStringLiteral("/logs/access.log")).trimmed().split('\n');
    ASSERT_EQ(after.size(), 3);
    EXPECT_TRUE(after[2].contains("HTTP/1.0\" 200"));
}
