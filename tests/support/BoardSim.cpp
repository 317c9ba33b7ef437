#include "BoardSim.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

namespace testsupport {

namespace {

QString readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

BoardSim::BoardSim()
{
    start(Options());
}

BoardSim::BoardSim(const Options &options)
{
    start(options);
}

BoardSim::~BoardSim()
{
    stop();
}

QString BoardSim::executable()
{
    const QString fromEnvironment = qEnvironmentVariable("KESTRELON_BOARDSIM");
    if (!fromEnvironment.isEmpty() && QFileInfo(fromEnvironment).isExecutable())
        return fromEnvironment;
    // Test programs live in <build>/tests, the simulator in <build>/tools.
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/boardsim");
    if (QFileInfo(beside).isExecutable())
        return QFileInfo(beside).canonicalFilePath();
    return QStandardPaths::findExecutable(QStringLiteral("boardsim"));
}

void BoardSim::start(const Options &options)
{
    const QString program = options.program.isEmpty() ? executable() : options.program;
    if (program.isEmpty()) {
        m_error = QStringLiteral("boardsim not found (set KESTRELON_BOARDSIM)");
        return;
    }
    QStringList arguments = {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--rate"),
                             QString::number(options.rate, 'g', 10), QStringLiteral("--seed"),
                             QString::number(options.seed), QStringLiteral("--write-services"), servicesPath()};
    if (options.startCount > 0)
        arguments << QStringLiteral("--start-count") << QString::number(options.startCount);
    for (const QString &fault : options.faults)
        arguments << QStringLiteral("--fault") << fault;
    for (const QString &board : options.overloaded)
        arguments << QStringLiteral("--overloaded") << board;
    if (options.dripIntervalMs > 0)
        arguments << QStringLiteral("--drip-interval") << QString::number(options.dripIntervalMs);
    if (options.hugeMegabytes > 0)
        arguments << QStringLiteral("--huge-mb") << QString::number(options.hugeMegabytes);
    if (options.aboneRate > 0)
        arguments << QStringLiteral("--abone-rate") << QString::number(options.aboneRate, 'g', 10);
    if (options.tls)
        arguments << QStringLiteral("--tls");
    arguments << options.extraArguments;

    m_process = std::make_unique<QProcess>();
    m_process->setStandardOutputFile(logPath());
    m_process->setStandardErrorFile(m_dir.filePath(QStringLiteral("boardsim.err")));
    m_process->start(program, arguments);
    if (!m_process->waitForStarted(10000)) {
        m_error = QStringLiteral("boardsim did not start: ") + m_process->errorString();
        return;
    }
    // The first line is the menu address (with --tls the TLS one follows); the services file is
    // written before it.
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        const QStringList lines = log().split(QLatin1Char('\n'));
        if (lines.size() > (options.tls ? 2 : 1)) {
            m_menuUrl = lines.at(0).trimmed();
            if (options.tls)
                m_tlsMenuUrl = lines.at(1).trimmed();
            m_port = QUrl(m_menuUrl).port();
            if (m_port <= 0)
                m_error = QStringLiteral("unexpected first line: ") + m_menuUrl;
            return;
        }
        if (m_process->state() == QProcess::NotRunning)
            break;
        m_process->waitForFinished(20);
    }
    m_error = QStringLiteral("boardsim gave no address: ") + readFile(m_dir.filePath(QStringLiteral("boardsim.err")));
}

bool BoardSim::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running && m_port > 0;
}

int BoardSim::stop()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return m_process ? m_process->exitCode() : -1;
    m_process->terminate();
    if (m_process->waitForFinished(5000))
        return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
    m_process->kill();
    m_process->waitForFinished(5000);
    return -1;
}

bool BoardSim::setFaults(const QStringList &faults) const
{
    QString path = QStringLiteral("/_control/faults");
    for (qsizetype i = 0; i < faults.size(); ++i)
        path += (i == 0 ? QLatin1Char('?') : QLatin1Char('&')) + QStringLiteral("set=")
                + QString::fromLatin1(QUrl::toPercentEncoding(faults.at(i)));
    const QByteArray reply = exchange(host(), viewerRequest(path, host()), 5000);
    return reply.startsWith("HTTP/1.1 200 ");
}

QString BoardSim::host() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

QString BoardSim::tlsHost() const
{
    const QUrl url(m_tlsMenuUrl);
    return url.host() + QLatin1Char(':') + QString::number(url.port());
}

QString BoardSim::tlsBoardUrl(const QString &board) const
{
    return QStringLiteral("https://") + tlsHost() + QLatin1Char('/') + board + QLatin1Char('/');
}

QString BoardSim::baseUrl() const
{
    return QStringLiteral("http://") + host() + QLatin1Char('/');
}

QString BoardSim::outsideHostA() const
{
    return QStringLiteral("127.0.0.2:%1").arg(m_port);
}

QString BoardSim::outsideHostB() const
{
    return QStringLiteral("127.0.0.3:%1").arg(m_port);
}

QString BoardSim::boardUrl(const QString &board, const QString &onHost) const
{
    return QStringLiteral("http://") + (onHost.isEmpty() ? host() : onHost) + QLatin1Char('/') + board + QLatin1Char('/');
}

ServicesConfig BoardSim::services() const
{
    return ServicesConfig::load(servicesPath());
}

QString BoardSim::servicesPath() const
{
    return m_dir.filePath(QStringLiteral("services.ini"));
}

QString BoardSim::log() const
{
    return readFile(logPath());
}

QString BoardSim::logPath() const
{
    return m_dir.filePath(QStringLiteral("boardsim.log"));
}

QByteArray BoardSim::viewerRequest(const QString &path, const QString &host)
{
    return "GET " + path.toLatin1() + " HTTP/1.0\r\nHost: " + host.toLatin1()
        + "\r\nUser-Agent: Monazilla/1.00 (test/1.0)\r\nAccept: */*\r\nAccept-Language: ja\r\n"
          "Accept -Encoding: gzip\r\nConnection: Close\r\n\r\n";
}

QByteArray BoardSim::exchange(const QString &hostPort, const QByteArray &request, int timeoutMs, bool *closed)
{
    if (closed)
        *closed = false;
    QTcpSocket socket;
    const qsizetype colon = hostPort.lastIndexOf(QLatin1Char(':'));
    socket.connectToHost(hostPort.left(colon), quint16(hostPort.mid(colon + 1).toUInt()));
    const QDeadlineTimer deadline(timeoutMs);
    if (!socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
        return QByteArray();
    socket.write(request);
    socket.flush();
    QByteArray received;
    while (!deadline.hasExpired()) {
        if (socket.state() != QAbstractSocket::ConnectedState && socket.bytesAvailable() == 0) {
            if (closed)
                *closed = true;
            break;
        }
        socket.waitForReadyRead(int(qMin<qint64>(100, qMax<qint64>(1, deadline.remainingTime()))));
        received += socket.readAll();
    }
    received += socket.readAll();
    return received;
}

QByteArray BoardSim::get(const QString &url, int *status, int timeoutMs)
{
    const QUrl parsed(url);
    const QString hostPort = parsed.host() + QLatin1Char(':') + QString::number(parsed.port(80));
    QString path = parsed.path(QUrl::FullyEncoded);
    if (parsed.hasQuery())
        path += QLatin1Char('?') + parsed.query(QUrl::FullyEncoded);
    const QByteArray reply = exchange(hostPort, viewerRequest(path.isEmpty() ? QStringLiteral("/") : path, hostPort),
                                      timeoutMs);
    if (status) {
        const QList<QByteArray> first = reply.left(reply.indexOf('\r')).split(' ');
        *status = first.size() >= 2 ? first.at(1).toInt() : 0;
    }
    const qsizetype end = reply.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : reply.mid(end + 4);
}

} // namespace testsupport
