#pragma once
// A scripted HTTP server on 127.0.0.1 for tests of the program's own fetchers. It records the
// exact bytes of every request and answers each with a scripted reply: whole or in chunks,
// with delays, closing or not, or never answering at all.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <functional>

namespace testsupport {

class FakeHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Reply
    {
        QList<QByteArray> chunks; // sent in order
        int chunkDelayMs = 0;     // pause before each chunk after the first
        bool answer = true;       // false: read the request, then stay silent and open
        bool close = true;        // close the connection after the last chunk
    };
    // Called once a whole request (up to its empty line) has arrived; index counts connections.
    using Responder = std::function<Reply(const QByteArray &request, int index)>;

    FakeHttpServer();
    ~FakeHttpServer() override;

    quint16 port() const { return m_server.serverPort(); }
    // "127.0.0.1:<port>", the form strSvr takes for a server on another port.
    QString server() const;

    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // Answers every request with the same bytes, split into chunks of chunkSize (0: at once).
    void replyWith(const QByteArray &reply, int chunkSize = 0, int chunkDelayMs = 0);
    void neverAnswer();

    const QList<QByteArray> &requests() const { return m_requests; }
    int connectionCount() const { return m_connections; }

    // A complete HTTP/1.0 reply with the given status and body.
    static QByteArray reply(const QByteArray &body, int status = 200, const QByteArray &extraHeaders = {});
    static QList<QByteArray> split(const QByteArray &bytes, int chunkSize);

private:
    void onNewConnection();

    QTcpServer m_server;
    Responder m_responder;
    QList<QByteArray> m_requests;
    int m_connections = 0;
};

// A loopback port nothing listens on (a connection to it is refused).
quint16 unusedLoopbackPort();

} // namespace testsupport
