#include "platform/ProcessUsage.h"

#include <QFile>
#include <QList>

#include <sys/resource.h>
#include <unistd.h>

namespace platform {

namespace {

// Fields after the command name: index 0 is field 3 (state).
std::optional<QList<QByteArray>> fieldsAfterName(const QByteArray &stat)
{
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0 || stat.indexOf('(') < 0)
        return std::nullopt;
    return stat.mid(close + 1).simplified().split(' ');
}

QByteArray readProcFile(pid_t pid, const char *name)
{
    const QString path = pid == 0 ? QStringLiteral("/proc/self/%1").arg(QLatin1String(name))
                                  : QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // /proc files report size 0: read until the end rather than by size.
    return file.readAll();
}

} // namespace

std::optional<double> cpuSecondsFromStat(const QByteArray &stat, long ticksPerSecond)
{
    const auto fields = fieldsAfterName(stat);
    // utime and stime are fields 14 and 15: indexes 11 and 12 after the name.
    if (!fields || fields->size() < 13 || ticksPerSecond <= 0)
        return std::nullopt;
    bool okUser = false, okSystem = false;
    const qint64 user = fields->at(11).toLongLong(&okUser);
    const qint64 system = fields->at(12).toLongLong(&okSystem);
    if (!okUser || !okSystem)
        return std::nullopt;
    return double(user + system) / double(ticksPerSecond);
}

std::optional<pid_t> parentFromStat(const QByteArray &stat)
{
    const auto fields = fieldsAfterName(stat);
    if (!fields || fields->size() < 2)
        return std::nullopt;
    bool ok = false;
    const int parent = fields->at(1).toInt(&ok);
    return ok ? std::optional<pid_t>(parent) : std::nullopt;
}

std::optional<qint64> kilobytesField(const QByteArray &text, const QByteArray &key)
{
    for (const QByteArray &line : text.split('\n')) {
        if (!line.startsWith(key) || line.size() <= key.size() || line.at(key.size()) != ':')
            continue;
        const QList<QByteArray> parts = line.mid(key.size() + 1).simplified().split(' ');
        bool ok = false;
        const qint64 value = parts.value(0).toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        const QByteArray unit = parts.value(1).toLower();
        if (unit.isEmpty() || unit == "kb")
            return value;
        if (unit == "mb")
            return value * 1024;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<ProcessUsage> readProcessUsage(pid_t pid)
{
    const QByteArray stat = readProcFile(pid, "stat");
    const auto cpu = cpuSecondsFromStat(stat, sysconf(_SC_CLK_TCK));
    if (!cpu)
        return std::nullopt;
    ProcessUsage usage;
    usage.cpuSeconds = *cpu;
    usage.rssKb = kilobytesField(readProcFile(pid, "status"), "VmRSS").value_or(0);
    usage.pssKb = kilobytesField(readProcFile(pid, "smaps_rollup"), "Pss").value_or(0);
    return usage;
}

double selfCpuSeconds()
{
    rusage usage = {};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
    auto seconds = [](const timeval &tv) { return double(tv.tv_sec) + double(tv.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace platform
