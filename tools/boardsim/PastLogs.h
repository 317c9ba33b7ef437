#pragma once
// Saved dat files of a finished live thread and the part that continued it, with per-second
// timestamps in the rhythm of a broadcast (lulls, then bursts at the big moments), for replay.

#include <QString>
#include <QStringList>

// Writes "<key>.dat" files into dir (created when missing). Links in the bodies point at
// 127.0.0.1:port. Returns the paths written, oldest thread first; empty on a write failure.
QStringList writePastLogs(const QString &dir, int port, quint32 seed, QString *error);
