#pragma once
// Redirect answers to the program's own requests, without I/O. A 301, 302, 307 or 308 whose
// Location (absolute, or relative to the address asked) is an http or https address of the same
// file (the same last path segment) is followed with the same request, at most kMaxRedirects in
// a row. A Location naming another file (an error or notice page standing in for a dat or an
// index) is not followed: the fetch fails with the redirect's status, as any other status does,
// so such a page never becomes responses.

#include <QByteArray>
#include <QString>

// Where one request goes: over TLS or not, the server as the Host line names it ("host" or
// "host:port"), the path.
struct FetchPlace
{
    bool tls = false;
    QString server;
    QString path;

    // The server's own address form ("http://server" or "https://server").
    QString origin() const;
    bool operator==(const FetchPlace &o) const { return tls == o.tls && server == o.server && path == o.path; }
};

constexpr int kMaxRedirects = 3;

struct RedirectStep
{
    enum class Kind {
        None,     // not a redirect status: judge the reply as it is
        Follow,   // ask again at next
        TooMany,  // a fourth redirect in a row
        Bad,      // a redirect status without a Location that can be followed
        Elsewhere,// a Location naming another file: the redirect stays a failed fetch
    };
    Kind kind = Kind::None;
    FetchPlace next;
    // From http to https on the same host: the server needs TLS from now on.
    bool movedToTls = false;
};

// followed: redirects already followed for this request.
RedirectStep redirectStep(const QByteArray &reply, const FetchPlace &from, int followed);
