#pragma once
// Times of the simulated board: milliseconds since the epoch, shown in Japan time (UTC+9, no
// daylight saving) the way the service writes them.

#include <QString>
#include <QtGlobal>

// "2024/05/01(水) 21:00:03.41": date, weekday, time with centiseconds.
QString formatPostTime(qint64 msecsSinceEpoch);

// The date-and-ID field of a response: formatPostTime + " ID:" + id.
QString formatDateField(qint64 msecsSinceEpoch, const QString &id);

// "Wed, 01 May 2024 12:00:03 GMT" for the Date header.
QString httpDate(qint64 msecsSinceEpoch);
