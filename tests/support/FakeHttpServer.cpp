#include "FakeHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace testsupport {
namespace {

struct Sending
{
    QPointer<QTcpSocket> socket;
    FakeHttpServer::Reply reply;
};

void sendChunks(const std::shared_ptr<Sending> &sending, int i)
{
    QTcpSocket *socket = sending->socket;
    if (!socket)
        return;
    const FakeHttpServer::Reply &r = sending->reply;
    if (i < r.chunks.size()) {
        socket->write(r.chunks[i]);
        socket->flush();
    }
    if (i + 1 < r.chunks.size()) {
        QTimer::singleShot(r.chunkDelayMs, socket, [sending, i] { sendChunks(sending, i + 1); });
        return;
    }
    if (r.close)
        socket->disconnectFromHost();
}

} // namespace

FakeHttpServer::FakeHttpServer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &FakeHttpServer::onNewConnection);
    replyWith(reply("ok"));
}

FakeHttpServer::~FakeHttpServer() = default;

QString FakeHttpServer::server() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

void FakeHttpServer::replyWith(const QByteArray &bytes, int chunkSize, int chunkDelayMs)
{
    const QList<QByteArray> chunks = split(bytes, chunkSize);
    setResponder([chunks, chunkDelayMs](const QByteArray &, int) {
        Reply r;
        r.chunks = chunks;
        r.chunkDelayMs = chunkDelayMs;
        return r;
    });
}

void FakeHttpServer::neverAnswer()
{
    setResponder([](const QByteArray &, int) {
        Reply r;
        r.answer = false;
        return r;
    });
}

QByteArray FakeHttpServer::reply(const QByteArray &body, int status, const QByteArray &extraHeaders)
{
    const QByteArray reason = status == 200 ? "OK" : status == 404 ? "Not Found" : status == 400 ? "Bad Request" : "Status";
    return "HTTP/1.0 " + QByteArray::number(status) + ' ' + reason + "\r\n"
        + "Content-Type: text/plain\r\n" + extraHeaders + "\r\n" + body;
}

QList<QByteArray> FakeHttpServer::split(const QByteArray &bytes, int chunkSize)
{
    if (chunkSize <= 0)
        return {bytes};
    QList<QByteArray> chunks;
    for (qsizetype i = 0; i < bytes.size(); i += chunkSize)
        chunks.append(bytes.mid(i, chunkSize));
    return chunks;
}

void FakeHttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        const int index = m_connections++;
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto received = std::make_shared<QByteArray>();
        auto answered = std::make_shared<bool>(false);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, received, answered, index] {
            *received += socket->readAll();
            if (*answered || !received->contains("\r\n\r\n"))
                return;
            *answered = true;
            m_requests.append(*received);
            const Reply r = m_responder(*received, index);
            if (!r.answer)
                return;
            sendChunks(std::make_shared<Sending>(Sending{QPointer<QTcpSocket>(socket), r}), 0);
        });
    }
}

quint16 unusedLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace testsupport
