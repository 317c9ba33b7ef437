#include "net/DatConverter.h"

#include <QStringView>

#include <algorithm>

namespace {

// The conversion makes every line end CR LF and then splits at CR LF CR LF (headers) and at
// CR LF (lines). None of the entity patterns or their replacements contain CR or LF, so working
// with LF alone gives the same fields and saves a pass that would double every line end.
void normaliseToLf(QString &text)
{
    if (!text.contains(QLatin1Char('\r')))
        return;
    // One pass in place: CR LF becomes LF, a lone CR becomes LF.
    QChar *out = text.data();
    const QChar *in = out;
    const QChar *end = in + text.size();
    while (in != end) {
        if (*in == QLatin1Char('\r')) {
            *out++ = QLatin1Char('\n');
            ++in;
            if (in != end && *in == QLatin1Char('\n'))
                ++in;
        } else {
            *out++ = *in++;
        }
    }
    text.truncate(out - text.constData());
}

// Every occurrence of from, left to right, without rescanning what was put in; to is never longer
// than from, so the text is rewritten in place in one pass. (QString::replace moves the tail of
// the text once per batch of matches, which makes a long dat with many entities cost more than
// linear.)
void replaceShrinking(QString &text, QStringView from, QStringView to)
{
    Q_ASSERT(to.size() <= from.size());
    qsizetype hit = QStringView(text).indexOf(from);
    if (hit < 0)
        return;
    QChar *data = text.data();
    qsizetype write = hit;
    qsizetype read = hit;
    while (hit >= 0) {
        if (write != read)
            std::copy(data + read, data + hit, data + write);
        write += hit - read;
        std::copy(to.begin(), to.end(), data + write);
        write += to.size();
        read = hit + from.size();
        hit = QStringView(text).indexOf(from, read);
    }
    const qsizetype size = text.size();
    std::copy(data + read, data + size, data + write);
    text.truncate(write + (size - read));
}

void replaceEntities(QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return;
    replaceShrinking(text, u"&amp;", u"&");
    replaceShrinking(text, u"&lt;", u"<");
    replaceShrinking(text, u"&gt;", u">");
    replaceShrinking(text, u"&\\t;", u"  ");
    replaceShrinking(text, u"&quot;", u"\"");
    replaceShrinking(text, u"&nbsp;", u" ");
}

} // namespace

namespace {

// Steps 4 and 5 on the dat lines (LF line ends, entities replaced), up to an empty line.
ResponseRecord convertLines(QStringView dat)
{
    QStringList numbers, names, mails, times, bodies;
    const qsizetype nextEmpty = dat.indexOf(u"\n\n");
    if (nextEmpty >= 0)
        dat = dat.left(nextEmpty);
    const qsizetype lineCount = dat.count(QLatin1Char('\n'));
    numbers.reserve(lineCount + 1);
    names.reserve(lineCount + 1);
    mails.reserve(lineCount + 1);
    times.reserve(lineCount + 1);
    bodies.reserve(lineCount + 1);

    qsizetype pos = 0;
    for (qsizetype i = 0; i < lineCount; ++i) {
        const qsizetype end = dat.indexOf(QLatin1Char('\n'), pos);
        const QStringView line = dat.mid(pos, end - pos);
        pos = end + 1;

        QStringView fields[4];
        qsizetype fieldStart = 0;
        for (int f = 0; f < 4; ++f) {
            const qsizetype sep = line.indexOf(u"<>", fieldStart);
            fields[f] = line.mid(fieldStart, sep < 0 ? line.size() - fieldStart : sep - fieldStart);
            if (sep < 0)
                break;
            fieldStart = sep + 2;
        }
        numbers.append(QString::number(i + 1));
        names.append(fields[0].toString());
        mails.append(fields[1].toString());
        times.append(fields[2].toString());
        bodies.append(fields[3].toString());
    }
    numbers.append(QString());
    names.append(QString());
    mails.append(QString());
    times.append(QString());
    bodies.append(QString());

    ResponseRecord record;
    record.assign(std::move(numbers), std::move(names), std::move(times), std::move(bodies));
    record.setMails(std::move(mails));
    return record;
}

} // namespace

ResponseRecord convertDat(const QString &reply)
{
    QString text = reply;
    normaliseToLf(text);
    replaceEntities(text);
    const QStringView whole(text);
    const qsizetype headersEnd = whole.indexOf(u"\n\n");
    // Without the headers' end there are no dat lines: only the empty trailing element.
    return convertLines(headersEnd >= 0 ? whole.mid(headersEnd + 2) : QStringView());
}

ResponseRecord convertDatBody(const QString &body)
{
    QString text = body;
    normaliseToLf(text);
    replaceEntities(text);
    return convertLines(text);
}
