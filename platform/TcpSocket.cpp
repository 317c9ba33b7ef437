#include "platform/TcpSocket.h"

#include "platform/TlsTrust.h"

namespace platform {

TcpSocket::TcpSocket(QObject *parent)
    : QObject(parent)
{
    useSocket(false);
}

TcpSocket::~TcpSocket()
{
    // No signal may reach an owner that is being destroyed.
    m_socket->disconnect(this);
    m_socket->abort();
}

void TcpSocket::useSocket(bool tls)
{
    if (m_socket && (qobject_cast<QSslSocket *>(m_socket.get()) != nullptr) == tls)
        return;
    if (m_socket) {
        // This may run inside one of the old socket's signals (a redirect to https is followed
        // from its close): it goes once that has returned.
        QTcpSocket *old = m_socket.release();
        old->disconnect(this);
        old->abort();
        old->deleteLater();
    }
    if (tls) {
        auto *socket = new QSslSocket;
        connect(socket, &QSslSocket::encrypted, this, &TcpSocket::onConnected);
        connect(socket, &QSslSocket::sslErrors, this, &TcpSocket::onSslErrors);
        m_socket.reset(socket);
    } else {
        m_socket = std::make_unique<QTcpSocket>();
        connect(m_socket.get(), &QTcpSocket::connected, this, &TcpSocket::onConnected);
    }
    connect(m_socket.get(), &QTcpSocket::readyRead, this, &TcpSocket::onReadyRead);
    connect(m_socket.get(), &QTcpSocket::disconnected, this, &TcpSocket::onDisconnected);
    connect(m_socket.get(), &QTcpSocket::errorOccurred, this, &TcpSocket::onError);
}

bool TcpSocket::connectToHost(const QString &host, quint16 port, bool tls)
{
    if (m_state != State::Closed)
        return false;
    // Leftovers of an earlier connection (read buffer, finished state) must not leak in.
    m_socket->abort();
    m_state = State::Connecting;
    m_tls = tls;
    m_certificateError.reset();
    m_certificateText.clear();
    if (!tls) {
        useSocket(false);
        m_socket->connectToHost(host, port);
        return true;
    }
    if (!QSslSocket::supportsSsl()) {
        // Reported from the event loop, like every other failure of an attempt.
        QMetaObject::invokeMethod(this, [this] {
            if (m_state == State::Connecting && m_tls)
                fail(Error::TlsHandshake, QStringLiteral("no TLS support"));
        }, Qt::QueuedConnection);
        return true;
    }
    useSocket(true);
    auto *socket = static_cast<QSslSocket *>(m_socket.get());
    socket->setSslConfiguration(tlsConfiguration());
    socket->setPeerVerifyName(host);
    socket->connectToHostEncrypted(host, port);
    return true;
}

bool TcpSocket::send(const QByteArray &bytes)
{
    if (m_state != State::Connected)
        return false;
    return m_socket->write(bytes) == bytes.size();
}

QByteArray TcpSocket::readAvailable()
{
    return m_socket->readAll();
}

void TcpSocket::close()
{
    m_state = State::Closed;
    m_socket->abort();
}

void TcpSocket::onConnected()
{
    if (m_state != State::Connecting)
        return;
    m_state = State::Connected;
    emit connected();
}

void TcpSocket::onReadyRead()
{
    if (m_state != State::Connected)
        return;
    const qint64 available = m_socket->bytesAvailable();
    if (available > 0)
        emit dataArrived(available);
}

void TcpSocket::onDisconnected()
{
    // A server that closes during the TLS handshake (plain text on the port, a refused hello).
    if (m_state == State::Connecting) {
        fail(m_certificateError.value_or(Error::TlsHandshake),
             m_certificateText.isEmpty() ? QStringLiteral("closed during the handshake") : m_certificateText);
        return;
    }
    if (m_state != State::Connected)
        return;
    // Bytes that came with the peer's close are still readable: hand them over first.
    if (m_socket->bytesAvailable() > 0)
        emit dataArrived(m_socket->bytesAvailable());
    if (m_state != State::Connected)
        return; // a data handler closed the socket
    m_state = State::Closed;
    emit closedByPeer();
}

void TcpSocket::onSslErrors(const QList<QSslError> &errors)
{
    // Not ignored: the socket gives up after this, and the kind found here is the reason.
    for (const QSslError &e : errors) {
        Error kind = Error::CertificateUntrusted;
        switch (e.error()) {
        case QSslError::CertificateExpired:
        case QSslError::CertificateNotYetValid:
            kind = Error::CertificateExpired;
            break;
        case QSslError::HostNameMismatch:
            kind = Error::CertificateHostMismatch;
            break;
        default:
            break;
        }
        // An untrusted chain outweighs the rest: it is the first thing to mend.
        if (!m_certificateError || kind == Error::CertificateUntrusted) {
            m_certificateError = kind;
            m_certificateText = e.errorString();
        }
    }
}

void TcpSocket::onError(QAbstractSocket::SocketError error)
{
    // The peer's orderly close is reported through disconnected, not as an error.
    // (During a TLS handshake, onDisconnected reports it as the handshake's failure.)
    if (m_state == State::Closed || error == QAbstractSocket::RemoteHostClosedError)
        return;
    Error kind = Error::Other;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: kind = Error::Refused; break;
    case QAbstractSocket::HostNotFoundError: kind = Error::HostNotFound; break;
    case QAbstractSocket::SocketTimeoutError: kind = Error::TimedOut; break;
    case QAbstractSocket::NetworkError: kind = Error::Network; break;
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInternalError:
    case QAbstractSocket::SslInvalidUserDataError:
        kind = m_certificateError.value_or(Error::TlsHandshake);
        break;
    default: break;
    }
    const QString text = m_certificateError && kind == *m_certificateError ? m_certificateText : m_socket->errorString();
    fail(kind, text);
}

void TcpSocket::fail(Error kind, const QString &text)
{
    m_state = State::Closed;
    m_socket->abort();
    emit errorOccurred(kind, text);
}

} // namespace platform
