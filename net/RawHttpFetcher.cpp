#include "net/RawHttpFetcher.h"

#include "core/ServicesConfig.h"
#include "net/RawHttp.h"
#include "net/ThreadAddress.h"

RawHttpFetcher::RawHttpFetcher(ConformingServers *servers, QObject *parent)
    : QObject(parent)
    , m_servers(servers)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RawHttpFetcher::onTimeout);
    connect(&m_socket, &platform::TcpSocket::connected, this, &RawHttpFetcher::onConnected);
    connect(&m_socket, &platform::TcpSocket::dataArrived, this, &RawHttpFetcher::onDataArrived);
    connect(&m_socket, &platform::TcpSocket::closedByPeer, this, &RawHttpFetcher::onClosedByPeer);
    connect(&m_socket, &platform::TcpSocket::errorOccurred, this, &RawHttpFetcher::onError);
}

bool RawHttpFetcher::start(const QString &strSvr, const QString &path)
{
    cancel(FetchFailure::Superseded);
    const std::optional<ServerEndpoint> endpoint = splitServer(strSvr);
    if (!endpoint)
        return false;
    m_svr = strSvr;
    m_path = path;
    m_host = endpoint->host;
    m_port = endpoint->port;
    m_conforming = m_servers && m_servers->contains(strSvr);
    m_busy = true;
    beginAttempt();
    return true;
}

void RawHttpFetcher::cancel(FetchFailure failure)
{
    if (m_busy)
        finish(FetchResult::failed(failure));
}

void RawHttpFetcher::beginAttempt()
{
    m_received.clear();
    m_socket.close();
    m_timer.start(services().timeoutSeconds * 1000);
    m_socket.connectToHost(m_host, m_port);
}

void RawHttpFetcher::onConnected()
{
    emit connected();
    if (!m_busy)
        return;
    m_socket.send(buildGetRequest(m_path, m_svr, m_conforming));
}

void RawHttpFetcher::onDataArrived()
{
    // Bytes only: a double-byte character split between two arrivals is decoded whole at the end.
    m_received += m_socket.readAvailable();
    if (m_received.size() > kMaxReplyBytes) {
        finish(FetchResult::failed(FetchFailure::TooLarge, QStringLiteral("over %1 bytes").arg(kMaxReplyBytes)));
        return;
    }
    emit dataArrived(m_received.size());
}

bool RawHttpFetcher::retryIfRefusedExactRequest(const FetchResult &verdict)
{
    if (!shouldRetryConforming(verdict, m_conforming))
        return false;
    m_conforming = true;
    if (m_servers)
        m_servers->insert(m_svr);
    beginAttempt();
    return true;
}

void RawHttpFetcher::onClosedByPeer()
{
    m_socket.close();
    const FetchResult result = judgeReply(m_received);
    if (!retryIfRefusedExactRequest(result))
        finish(result);
}

void RawHttpFetcher::onError(platform::TcpSocket::Error error, const QString &text)
{
    // A server may reset the connection right after its 400 answer instead of closing it.
    if (!m_received.isEmpty() && retryIfRefusedExactRequest(judgeReply(m_received)))
        return;
    FetchFailure failure = FetchFailure::ConnectionError;
    switch (error) {
    case platform::TcpSocket::Error::Refused: failure = FetchFailure::Refused; break;
    case platform::TcpSocket::Error::HostNotFound: failure = FetchFailure::HostNotFound; break;
    case platform::TcpSocket::Error::TimedOut: failure = FetchFailure::TimedOut; break;
    default: break;
    }
    finish(FetchResult::failed(failure, text));
}

void RawHttpFetcher::onTimeout()
{
    finish(FetchResult::failed(FetchFailure::TimedOut,
                               QStringLiteral("%1 s").arg(services().timeoutSeconds)));
}

void RawHttpFetcher::finish(const FetchResult &result)
{
    // Idle before anyone hears of it: a handler may start the next fetch right away.
    m_timer.stop();
    m_socket.close();
    m_busy = false;
    m_received.clear();
    emit finished(result);
}
