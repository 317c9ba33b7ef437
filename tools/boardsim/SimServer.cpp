#include "SimServer.h"

#include "SimPages.h"
#include "SimTime.h"

#include "platform/Cp932.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTime>
#include <QTimer>
#include <QUrlQuery>

namespace {

constexpr int kMaxRequestBytes = 64 * 1024;
constexpr int kIdleMs = 60 * 1000;
constexpr qint64 kHugeChunk = 64 * 1024;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return status < 400 ? "Redirect" : "Error";
    }
}

SimReply htmlReply(int status, const QString &page)
{
    SimReply reply;
    reply.status = status;
    reply.body = platform::encodeCp932(page);
    return reply;
}

SimReply textReply(const QString &text)
{
    SimReply reply;
    reply.contentType = QByteArrayLiteral("text/plain; charset=Shift_JIS");
    reply.body = platform::encodeCp932(text);
    return reply;
}

SimReply notFound()
{
    return htmlReply(404, simpages::errorPage(404, QStringLiteral("Not Found")));
}

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
            settings.overloadedBoards = m_options.overloadedBoards;
            settings.startMs = QDateTime::currentMSecsSinceEpoch();
            m_world = std::make_unique<BoardWorld>(settings);
            m_images = makeSimImages();
            return true;
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

void SimServer::close()
{
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
        auto *idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, [socket] { socket->abort(); socket->deleteLater(); });
        idle->start(kIdleMs);
        socket->setProperty("simIdle", QVariant::fromValue<QObject *>(idle));
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, host] { readRequest(socket, host); });
        if (socket->bytesAvailable() > 0)
            readRequest(socket, host);
    }
}

void SimServer::readRequest(QTcpSocket *socket, SimHost host)
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
    respond(socket, host, buffer.left(end));
}

void SimServer::respond(QTcpSocket *socket, SimHost host, const QByteArray &head)
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
        case FaultRule::Mode::Drip:
        case FaultRule::Mode::Truncate:
        case FaultRule::Mode::BadCp932:
            break;
        }
    }

    SimReply reply;
    if (method != QLatin1String("GET") && !headOnly)
        reply = htmlReply(405, simpages::errorPage(405, QStringLiteral("Method Not Allowed")));
    else
        reply = answer(host, path, now);
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

void SimServer::control(QTcpSocket *socket, SimHost host, const QString &requestLine, const QString &path)
{
    SimReply reply;
    reply.contentType = QByteArrayLiteral("text/plain; charset=us-ascii");
    const QString route = path.section(QLatin1Char('?'), 0, 0);
    if (!socket->peerAddress().isLoopback()) {
        reply = htmlReply(403, simpages::errorPage(403, QStringLiteral("Forbidden")));
    } else if (route != QLatin1String("/_control/faults")) {
        reply = notFound();
    } else {
        QList<FaultRule> rules;
        QString error;
        const QUrlQuery query(path.section(QLatin1Char('?'), 1));
        for (const QString &text : query.allQueryItemValues(QStringLiteral("set"), QUrl::FullyDecoded)) {
            const auto rule = parseFaultRule(text, &error);
            if (!rule)
                break;
            rules << *rule;
        }
        if (!error.isEmpty()) {
            reply.status = 400;
            reply.body = error.toLatin1() + '\n';
        } else {
            m_options.faults = rules;
            m_faultsSetAtRuntime = true;
            for (const FaultRule &rule : rules)
                reply.body += (rule.modeName() + QLatin1Char(':') + rule.pathText).toLatin1() + '\n';
        }
    }
    log(host, requestLine, QStringLiteral("%1 control").arg(reply.status));
    sendWhole(socket, serialise(reply, false));
}

QByteArray SimServer::serialise(const SimReply &reply, bool headOnly) const
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    head += "Date: " + httpDate(QDateTime::currentMSecsSinceEpoch()).toLatin1() + "\r\n";
    head += "Server: boardsim\r\n";
    head += "Content-Type: " + reply.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    if (!reply.location.isEmpty())
        head += "Location: " + reply.location + "\r\n";
    head += "Connection: close\r\n\r\n";
    return headOnly ? head : head + reply.body;
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

SimReply SimServer::answer(SimHost host, const QString &fullPath, qint64 nowMs)
{
    m_world->advanceTo(nowMs);
    QString path = fullPath.section(QLatin1Char('?'), 0, 0);
    const QString firstSegment = path.section(QLatin1Char('/'), 1, 1);

    // The redirector: "/<host:port>/<rest>" sends the browser on to "http://<host:port>/<rest>".
    if (firstSegment.contains(QLatin1Char(':')) || host == SimHost::Redirector) {
        if (path.size() <= 1)
            return htmlReply(200, simpages::rootPage(*m_world));
        SimReply reply = htmlReply(302, simpages::errorPage(302, QStringLiteral("Found")));
        reply.location = (QStringLiteral("http://") + path.mid(1)).toLatin1();
        return reply;
    }

    if (host == SimHost::Images && !path.startsWith(QLatin1String("/img/")))
        return notFound();
    if (host == SimHost::Main || host == SimHost::Images) {
        if (path.startsWith(QLatin1String("/img/"))) {
            const auto image = m_images.constFind(path.mid(5));
            if (image == m_images.constEnd())
                return notFound();
            SimReply reply;
            reply.contentType = image->contentType;
            reply.body = image->bytes;
            return reply;
        }
    }
    if (host == SimHost::Main) {
        if (path == QLatin1String("/") || path == QLatin1String("/index.html"))
            return htmlReply(200, simpages::rootPage(*m_world));
        if (path == QLatin1String("/bbsmenu.html"))
            return htmlReply(200, simpages::boardMenu(*m_world));
        if (path == QLatin1String("/tv/") || path == QLatin1String("/tv"))
            return htmlReply(200, simpages::tvGraph(*m_world, nowMs));
        if (path == QLatin1String("/moved.html"))
            return htmlReply(200, QStringLiteral("<html><head><title>移転しました</title></head><body>移転しました。</body></html>\n"));
    }

    // read.cgi; a relative anchor followed from a thread page repeats the prefix, so the last
    // occurrence counts.
    const qsizetype cgi = path.lastIndexOf(QLatin1String("/test/read.cgi/"));
    if (cgi >= 0) {
        const QStringList parts = path.mid(cgi + 15).split(QLatin1Char('/'));
        const SimBoard *board = m_world->board(host, parts.value(0));
        if (!board)
            return notFound();
        if (board->overloaded)
            return htmlReply(200, simpages::overloaded(*m_world, *board));
        const SimThread *thread = board->thread(parts.value(1).toLongLong());
        if (!thread)
            return htmlReply(404, QStringLiteral("<html><head><title>ＥＲＲＯＲ！</title></head><body>"
                                                 "そんな板orスレッドないです。</body></html>\n"));
        return htmlReply(200, simpages::readCgi(*m_world, *board, *thread, parts.mid(2).join(QLatin1Char('/'))));
    }

    const SimBoard *board = m_world->board(host, firstSegment);
    if (!board)
        return notFound();
    const QString rest = path.mid(firstSegment.size() + 1);
    if (rest == QLatin1String("/") || rest == QLatin1String("/index.html") || rest == QLatin1String("/subback.html"))
        return htmlReply(200, simpages::subback(*m_world, *board));
    if (rest == QLatin1String("/subject.txt"))
        return textReply(simpages::subjectText(*board));
    static const QRegularExpression dat(QStringLiteral("^/dat/(\\d+)\\.dat$"));
    if (const auto m = dat.match(rest); m.hasMatch()) {
        const SimThread *thread = board->thread(m.captured(1).toLongLong());
        if (!thread)
            return notFound();
        SimReply reply;
        reply.contentType = QByteArrayLiteral("text/plain");
        reply.body = thread->dat;
        return reply;
    }
    return notFound();
}
