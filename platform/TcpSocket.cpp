#include "platform/TcpSocket.h"

namespace platform {

TcpSocket::TcpSocket(QObject *parent)
    : QObject(parent)
{
    connect(&m_socket, &QTcpSocket::connected, this, &TcpSocket::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &TcpSocket::onReadyRead);
    connect(&m_socket, &QTcpSocket::disconnected, this, &TcpSocket::onDisconnected);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TcpSocket::onError);
}

TcpSocket::~TcpSocket()
{
    // No signal may reach an owner that is being destroyed.
    m_socket.disconnect(this);
    m_socket.abort();
}

bool TcpSocket::connectToHost(const QString &host, quint16 port)
{
    if (m_state != State::Closed)
        return false;
    // Leftovers of an earlier connection (read buffer, finished state) must not leak in.
    m_socket.abort();
    m_state = State::Connecting;
    m_socket.connectToHost(host, port);
    return true;
}

bool TcpSocket::send(const QByteArray &bytes)
{
    if (m_state != State::Connected)
        return false;
    return m_socket.write(bytes) == bytes.size();
}

QByteArray TcpSocket::readAvailable()
{
    return m_socket.readAll();
}

void TcpSocket::close()
{
    m_state = State::Closed;
    m_socket.abort();
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
    const qint64 available = m_socket.bytesAvailable();
    if (available > 0)
        emit dataArrived(available);
}

void TcpSocket::onDisconnected()
{
    if (m_state != State::Connected)
        return;
    // Bytes that came with the peer's close are still readable: hand them over first.
    if (m_socket.bytesAvailable() > 0)
        emit dataArrived(m_socket.bytesAvailable());
    if (m_state != State::Connected)
        return; // a data handler closed the socket
    m_state = State::Closed;
    emit closedByPeer();
}

void TcpSocket::onError(QAbstractSocket::SocketError error)
{
    // The peer's orderly close is reported through disconnected, not as an error.
    if (error == QAbstractSocket::RemoteHostClosedError || m_state == State::Closed)
        return;
    Error kind = Error::Other;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: kind = Error::Refused; break;
    case QAbstractSocket::HostNotFoundError: kind = Error::HostNotFound; break;
    case QAbstractSocket::SocketTimeoutError: kind = Error::TimedOut; break;
    case QAbstractSocket::NetworkError: kind = Error::Network; break;
    default: break;
    }
    const QString text = m_socket.errorString();
    m_state = State::Closed;
    m_socket.abort();
    emit errorOccurred(kind, text);
}

} // namespace platform
