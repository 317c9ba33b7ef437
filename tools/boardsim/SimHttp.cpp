#include "SimHttp.h"

#include "SimTime.h"

#include "platform/Cp932.h"

#include <QDateTime>
#include <QList>
#include <QLocale>

namespace {

// A header's value in the request head (any case), trimmed; null when absent.
QByteArray requestHeader(const QByteArray &head, const QByteArray &name)
{
    for (const QByteArray &line : head.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name)
            return line.mid(colon + 1).trimmed();
    }
    return QByteArray();
}

qint64 parseHttpDateSeconds(const QByteArray &value)
{
    QDateTime t = QLocale::c().toDateTime(QString::fromLatin1(value), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"));
    if (!t.isValid())
        return -1;
    t.setTimeSpec(Qt::UTC);
    return t.toSecsSinceEpoch();
}

} // namespace

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 416: return "Range Not Satisfiable";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return status < 400 ? "Redirect" : "Error";
    }
}

SimReply htmlReply(int status, const QString &page)
{
    SimReply reply;
    reply.status = status;
    reply.body = platform::encodeCp932(page);
    return reply;
}

SimReply textReply(const QString &text)
{
    SimReply reply;
    reply.contentType = QByteArrayLiteral("text/plain; charset=Shift_JIS");
    reply.body = platform::encodeCp932(text);
    return reply;
}

QByteArray serialiseReply(const SimReply &reply, bool headOnly, qint64 nowMs)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    head += "Date: " + httpDate(nowMs).toLatin1() + "\r\n";
    head += "Server: boardsim\r\n";
    head += "Content-Type: " + reply.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    if (reply.lastModifiedMs >= 0)
        head += "Last-Modified: " + httpDate(reply.lastModifiedMs).toLatin1() + "\r\n";
    if (!reply.contentRange.isEmpty())
        head += "Content-Range: " + reply.contentRange + "\r\n";
    if (!reply.location.isEmpty())
        head += "Location: " + reply.location + "\r\n";
    head += "Connection: close\r\n\r\n";
    return headOnly ? head : head + reply.body;
}

SimReply answerRange(const SimReply &whole, const QByteArray &head, RangeHandling handling)
{
    if (whole.status != 200 || whole.lastModifiedMs < 0 || handling == RangeHandling::Ignore)
        return whole;
    const QByteArray since = requestHeader(head, "if-modified-since");
    if (!since.isEmpty()) {
        const qint64 seconds = parseHttpDateSeconds(since);
        if (seconds >= 0 && whole.lastModifiedMs / 1000 <= seconds) {
            SimReply reply = whole;
            reply.status = 304;
            reply.body.clear();
            return reply;
        }
    }
    const QByteArray range = requestHeader(head, "range");
    if (!range.startsWith("bytes=") || range.contains(','))
        return whole;
    const QList<QByteArray> ends = range.mid(6).split('-');
    bool ok = false;
    const qint64 from = ends.value(0).trimmed().toLongLong(&ok);
    if (ends.size() != 2 || !ok || from < 0)
        return whole;
    const qint64 size = whole.body.size();
    qint64 to = size - 1;
    if (!ends.at(1).trimmed().isEmpty())
        to = qMin(to, ends.at(1).trimmed().toLongLong(&ok));
    SimReply reply = whole;
    if (!ok || from >= size || to < from) {
        reply.status = 416;
        reply.body.clear();
        reply.contentRange = "bytes */" + QByteArray::number(size);
        return reply;
    }
    const qint64 start = handling == RangeHandling::Misplace ? qMin(from + 1, size) : from;
    reply.status = 206;
    reply.body = whole.body.mid(start, to - start + 1);
    reply.contentRange = "bytes " + QByteArray::number(from) + "-" + QByteArray::number(to) + "/" + QByteArray::number(size);
    return reply;
}
