#include "net/RawHttpFetcher.h"

#include "core/ServicesConfig.h"
#include "net/RawHttp.h"
#include "net/ThreadAddress.h"
#include "platform/SecureServers.h"

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

bool RawHttpFetcher::start(const QString &strSvr, const QString &path, const QByteArray &extraLines,
                           const QList<int> &rawStatuses)
{
    cancel(FetchFailure::Superseded);
    if (!splitServer(strSvr))
        return false;
    const QString secure = platform::secureServerFor(strSvr);
    m_place = FetchPlace{!secure.isEmpty(), secure.isEmpty() ? strSvr : secure, path};
    m_extraLines = extraLines;
    m_rawStatuses = rawStatuses;
    m_redirects = 0;
    m_conforming = m_servers && m_servers->contains(m_place.server);
    if (!beginAttempt())
        return false;
    m_busy = true;
    return true;
}

void RawHttpFetcher::cancel(FetchFailure failure)
{
    if (m_busy)
        finish(FetchResult::failed(failure));
}

bool RawHttpFetcher::beginAttempt()
{
    const std::optional<ServerEndpoint> endpoint = splitServer(m_place.server, m_place.tls ? 443 : 80);
    if (!endpoint)
        return false;
    m_received.clear();
    m_socket.close();
    m_timer.start(services().timeoutSeconds * 1000);
    m_socket.connectToHost(endpoint->host, endpoint->port, m_place.tls);
    return true;
}

void RawHttpFetcher::onConnected()
{
    emit connected();
    if (!m_busy)
        return;
    m_socket.send(buildGetRequest(m_place.path, m_place.server, m_conforming, m_extraLines));
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
        m_servers->insert(m_place.server);
    beginAttempt();
    return true;
}

bool RawHttpFetcher::handleRedirect()
{
    const RedirectStep step = redirectStep(m_received, m_place, m_redirects);
    switch (step.kind) {
    case RedirectStep::Kind::None:
    case RedirectStep::Kind::Elsewhere:
        return false;
    case RedirectStep::Kind::TooMany:
        finish(FetchResult::failed(FetchFailure::TooManyRedirects, step.next.origin() + step.next.path,
                                   replyStatus(m_received)));
        return true;
    case RedirectStep::Kind::Bad:
        finish(FetchResult::failed(FetchFailure::BadRedirect, QString::fromLatin1(replyHeader(m_received, "Location")),
                                   replyStatus(m_received)));
        return true;
    case RedirectStep::Kind::Follow:
        break;
    }
    if (step.movedToTls)
        platform::rememberSecureServer(m_place.server, step.next.server);
    ++m_redirects;
    m_place = step.next;
    m_conforming = m_conforming || (m_servers && m_servers->contains(m_place.server));
    if (!beginAttempt())
        finish(FetchResult::failed(FetchFailure::BadRedirect, step.next.origin() + step.next.path));
    return true;
}

void RawHttpFetcher::onClosedByPeer()
{
    m_socket.close();
    if (handleRedirect())
        return;
    const FetchResult result = m_rawStatuses.isEmpty() ? judgeReply(m_received) : judgeRawReply(m_received, m_rawStatuses);
    if (!retryIfRefusedExactRequest(result))
        finish(result);
}

void RawHttpFetcher::onError(platform::TcpSocket::Error error, const QString &text)
{
    // A server may reset the connection right after its 400 answer instead of closing it.
    if (!m_received.isEmpty() && retryIfRefusedExactRequest(judgeReply(m_received)))
        return;
    using E = platform::TcpSocket::Error;
    FetchFailure failure = FetchFailure::ConnectionError;
    switch (error) {
    case E::Refused: failure = FetchFailure::Refused; break;
    case E::HostNotFound: failure = FetchFailure::HostNotFound; break;
    case E::TimedOut: failure = FetchFailure::TimedOut; break;
    case E::TlsHandshake: failure = FetchFailure::TlsHandshake; break;
    case E::CertificateUntrusted: failure = FetchFailure::CertificateUntrusted; break;
    case E::CertificateExpired: failure = FetchFailure::CertificateExpired; break;
    case E::CertificateHostMismatch: failure = FetchFailure::CertificateHostMismatch; break;
    case E::Network:
    case E::Other: break;
    }
    finish(FetchResult::failed(failure, text));
}

void RawHttpFetcher::onTimeout()
{
    // A handshake that never ends is a time-out too; the detail says where it stalled.
    const bool inHandshake = m_place.tls && m_socket.state() == platform::TcpSocket::State::Connecting;
    finish(FetchResult::failed(FetchFailure::TimedOut,
                               QStringLiteral("%1 s").arg(services().timeoutSeconds)
                                   + (inHandshake ? QStringLiteral(", connecting over TLS") : QString())));
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
