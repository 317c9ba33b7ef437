#include "net/DatConverter.h"

#include <QStringView>

namespace {

// Step 1 ends in CR LF line ends, and steps 3 and 4 split at CR LF CR LF and CR LF. None of the
// entity patterns or their replacements contain CR or LF, so working with LF alone gives the
// same fields and saves a pass that would double every line end.
void normaliseToLf(QString &text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

void replaceEntities(QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return;
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&\\t;"), QStringLiteral("  "));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
}

} // namespace

ResponseRecord convertDat(const QString &reply)
{
    QString text = reply;
    normaliseToLf(text);
    replaceEntities(text);

    QStringList numbers, names, times, bodies;
    const QStringView whole(text);
    const qsizetype headersEnd = whole.indexOf(u"\n\n");
    if (headersEnd >= 0) {
        QStringView dat = whole.mid(headersEnd + 2);
        const qsizetype nextEmpty = dat.indexOf(u"\n\n");
        if (nextEmpty >= 0)
            dat = dat.left(nextEmpty);
        const qsizetype lineCount = dat.count(QLatin1Char('\n'));
        numbers.reserve(lineCount + 1);
        names.reserve(lineCount + 1);
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
            times.append(fields[2].toString());
            bodies.append(fields[3].toString());
        }
    }
    numbers.append(QString());
    names.append(QString());
    times.append(QString());
    bodies.append(QString());

    ResponseRecord record;
    record.assign(std::move(numbers), std::move(names), std::move(times), std::move(bodies));
    return record;
}
