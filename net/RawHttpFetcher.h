#pragma once
// One socket of the main window speaking the program's HTTP/1.0: connect to strSvr, send the
// request in one write as soon as the connection is up, accumulate the bytes, and judge the reply
// when the server closes. Every fetch ends in exactly one finished() signal: success with the
// decoded reply, or a failure (refused, timed out, closed early, HTTP status, superseded, ...).
// A 400 answer to the exact request is retried once in the conforming form (net/RawHttp.h).
//
// A server known to need TLS (platform/SecureServers.h: its https address was opened, or it moved
// there by a redirect) is reached over TLS, on port 443 unless its text names one, with the same
// request bytes. A redirect to the same file is followed (net/Redirects.h); one from http to
// https on the same host is remembered for the rest of the run.
//
// The whole fetch is bounded by services().timeoutSeconds per attempt (each retry and redirect
// is one), and a reply by kMaxReplyBytes: a finished thread's dat or a board's index is well
// under a megabyte, so a server sending more is broken, and converting it would hold up the
// window. finished() is emitted from socket or timer events, or synchronously from cancel();
// handlers may start the next fetch on the same fetcher.

#include "net/FetchResult.h"
#include "net/Redirects.h"
#include "platform/TcpSocket.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

class ConformingServers;

class RawHttpFetcher : public QObject
{
    Q_OBJECT
public:
    static constexpr qsizetype kMaxReplyBytes = 8 * 1024 * 1024;

    // servers (not owned, may be null) remembers the servers needing the conforming request.
    explicit RawHttpFetcher(ConformingServers *servers, QObject *parent = nullptr);

    // Starts fetching path from strSvr ("host" or "host:port"). A fetch still running is first
    // ended as Superseded. False, with nothing started, when strSvr cannot be connected to.
    // extraLines go into the request after the exact lines (buildGetRequest). With rawStatuses
    // given, a reply with one of them succeeds undecoded (judgeRawReply) for the caller to read;
    // otherwise only a 200 succeeds, decoded (judgeReply).
    bool start(const QString &strSvr, const QString &path, const QByteArray &extraLines = {},
               const QList<int> &rawStatuses = {});
    // Ends a running fetch with the given failure (emits finished); nothing when idle.
    void cancel(FetchFailure failure = FetchFailure::Superseded);

    // Bytes received so far by the running fetch (the receive buffer).
    const QByteArray &received() const { return m_received; }
    // Where the attempt in progress (or the last one) asks.
    const FetchPlace &place() const { return m_place; }

signals:
    void connected();
    void dataArrived(qint64 totalBytes);
    void finished(const FetchResult &result);

private:
    // Connects for the attempt at m_place; false when its server cannot be connected to.
    bool beginAttempt();
    // Starts the conforming attempt when the verdict is a 400 to the exact request.
    bool retryIfRefusedExactRequest(const FetchResult &verdict);
    // Follows a redirect reply, or ends the fetch when it cannot be followed; false when the
    // reply is no redirect.
    bool handleRedirect();
    void onConnected();
    void onDataArrived();
    void onClosedByPeer();
    void onError(platform::TcpSocket::Error error, const QString &text);
    void onTimeout();
    void finish(const FetchResult &result);

    platform::TcpSocket m_socket;
    QTimer m_timer;
    ConformingServers *m_servers;
    FetchPlace m_place;
    QByteArray m_extraLines;
    QList<int> m_rawStatuses;
    int m_redirects = 0;
    QByteArray m_received;
    bool m_conforming = false;
    bool m_busy = false;
};
