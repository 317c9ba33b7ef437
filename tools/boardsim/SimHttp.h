#pragma once
// The simulator's replies on the wire: status line and headers, and the answers to range and
// conditional requests for the files that carry a modification time (the dat files).

#include <QByteArray>
#include <QString>

struct SimReply
{
    int status = 200;
    QByteArray contentType = QByteArrayLiteral("text/html; charset=Shift_JIS");
    QByteArray location;
    QByteArray body;
    qint64 lastModifiedMs = -1;  // sent as Last-Modified, and enables ranges and 304
    QByteArray contentRange;     // "bytes S-E/T" of a 206
};

QByteArray reasonPhrase(int status);
// A page (HTML) or a text file, encoded in CP932.
SimReply htmlReply(int status, const QString &page);
SimReply textReply(const QString &text);

// Status line, Date, Server, Content-Type, Content-Length, Last-Modified, Content-Range,
// Location, "Connection: close", then the body (not for HEAD).
QByteArray serialiseReply(const SimReply &reply, bool headOnly, qint64 nowMs);

// How the server treats "Range" on a file with a modification time.
enum class RangeHandling {
    Honour,   // 206 from the offset asked for, 416 past the end; 304 to If-Modified-Since
    Ignore,   // 200 with the whole file, whatever was asked
    Misplace, // 206 whose bytes start one after the offset asked for, labelled as asked
};

// The reply to a GET with the request head given, for a file whose whole reply is `whole`:
// 304 when If-Modified-Since is not before its Last-Modified (seconds), 206 / 416 for
// "Range: bytes=S-" or "bytes=S-E", the whole reply otherwise. Replies without a
// modification time, or with a status other than 200, go out as they are.
SimReply answerRange(const SimReply &whole, const QByteArray &head, RangeHandling handling);
