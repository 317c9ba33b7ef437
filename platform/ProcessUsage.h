#pragma once
// What a process costs the machine, read from /proc: CPU time spent (user + system, every
// thread), resident set size and proportional set size. The benchmark harness samples these
// around a measured interval; the parsers take the files' text so they can be checked without
// a live process.

#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <sys/types.h>

namespace platform {

struct ProcessUsage
{
    double cpuSeconds = 0; // user + system since the process started
    qint64 rssKb = 0;      // VmRSS
    qint64 pssKb = 0;      // Pss of smaps_rollup; 0 when the kernel does not offer it
};

// utime + stime of a /proc/<pid>/stat line, in seconds (ticksPerSecond: sysconf(_SC_CLK_TCK)).
// The command name (field 2) may hold blanks and parentheses, so fields are counted after its
// last ")". nullopt for text that is not a stat line.
std::optional<double> cpuSecondsFromStat(const QByteArray &stat, long ticksPerSecond);
// Parent pid (field 4) of a stat line, for walking a process tree.
std::optional<pid_t> parentFromStat(const QByteArray &stat);
// The value in kB of a "Key:   1234 kB" line of /proc/<pid>/status or smaps_rollup.
std::optional<qint64> kilobytesField(const QByteArray &text, const QByteArray &key);

// Reads the three figures of a process (0 for the calling one). nullopt when it is gone.
std::optional<ProcessUsage> readProcessUsage(pid_t pid = 0);

// CPU seconds of the calling process, finer than /proc's ticks (getrusage).
double selfCpuSeconds();

} // namespace platform
