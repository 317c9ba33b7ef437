#pragma once
// How a fetch ended: the reply's text, or why there is none.

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
};

struct FetchResult
{
    FetchFailure failure = FetchFailure::None;
    int httpStatus = 0;   // status of the reply, when one was read
    QString text;         // the whole reply, headers included, decoded once (success only)
    QString detail;       // socket error text or similar, for the reason

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
