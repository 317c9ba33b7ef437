#include "net/DatExchange.h"

#include "net/RawHttp.h"

#include <QDateTime>
#include <QLocale>

namespace {

// Where "bytes S-E/T" starts; -1 when the header is missing or unreadable.
qsizetype contentRangeStart(const QByteArray &value)
{
    if (!value.startsWith("bytes "))
        return -1;
    const qsizetype dash = value.indexOf('-', 6);
    bool ok = false;
    const qsizetype start = dash < 0 ? -1 : value.mid(6, dash - 6).trimmed().toLongLong(&ok);
    return ok ? start : -1;
}

// Seconds since the epoch of an HTTP date ("Sat, 01 Jun 2024 12:00:00 GMT"), or -1.
qint64 httpDateSeconds(const QByteArray &value)
{
    QDateTime t = QLocale::c().toDateTime(QString::fromLatin1(value.trimmed()),
                                          QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"));
    if (!t.isValid())
        return -1;
    t.setTimeSpec(Qt::UTC);
    return t.toSecsSinceEpoch();
}

// The reply's Last-Modified when it can tell a later change: it lies before the reply's Date.
QByteArray safeLastModified(const QByteArray &reply)
{
    const QByteArray lastModified = replyHeader(reply, "Last-Modified");
    const QByteArray date = replyHeader(reply, "Date");
    if (lastModified.isEmpty() || date.isEmpty())
        return lastModified;
    const qint64 modified = httpDateSeconds(lastModified);
    return modified >= 0 && modified < httpDateSeconds(date) ? lastModified : QByteArray();
}

} // namespace

DatExchange::DatExchange(HeldDat held, bool differential)
    : m_held(std::move(held))
{
    const QByteArray &body = m_held.body;
    if (!differential || body.isEmpty())
        return;
    // The line end before the last line (whether or not that line is complete yet), or the
    // start when the dat has a single line.
    const qsizetype before = body.size() >= 2 ? body.lastIndexOf('\n', body.size() - 2) : -1;
    m_rangeStart = qMax(qMax<qsizetype>(before, 0), body.size() - kMaxOverlap);
}

QByteArray DatExchange::requestLines() const
{
    if (!isDifferential())
        return QByteArray();
    QByteArray lines = "Range: bytes=" + QByteArray::number(m_rangeStart) + "-\r\n";
    if (!m_held.lastModified.isEmpty())
        lines += "If-Modified-Since: " + m_held.lastModified + "\r\n";
    return lines;
}

DatExchange::Outcome DatExchange::judge(const QByteArray &reply) const
{
    Outcome outcome;
    outcome.result = isDifferential() ? judgeRawReply(reply, {200, 206, 304, 416}) : judgeRawReply(reply, {200});
    if (!outcome.result.ok())
        return outcome;
    outcome.result.raw.clear(); // the caller holds the bytes that count, in held
    const int status = outcome.result.httpStatus;
    const QByteArray lastModified = safeLastModified(reply);
    const QByteArray body = reply.mid(replyBodyStart(reply));

    if (status == 200) {
        outcome.verdict = Verdict::Replace;
        outcome.held = {body, lastModified};
        return outcome;
    }
    outcome.held = m_held;
    if (status == 304) {
        if (!lastModified.isEmpty())
            outcome.held.lastModified = lastModified;
        outcome.verdict = Verdict::Unchanged;
        outcome.result.nothingNew = true;
        return outcome;
    }
    const QByteArray overlap = m_held.body.mid(m_rangeStart);
    const QByteArray range = replyHeader(reply, "Content-Range");
    if (status == 416 || (!range.isEmpty() && contentRangeStart(range) != m_rangeStart)
        || !body.startsWith(overlap)) {
        outcome.verdict = Verdict::FetchWhole;
        outcome.held = HeldDat();
        return outcome;
    }
    outcome.held.lastModified = lastModified;
    if (body.size() == overlap.size()) {
        outcome.verdict = Verdict::Unchanged;
        outcome.result.nothingNew = true;
        return outcome;
    }
    outcome.verdict = Verdict::Append;
    outcome.held.body += body.mid(overlap.size());
    outcome.held.lastModified = lastModified;
    return outcome;
}
