#include "SimTime.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

namespace {

QDateTime japanTime(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs, QTimeZone(9 * 3600));
}

} // namespace

QString formatPostTime(qint64 msecsSinceEpoch)
{
    static const QString weekdays = QStringLiteral("月火水木金土日");
    const QDateTime t = japanTime(msecsSinceEpoch);
    const int centis = int((msecsSinceEpoch % 1000 + 1000) % 1000 / 10);
    return t.toString(QStringLiteral("yyyy/MM/dd")) + QLatin1Char('(')
        + weekdays.at(t.date().dayOfWeek() - 1) + QLatin1Char(')') + QLatin1Char(' ')
        + t.toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('.')
        + QStringLiteral("%1").arg(centis, 2, 10, QLatin1Char('0'));
}

QString formatDateField(qint64 msecsSinceEpoch, const QString &id)
{
    return formatPostTime(msecsSinceEpoch) + QStringLiteral(" ID:") + id;
}

QString httpDate(qint64 msecsSinceEpoch)
{
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch, QTimeZone::utc());
    return QLocale::c().toString(t, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss")) + QStringLiteral(" GMT");
}
