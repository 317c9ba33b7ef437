#include "net/ThreadIndex.h"

#include "net/ThreadSummary.h"

#include <QDateTime>

QString normaliseIndexLineEnds(const QString &text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    out.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return out;
}

ThreadIndexListing listThreadIndex(const QString &reply, const QString &strSvr,
                                   const QString &strBan, std::optional<qint64> nowSeconds)
{
    ThreadIndexListing listing;
    const QLatin1String lineEnd("\r\n");
    const qsizetype headerEnd = reply.indexOf(QLatin1String("\r\n\r\n"));
    if (headerEnd < 0)
        return listing;
    const QString body = reply.mid(headerEnd + 4);

    QStringList lines = body.split(lineEnd);
    lines.removeLast(); // the text after the final line end
    const QString prefix = QLatin1String("http://") + strSvr + QLatin1String("/test/read.cgi/")
        + strBan + QLatin1Char('/');
    for (const QString &line : std::as_const(lines)) {
        const QStringList fields = line.split(QLatin1String("<>"));
        if (fields.size() < 2)
            continue;
        QString datName = fields.at(0);
        datName.replace(QLatin1String(".dat"), QLatin1String("/l50"));
        listing.entries << QString::number(listing.entries.size() + 1) + QLatin1String(": ")
                + fields.at(1);
        listing.addresses << prefix + datName;
    }
    const qint64 now = nowSeconds.value_or(QDateTime::currentSecsSinceEpoch());
    for (qsizetype i = 0; i < listing.entries.size(); ++i)
        listing.momentum << momentumPerHour(summariseThread(listing.entries.at(i), listing.addresses.at(i)), now);
    return listing;
}
