#pragma once
// How a fetch ended: the reply's text, or why there is none.

#include <QByteArray>
#include <QString>

enum class FetchFailure {
    None,
    InvalidServer,   // the server text cannot be connected to (empty host, bad port)
    Refused,         // connection refused
    HostNotFound,
    TimedOut,        // no complete reply within the network time-out
    ClosedEarly,     // the server closed before the reply was complete (or sent nothing)
    BadReply,        // the reply does not start with an HTTP status line
    HttpStatus,      // a status other than 200
    ConnectionError, // any other socket error
    Superseded,      // closed by the program because a newer fetch took the socket
    TooLarge,        // the reply grew past what any page of the service can be
    NoResponses,     // a dat reply without a single response line
    TlsHandshake,    // the TLS handshake failed (plain text on the port, no common protocol ...)
    CertificateUntrusted,    // the server's certificate chains to no trusted certificate
    CertificateExpired,      // the server's certificate has expired or is not valid yet
    CertificateHostMismatch, // the server's certificate names another host
    TooManyRedirects,        // a fourth redirect in a row
    BadRedirect,             // a redirect without an http or https Location
    Unwritable,      // the page arrived but could not be stored in its file
};

struct FetchResult
{
    FetchFailure failure = FetchFailure::None;
    int httpStatus = 0;   // status of the reply, when one was read
    QString text;         // the whole reply, headers included, decoded once (success only)
    QString detail;       // socket error text or similar, for the reason
    // Success that brought nothing new: the server answered 304 (not modified), or its range
    // held no byte after those already held. The record stays as it was.
    bool nothingNew = false;
    // The reply's bytes as received, headers included, for a fetch that reads them itself (a
    // thread's dat, see net/DatExchange.h); text stays empty then.
    QByteArray raw;

    bool ok() const { return failure == FetchFailure::None; }

    // A short English reason for logs and tests ("refused", "HTTP status 404", ...).
    QString reason() const;

    static FetchResult success(int status, QString text)
    {
        FetchResult result;
        result.httpStatus = status;
        result.text = std::move(text);
        return result;
    }
    static FetchResult failed(FetchFailure failure, QString detail = QString(), int status = 0)
    {
        FetchResult result;
        result.failure = failure;
        result.detail = std::move(detail);
        result.httpStatus = status;
        return result;
    }
};
