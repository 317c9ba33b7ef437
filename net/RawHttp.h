#pragma once
// The program's own HTTP/1.0 exchange, without I/O: the two request texts, the verdict on a
// reply once the server has closed, and the servers that refuse the exact request.
//
// The exact request carries the header line "Accept -Encoding: gzip" (a blank before the
// hyphen). Strict servers answer 400 to a header name containing a blank; for them the same
// request is sent once more without that line (the "conforming" form), and the server is
// remembered so later fetches send the conforming form first.

#include "net/FetchResult.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

// "GET " + path + " HTTP/1.0" and the fixed header lines, CR LF each, then an empty line.
// extraLines (each ended by CR LF) go just before the empty line: the exact request of a first
// fetch has none.
QByteArray buildGetRequest(const QString &path, const QString &strSvr, bool conforming = false,
                           const QByteArray &extraLines = {});
QByteArray indexRequest(const QString &strSvr, const QString &strBan, bool conforming = false);
QByteArray datRequest(const QString &strSvr, const QString &strBan, const QString &strThreNo,
                      bool conforming = false);

// Offset of the body: just after the first empty line, whatever the line ends (CR LF, LF or CR
// alone); -1 when the headers never end.
qsizetype replyBodyStart(const QByteArray &reply);

// The status code of a reply starting "HTTP/x.y NNN", or -1.
int replyStatus(const QByteArray &reply);
// The value of the first header line called name (any case), trimmed; null when there is none.
// Only the header part (up to replyBodyStart) is searched.
QByteArray replyHeader(const QByteArray &reply, const QByteArray &name);

// Judges a whole reply (the server has closed). Success needs a status line "HTTP/x.y 200", the
// end of the headers and, when the headers give a Content-Length, at least that many body bytes.
// On success the whole reply is decoded from CP932 once.
FetchResult judgeReply(const QByteArray &reply);
// The same for a reply its caller reads as bytes: any status in accepted succeeds, with the
// reply in raw and no text (nothing is decoded).
FetchResult judgeRawReply(const QByteArray &reply, const QList<int> &accepted);

// True when a failed exact request should be sent once more in the conforming form.
inline bool shouldRetryConforming(const FetchResult &result, bool sentConforming)
{
    return !sentConforming && result.failure == FetchFailure::HttpStatus && result.httpStatus == 400;
}

// The servers ("host" or "host:port" as in strSvr) known to need the conforming request.
class ConformingServers
{
public:
    bool contains(const QString &strSvr) const { return m_servers.contains(strSvr); }
    void insert(const QString &strSvr) { m_servers.insert(strSvr); }

private:
    QSet<QString> m_servers;
};
