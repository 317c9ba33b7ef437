#include "replay/PastLog.h"

#include "core/TextStore.h"

#include <QRegularExpression>

namespace {

const QString kFieldSeparator = QStringLiteral("<>");
const QString kLineEnd = QStringLiteral("\r\n");

// The lines of a past-log file: the whole text with entities decoded, split at CR LF; the piece
// after the final CR LF is empty and is not a line.
QStringList pastLogLines(const QString &path)
{
    const QString text = decodePastLogEntities(readFileAll(path));
    QStringList lines = text.split(kLineEnd);
    lines.removeLast();   // split always yields at least one piece; the last follows the final CR LF
    return lines;
}

QString field(const QStringList &fields, int n)
{
    return n < fields.size() ? fields.at(n) : QString();
}

} // namespace

std::optional<qint64> secondsOfDay(const QString &dateField)
{
    static const QRegularExpression time(QStringLiteral("(\\d+):(\\d+):(\\d+)"));
    const QRegularExpressionMatch match = time.match(dateField);
    if (!match.hasMatch())
        return std::nullopt;
    // Groups of many digits would overflow; seconds of the day need at most a few.
    const qint64 h = match.captured(1).left(9).toLongLong();
    const qint64 m = match.captured(2).left(9).toLongLong();
    const qint64 s = match.captured(3).left(9).toLongLong();
    return h * 3600 + m * 60 + s;
}

QString decodePastLogEntities(QString text)
{
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&\\t;"), QStringLiteral("  "));   // a real backslash, then "t"
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    return text;
}

void PastLog::beginLoad()
{
    clearEntries();
}

void PastLog::clearEntries()
{
    lngDatResCount = 0;
    strDatResNo.clear();
    strDatResTime.clear();
    strDatResName.clear();
    strDatRes.clear();
    strDatResMail.clear();
    strDatResDate.clear();
    m_firstIndexOfTime.clear();
}

void PastLog::loadPastLogFile(const QString &path)
{
    const QStringList lines = pastLogLines(path);
    for (const QString &line : lines)
        appendDatLine(line);
}

void PastLog::appendDatLine(const QString &line)
{
    // Lines with fewer than four fields (a blank line inside a file) are loaded with empty
    // fields: they keep their number, so numbers still count lines, and never match a second.
    const QStringList fields = line.split(kFieldSeparator);
    const QString time = parseResTime(field(fields, 2));
    strDatResName.append(field(fields, 0));
    strDatResTime.append(time);
    strDatRes.append(field(fields, 3));
    strDatResMail.append(field(fields, 1));
    strDatResDate.append(field(fields, 2));
    strDatResNo.append(QString::number(lngDatResCount + 1));
    if (!time.isEmpty() && !m_firstIndexOfTime.contains(time))
        m_firstIndexOfTime.insert(time, lngDatResCount);
    ++lngDatResCount;
}

QStringList PastLog::listPastLogTimes(const QString &path)
{
    lngStartSeconds = 0;
    clearEntries();
    QStringList rows;
    const QStringList lines = pastLogLines(path);
    rows.reserve(lines.size());
    for (const QString &line : lines)
        rows.append(field(line.split(kFieldSeparator), 2));
    return rows;
}

QString PastLog::parseResTime(const QString &dateField)
{
    const std::optional<qint64> s = secondsOfDay(dateField);
    if (!s)
        return QString();
    if (lngStartSeconds == 0) {
        lngStartSeconds = *s;
        return QStringLiteral("0");
    }
    return QString::number(*s - lngStartSeconds);
}

QString PastLog::countLabelText() const
{
    return QStringLiteral("レス数：") + QString::number(lngDatResCount);
}
