#include "net/RawHttp.h"

#include "net/ThreadAddress.h"
#include "platform/Cp932.h"

#include <QList>

QByteArray buildGetRequest(const QString &path, const QString &strSvr, bool conforming,
                           const QByteArray &extraLines)
{
    QString request = QStringLiteral("GET ") + path + QStringLiteral(" HTTP/1.0\r\n")
        + QStringLiteral("Host: ") + strSvr + QStringLiteral("\r\n")
        + QStringLiteral("User-Agent: Monazilla/1.00 (test/1.0)\r\n")
        + QStringLiteral("Accept: */*\r\n")
        + QStringLiteral("Accept-Language: ja\r\n");
    if (!conforming)
        request += QStringLiteral("Accept -Encoding: gzip\r\n");
    request += QStringLiteral("Connection: Close\r\n");
    return platform::encodeCp932(request) + extraLines + "\r\n";
}

QByteArray indexRequest(const QString &strSvr, const QString &strBan, bool conforming)
{
    return buildGetRequest(indexRequestPath(strBan), strSvr, conforming);
}

QByteArray datRequest(const QString &strSvr, const QString &strBan, const QString &strThreNo, bool conforming)
{
    return buildGetRequest(datRequestPath(strBan, strThreNo), strSvr, conforming);
}

qsizetype replyBodyStart(const QByteArray &reply)
{
    const qsizetype n = reply.size();
    // Length of the line end at i (CR LF, LF or CR), 0 when there is none.
    auto lineEndAt = [&](qsizetype i) -> qsizetype {
        if (i >= n)
            return 0;
        if (reply[i] == '\r')
            return (i + 1 < n && reply[i + 1] == '\n') ? 2 : 1;
        return reply[i] == '\n' ? 1 : 0;
    };
    qsizetype i = 0;
    while (i < n) {
        const qsizetype end = lineEndAt(i);
        if (end == 0) {
            ++i;
            continue;
        }
        const qsizetype next = lineEndAt(i + end);
        if (next > 0)
            return i + end + next;
        i += end;
    }
    return -1;
}

int replyStatus(const QByteArray &reply)
{
    qsizetype lineEnd = reply.indexOf('\n');
    const qsizetype cr = reply.indexOf('\r');
    if (cr >= 0 && (lineEnd < 0 || cr < lineEnd))
        lineEnd = cr;
    const QByteArray line = lineEnd < 0 ? reply : reply.left(lineEnd);
    if (!line.startsWith("HTTP/"))
        return -1;
    const QList<QByteArray> parts = line.simplified().split(' ');
    if (parts.size() < 2 || parts[1].size() != 3)
        return -1;
    bool ok = false;
    const int code = parts[1].toInt(&ok);
    return ok ? code : -1;
}

QByteArray replyHeader(const QByteArray &reply, const QByteArray &name)
{
    const qsizetype bodyStart = replyBodyStart(reply);
    QByteArray headers = bodyStart < 0 ? reply : reply.left(bodyStart);
    headers.replace('\r', '\n');
    const QByteArray wanted = name.toLower();
    for (const QByteArray &line : headers.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == wanted)
            return line.mid(colon + 1).trimmed();
    }
    return QByteArray();
}

namespace {

// The verdict on the reply's form: status accepted, headers ended, body complete.
FetchResult judgeForm(const QByteArray &reply, const QList<int> &accepted)
{
    if (reply.isEmpty())
        return FetchResult::failed(FetchFailure::ClosedEarly, QStringLiteral("empty reply"));
    const int status = replyStatus(reply);
    if (status < 0)
        return FetchResult::failed(FetchFailure::BadReply);
    if (!accepted.contains(status))
        return FetchResult::failed(FetchFailure::HttpStatus, QString(), status);
    const qsizetype bodyStart = replyBodyStart(reply);
    if (bodyStart < 0)
        return FetchResult::failed(FetchFailure::ClosedEarly, QStringLiteral("headers never ended"), status);
    bool ok = false;
    const qint64 expected = replyHeader(reply, "Content-Length").toLongLong(&ok);
    if (ok && expected >= 0 && reply.size() - bodyStart < expected)
        return FetchResult::failed(FetchFailure::ClosedEarly,
                                   QStringLiteral("%1 of %2 body bytes").arg(reply.size() - bodyStart).arg(expected),
                                   status);
    return FetchResult::success(status, QString());
}

} // namespace

FetchResult judgeReply(const QByteArray &reply)
{
    FetchResult result = judgeForm(reply, {200});
    if (result.ok())
        result.text = platform::decodeCp932(reply);
    return result;
}

FetchResult judgeRawReply(const QByteArray &reply, const QList<int> &accepted)
{
    FetchResult result = judgeForm(reply, accepted);
    if (result.ok())
        result.raw = reply;
    return result;
}
