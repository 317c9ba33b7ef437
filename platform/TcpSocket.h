#pragma once
// A TCP connection shaped like the socket control the program was built around: connect to a
// host's port, send bytes, read what has arrived, close; events for connected, data arrived,
// closed by the peer and error. Exactly one of closedByPeer and errorOccurred ends a connection
// attempt that the owner did not close itself; close() itself emits nothing.
//
// With tls, connected comes once the TLS handshake is done and the server's certificate was
// verified for host against platform/TlsTrust; a certificate error ends the attempt with its
// kind (it is never ignored). The bytes sent and read are the same either way.
//
// Signals are delivered from the event loop, so handlers run inside whatever wait pumps events.
// A handler may call close() or connectToHost() on the same socket.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QSslSocket>
#include <memory>
#include <optional>

namespace platform {

class TcpSocket : public QObject
{
    Q_OBJECT
public:
    enum class State { Closed, Connecting, Connected };
    enum class Error {
        Refused, HostNotFound, TimedOut, Network, Other,
        TlsHandshake, CertificateUntrusted, CertificateExpired, CertificateHostMismatch,
    };
    Q_ENUM(Error)

    explicit TcpSocket(QObject *parent = nullptr);
    ~TcpSocket() override;

    // Starts connecting. False when the socket is not closed (close it first).
    bool connectToHost(const QString &host, quint16 port, bool tls = false);
    // Writes all bytes in one write. False when not connected.
    bool send(const QByteArray &bytes);
    // Everything that has arrived and was not read yet.
    QByteArray readAvailable();
    // Drops the connection at once (pending data is discarded); no signal follows.
    void close();

    State state() const { return m_state; }
    // Whether the connection in progress is (to be) encrypted, and its handshake is done.
    bool isTls() const { return m_tls; }

signals:
    void connected();
    void dataArrived(qint64 bytesAvailable);
    void closedByPeer();
    void errorOccurred(platform::TcpSocket::Error error, const QString &text);

private:
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);
    void onSslErrors(const QList<QSslError> &errors);
    void fail(Error kind, const QString &text);
    // A socket of the kind the next connection needs. The first QSslSocket of a process loads
    // the TLS library (tens of milliseconds), so plain connections never make one.
    void useSocket(bool tls);

    std::unique_ptr<QTcpSocket> m_socket;
    State m_state = State::Closed;
    bool m_tls = false;
    // The certificate error met in the handshake, reported when the socket gives up.
    std::optional<Error> m_certificateError;
    QString m_certificateText;
};

} // namespace platform
