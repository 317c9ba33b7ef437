// A saved dat file loaded for the replay, its rows for the start-time dialog, and the time
// reading of its date fields.
#include "FuzzSupport.h"

#include "replay/PastLog.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const QString path = fuzz::scratchFile(bytes);

    PastLog log;
    const QStringList rows = log.listPastLogTimes(path);
    for (const QString &row : rows)
        fuzz::keep(log.parseResTime(row));

    log.beginLoad();
    log.loadPastLogFile(path);
    log.loadPastLogFile(path); // a second file appends after the first
    const qsizetype n = log.lngDatResCount;
    if (log.strDatResNo.size() != n || log.strDatResTime.size() != n
        || log.strDatResName.size() != n || log.strDatRes.size() != n || n != 2 * rows.size())
        abort();
    for (qsizetype i = 0; i < n; ++i) {
        const QString &time = log.strDatResTime.at(i);
        if (time.isEmpty())
            continue;
        const qsizetype first = log.firstIndexOfTime(time);
        if (first < 0 || first > i || log.strDatResTime.at(first) != time)
            abort();
    }
    fuzz::keep(log.countLabelText());

    const QString text = fuzz::text(data, size);
    fuzz::keep(decodePastLogEntities(text));
    fuzz::keep(secondsOfDay(text).value_or(0));
    return 0;
}
