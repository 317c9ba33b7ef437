#include "SimServer.h"

#include "SimPages.h"
#include "SimTls.h"
#include "SimTime.h"

#include "platform/Cp932.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTime>
#include <QTimer>

namespace {

constexpr int kMaxRequestBytes = 64 * 1024;
constexpr int kIdleMs = 60 * 1000;
constexpr qint64 kHugeChunk = 64 * 1024;

qsizetype headerEnd(const QByteArray &buffer, int *separatorLength)
{
    const qsizetype crlf = buffer.indexOf("\r\n\r\n");
    const qsizetype lf = buffer.indexOf("\n\n");
    if (crlf >= 0 && (lf < 0 || crlf <= lf)) {
        *separatorLength = 4;
        return crlf;
    }
    *separatorLength = 2;
    return lf;
}

// Lines of filler that look like dat lines, for the huge reply.
QByteArray hugeFiller()
{
    return platform::encodeCp932(QStringLiteral("名無しさん<><>2024/05/01(水) 21:00:00.00 ID:HugeHuge0<> "
                                                "とても長い返答です。とても長い返答です。とても長い返答です。 <>\n"));
}

// Every third line gets bytes that CP932 cannot decode inside its text: 0xFF, and a lead byte
// followed by a blank, which is no trail byte. They go after the line's first "<>" (a dat or
// subject.txt field) or at its end, so the line's structure stays readable.
QByteArray spoilCp932(const QByteArray &body)
{
    static const QByteArray junk("\xFF\x81 ");
    QList<QByteArray> lines = body.split('\n');
    for (qsizetype i = 0; i < lines.size(); i += 3) {
        const qsizetype field = lines[i].indexOf("<>");
        if (field >= 0)
            lines[i].insert(field + 2, junk);
        else
            lines[i].append(junk);
    }
    return lines.join('\n');
}

} // namespace

SimServer::SimServer(const SimOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
{
}

SimServer::~SimServer()
{
    close();
}

bool SimServer::listen(QString *error)
{
    const QList<SimHost> hosts = {SimHost::Main, SimHost::OutsideA, SimHost::OutsideB, SimHost::Redirector};
    for (int attempt = 0; attempt < 20; ++attempt) {
        close();
        int port = m_options.port;
        bool ok = true;
        for (const SimHost host : hosts) {
            auto *listener = new QTcpServer(this);
            m_listeners << qMakePair(listener, host);
            if (!listener->listen(QHostAddress(SimHosts::address(host)), quint16(port))) {
                ok = false;
                if (error)
                    *error = QStringLiteral("cannot listen on %1:%2: %3")
                                 .arg(SimHosts::address(host))
                                 .arg(port)
                                 .arg(listener->errorString());
                break;
            }
            port = listener->serverPort();
            connect(listener, &QTcpServer::newConnection, this, [this, listener, host] { accept(listener, host); });
        }
        if (ok) {
            m_port = port;
            BoardWorld::Settings settings;
            settings.port = port;
            settings.imageHost = listenForImages();
            settings.rate = m_options.rate;
            settings.seed = m_options.seed;
            settings.startCount = m_options.startCount;
            settings.nextDelayMs = qint64(m_options.nextDelaySeconds) * 1000;
            settings.aboneRate = m_options.aboneRate;
            settings.overloadedBoards = m_options.overloadedBoards;
            settings.startMs = QDateTime::currentMSecsSinceEpoch();
            m_world = std::make_unique<BoardWorld>(settings);
            m_images = makeSimImages();
            return !m_options.tls || listenForTls(error);
        }
        if (m_options.port != 0)
            break; // a fixed port that is taken stays taken
    }
    close();
    return false;
}

QString SimServer::listenForImages()
{
    // One loopback address per port (127.1.<port / 256>.<port % 256>), so several simulators can
    // each have their own port 80. Binding port 80 needs privileges; without them the pictures
    // stay on the main host.
    const QString address = QStringLiteral("127.1.%1.%2").arg(m_port / 256).arg(m_port % 256);
    auto *listener = new QTcpServer(this);
    if (!listener->listen(QHostAddress(address), 80)) {
        delete listener;
        return QString();
    }
    m_imageListener = listener;
    connect(listener, &QTcpServer::newConnection, this, [this, listener] { accept(listener, SimHost::Images); });
    return address;
}

bool SimServer::listenForTls(QString *error)
{
    m_tlsDir = std::make_unique<QTemporaryDir>();
    if (!m_tlsDir->isValid() || !makeSimCertificates(m_tlsDir->path(), error))
        return false;
    auto *listener = new SimTlsListener(this);
    if (!listener->listen(QHostAddress(SimHosts::address(SimHost::Main)), quint16(m_options.tlsPort))) {
        if (error)
            *error = QStringLiteral("cannot listen for TLS on port %1: %2").arg(m_options.tlsPort).arg(listener->errorString());
        delete listener;
        return false;
    }
    m_tlsListener = listener;
    m_tlsPort = listener->serverPort();
    connect(listener, &QTcpServer::newConnection, this, &SimServer::acceptTls);
    return true;
}

QString SimServer::tlsMenuUrl() const
{
    return m_tlsPort ? QStringLiteral("https://%1:%2/bbsmenu.html").arg(SimHosts::address(SimHost::Main)).arg(m_tlsPort)
                     : QString();
}

void SimServer::close()
{
    if (m_tlsListener) {
        m_tlsListener->close();
        m_tlsListener->deleteLater();
        m_tlsListener = nullptr;
    }
    if (m_imageListener) {
        m_imageListener->close();
        m_imageListener->deleteLater();
        m_imageListener = nullptr;
    }
    for (auto &[listener, host] : m_listeners) {
        listener->close();
        listener->deleteLater();
    }
    m_listeners.clear();
}

ServicesConfig SimServer::servicesConfig() const
{
    const SimHosts &hosts = m_world->hosts();
    ServicesConfig config = ServicesConfig::defaults();
    config.liveLabels = BoardWorld::liveLabels();
    config.outsideHosts = {hosts.hostPort(SimHost::OutsideA), hosts.hostPort(SimHost::OutsideB)};
    config.tvTopPage = hosts.tvPageUrl();
    config.tvHost = hosts.main();
    config.redirectorPrefix = hosts.redirectorPrefix();
    config.timeoutSeconds = 10;
    if (m_tlsDir)
        config.caFile = m_tlsDir->filePath(QStringLiteral("ca.pem"));
    return config;
}

void SimServer::log(SimHost host, const QString &request, const QString &outcome)
{
    if (!m_log)
        return;
    m_log(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")) + QLatin1Char(' ')
          + m_world->hosts().hostPort(host) + QStringLiteral(" \"") + request + QStringLiteral("\" ") + outcome);
}

void SimServer::accept(QTcpServer *listener, SimHost host)
{
    while (QTcpSocket *socket = listener->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        // A start-up rule for every request that comes first acts before the request is even read.
        const FaultRule *first =
            m_options.faults.isEmpty() || m_faultsSetAtRuntime ? nullptr : &m_options.faults.first();
        if (first && first->pathText.isEmpty() && first->mode == FaultRule::Mode::Refuse) {
            log(host, QStringLiteral("-"), QStringLiteral("closed on accept (fault refuse)"));
            socket->close();
            socket->deleteLater();
            continue;
        }
        if (first && first->pathText.isEmpty() && first->mode == FaultRule::Mode::Stall) {
            log(host, QStringLiteral("-"), QStringLiteral("stalled on accept (fault stall)"));
            continue; // held open until the client gives up
        }
        serve(socket, host, false);
    }
}

void SimServer::serve(QTcpSocket *socket, SimHost host, bool secure)
{
    auto *idle = new QTimer(socket);
    idle->setSingleShot(true);
    connect(idle, &QTimer::timeout, socket, [socket] { socket->abort(); socket->deleteLater(); });
    idle->start(kIdleMs);
    socket->setProperty("simIdle", QVariant::fromValue<QObject *>(idle));
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, host, secure] { readRequest(socket, host, secure); });
    if (socket->bytesAvailable() > 0)
        readRequest(socket, host, secure);
}

void SimServer::acceptTls()
{
    while (QTcpSocket *plain = m_tlsListener->nextPendingConnection()) {
        auto *socket = static_cast<QSslSocket *>(plain);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        const FaultRule *fault = findTlsFault(m_options.faults);
        const FaultRule::Mode mode = fault ? fault->mode : FaultRule::Mode::Refuse;
        const QString note = fault ? QStringLiteral(" (fault %1)").arg(fault->modeName()) : QString();
        if (fault && mode == FaultRule::Mode::TlsStall) {
            log(SimHost::Main, QStringLiteral("-"), QStringLiteral("TLS handshake held") + note);
            continue; // held open until the client gives up
        }
        if (fault && mode == FaultRule::Mode::TlsPlain) {
            log(SimHost::Main, QStringLiteral("-"), QStringLiteral("400 plain text on the TLS port") + note);
            sendWhole(socket, serialise(htmlReply(400, simpages::errorPage(400, QStringLiteral("Bad Request"))), false));
            continue;
        }
        const QString certificate = !fault ? QStringLiteral("server")
            : mode == FaultRule::Mode::TlsUntrusted ? QStringLiteral("untrusted") : QStringLiteral("wronghost");
        if (fault)
            log(SimHost::Main, QStringLiteral("-"), QStringLiteral("TLS with the %1 certificate").arg(certificate) + note);
        socket->setSslConfiguration(simServerTls(m_tlsDir->path(), certificate));
        // A client that refuses the certificate just goes away; the socket then closes.
        socket->startServerEncryption();
        serve(socket, SimHost::Main, true);
    }
}

void SimServer::readRequest(QTcpSocket *socket, SimHost host, bool secure)
{
    if (socket->property("simAnswered").toBool()) {
        socket->readAll(); // a client that keeps talking after its request is ignored
        return;
    }
    QByteArray buffer = socket->property("simBuffer").toByteArray() + socket->readAll();
    int separator = 0;
    const qsizetype end = headerEnd(buffer, &separator);
    if (end < 0) {
        if (buffer.size() > kMaxRequestBytes) {
            socket->setProperty("simAnswered", true);
            log(host, QStringLiteral("-"), QStringLiteral("400 request too large"));
            sendWhole(socket, serialise(htmlReply(400, simpages::errorPage(400, QStringLiteral("Bad Request"))), false));
            return;
        }
        socket->setProperty("simBuffer", buffer);
        return;
    }
    socket->setProperty("simAnswered", true);
    socket->setProperty("simBuffer", QVariant());
    if (auto *idle = qobject_cast<QTimer *>(socket->property("simIdle").value<QObject *>()))
        idle->stop();
    respond(socket, host, buffer.left(end), secure);
}

void SimServer::respond(QTcpSocket *socket, SimHost host, const QByteArray &head, bool secure)
{
    const QList<QByteArray> lines = head.split('\n');
    const QString requestLine = QString::fromLatin1(lines.value(0).trimmed());
    const QStringList parts = requestLine.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString method = parts.value(0);
    QString path = parts.value(1);
    if (path.startsWith(QLatin1String("http://"))) {
        const qsizetype slash = path.indexOf(QLatin1Char('/'), 7);
        path = slash < 0 ? QStringLiteral("/") : path.mid(slash);
    }
    if (parts.size() < 2 || !path.startsWith(QLatin1Char('/'))) {
        log(host, requestLine, QStringLiteral("400 malformed request"));
        sendWhole(socket, serialise(htmlReply(400, simpages::errorPage(400, QStringLiteral("Bad Request"))), false));
        return;
    }

    if (path.startsWith(QLatin1String("/_control/"))) {
        control(socket, host, requestLine, path);
        return;
    }

    const FaultRule *fault = findFault(m_options.faults, path);
    const QString faultNote = fault ? QStringLiteral(" (fault %1)").arg(fault->modeName()) : QString();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const bool headOnly = method == QLatin1String("HEAD");

    if (fault) {
        switch (fault->mode) {
        case FaultRule::Mode::Refuse:
            log(host, requestLine, QStringLiteral("closed unanswered") + faultNote);
            socket->close();
            socket->deleteLater();
            return;
        case FaultRule::Mode::Stall:
            log(host, requestLine, QStringLiteral("held unanswered") + faultNote);
            return;
        case FaultRule::Mode::Garbage: {
            QRandomGenerator random(m_options.seed * 7919u + ++m_garbageCount);
            QByteArray bytes(2048 + int(random.bounded(6144)), Qt::Uninitialized);
            for (char &b : bytes)
                b = char(random.bounded(256));
            log(host, requestLine, QStringLiteral("%1 random bytes").arg(bytes.size()) + faultNote);
            sendWhole(socket, bytes);
            return;
        }
        case FaultRule::Mode::Huge:
            log(host, requestLine, QStringLiteral("200 %1 MB").arg(m_options.hugeMegabytes) + faultNote);
            sendHuge(socket);
            return;
        case FaultRule::Mode::Status: {
            SimReply reply = htmlReply(fault->status, simpages::errorPage(fault->status, QString::fromLatin1(reasonPhrase(fault->status))));
            if (fault->status >= 300 && fault->status < 400)
                reply.location = (QStringLiteral("http://") + m_world->hosts().main() + QStringLiteral("/moved.html")).toLatin1();
            log(host, requestLine, QStringLiteral("%1 %2").arg(reply.status).arg(reply.body.size()) + faultNote);
            sendWhole(socket, serialise(reply, headOnly));
            return;
        }
        case FaultRule::Mode::Strict:
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const QByteArray line = lines.at(i).trimmed();
                const qsizetype colon = line.indexOf(':');
                if (colon > 0 && (line.left(colon).contains(' ') || line.left(colon).contains('\t'))) {
                    log(host, requestLine, QStringLiteral("400 blank in header name") + faultNote);
                    sendWhole(socket, serialise(htmlReply(400, simpages::errorPage(400, QStringLiteral("Bad Request"))), false));
                    return;
                }
            }
            break;
        case FaultRule::Mode::Empty:
            log(host, requestLine, QStringLiteral("closed without a byte") + faultNote);
            socket->disconnectFromHost();
            return;
        case FaultRule::Mode::HeadersOnly: {
            SimReply reply = answer(host, path, now);
            reply.status = 200;
            reply.body.clear();
            log(host, requestLine, QStringLiteral("200 headers only") + faultNote);
            sendWhole(socket, serialise(reply, false));
            return;
        }
        case FaultRule::Mode::Redirect:
            if (secure)
                break;
            {
                const SimReply reply = redirectToTls(path);
                log(host, requestLine, QStringLiteral("301 to ") + QString::fromLatin1(reply.location) + faultNote);
                sendWhole(socket, serialise(reply, headOnly));
            }
            return;
        case FaultRule::Mode::Drip:
        case FaultRule::Mode::Truncate:
        case FaultRule::Mode::BadCp932:
        case FaultRule::Mode::IgnoreRange:
        case FaultRule::Mode::BadRange:
        case FaultRule::Mode::TlsUntrusted:
        case FaultRule::Mode::TlsWrongHost:
        case FaultRule::Mode::TlsStall:
        case FaultRule::Mode::TlsPlain:
            break;
        }
    }

    SimReply reply;
    if (method != QLatin1String("GET") && !headOnly)
        reply = htmlReply(405, simpages::errorPage(405, QStringLiteral("Method Not Allowed")));
    else
        reply = answer(host, path, now);
    const RangeHandling ranges = !fault ? RangeHandling::Honour
        : fault->mode == FaultRule::Mode::IgnoreRange ? RangeHandling::Ignore
        : fault->mode == FaultRule::Mode::BadRange ? RangeHandling::Misplace : RangeHandling::Honour;
    reply = answerRange(reply, head, ranges);
    if (secure)
        linkToTls(reply);
    if (fault && fault->mode == FaultRule::Mode::BadCp932)
        reply.body = spoilCp932(reply.body);
    const QByteArray bytes = serialise(reply, headOnly);
    const QString outcome = QStringLiteral("%1 %2").arg(reply.status).arg(reply.body.size());

    if (fault && fault->mode == FaultRule::Mode::Drip) {
        log(host, requestLine, outcome + faultNote);
        sendDripping(socket, bytes);
    } else if (fault && fault->mode == FaultRule::Mode::Truncate) {
        const qsizetype cut = (bytes.size() - reply.body.size()) + reply.body.size() / 2;
        log(host, requestLine, outcome + QStringLiteral(" cut after %1 bytes").arg(cut) + faultNote);
        sendWhole(socket, bytes.left(cut));
    } else {
        log(host, requestLine, outcome + faultNote);
        sendWhole(socket, bytes);
    }
}

QByteArray SimServer::serialise(const SimReply &reply, bool headOnly) const
{
    return serialiseReply(reply, headOnly, QDateTime::currentMSecsSinceEpoch());
}

SimReply SimServer::redirectToTls(const QString &path) const
{
    SimReply reply = htmlReply(301, simpages::errorPage(301, QStringLiteral("Moved Permanently")));
    // Without a TLS port the redirect points back at the same address: a loop.
    reply.location = (m_tlsPort ? QStringLiteral("https://%1:%2").arg(SimHosts::address(SimHost::Main)).arg(m_tlsPort)
                                : QStringLiteral("http://") + m_world->hosts().main())
                         .toLatin1()
        + path.toLatin1();
    return reply;
}

void SimServer::linkToTls(SimReply &reply) const
{
    if (!reply.contentType.startsWith("text/"))
        return;
    const QByteArray plain = "http://" + m_world->hosts().main().toLatin1() + "/";
    const QByteArray tls = "https://" + SimHosts::address(SimHost::Main).toLatin1() + ":" + QByteArray::number(m_tlsPort) + "/";
    reply.body.replace(plain, tls);
}

void SimServer::sendWhole(QTcpSocket *socket, const QByteArray &bytes)
{
    socket->write(bytes);
    socket->disconnectFromHost(); // closes once everything is written
}

void SimServer::sendDripping(QTcpSocket *socket, const QByteArray &bytes)
{
    auto *timer = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    connect(timer, &QTimer::timeout, socket, [socket, timer, bytes, sent] {
        if (socket->state() != QAbstractSocket::ConnectedState) {
            timer->stop();
            return;
        }
        if (*sent >= bytes.size()) {
            timer->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(bytes.mid((*sent)++, 1));
        socket->flush();
    });
    timer->start(m_options.dripIntervalMs);
}

void SimServer::sendHuge(QTcpSocket *socket)
{
    const qint64 total = qint64(m_options.hugeMegabytes) * 1024 * 1024;
    QByteArray head = "HTTP/1.1 200 OK\r\nServer: boardsim\r\nContent-Type: text/plain; charset=Shift_JIS\r\n"
                      "Content-Length: " + QByteArray::number(total) + "\r\nConnection: close\r\n\r\n";
    QByteArray chunk;
    const QByteArray filler = hugeFiller();
    while (chunk.size() < kHugeChunk)
        chunk += filler;
    auto remaining = std::make_shared<qint64>(total);
    auto pump = [socket, remaining, chunk] {
        while (*remaining > 0 && socket->bytesToWrite() < 4 * kHugeChunk
               && socket->state() == QAbstractSocket::ConnectedState) {
            const qint64 n = qMin<qint64>(*remaining, chunk.size());
            socket->write(chunk.constData(), n);
            *remaining -= n;
        }
        if (*remaining == 0) {
            *remaining = -1;
            socket->disconnectFromHost();
        }
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, pump);
    socket->write(head);
    pump();
}
