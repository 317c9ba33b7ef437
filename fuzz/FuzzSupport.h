#pragma once
// What every fuzz target shares: the input decoded as the program decodes real input, input
// split into several fields, a scratch file for the readers that take a path, and a quiet,
// hermetic process (temporary program folder, built-in service configuration).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

namespace fuzz {

// Once per process, from LLVMFuzzerInitialize: a QCoreApplication, a temporary program folder,
// the default service configuration, Qt's messages silenced.
void initialise();

QByteArray bytes(const uint8_t *data, size_t size);
// The input bytes decoded from CP932, like a reply or a file.
QString text(const uint8_t *data, size_t size);

// The decoded input cut at every U+0001 into at least n fields (missing ones empty), so one
// input can drive several arguments.
QStringList fields(const QString &text, int n);

// Writes the bytes to one scratch file in the temporary folder (replaced each call) and
// returns its path.
QString scratchFile(const QByteArray &content);

// Uses a value so the optimiser keeps the call that produced it.
void keep(const QString &value);
void keep(qint64 value);

} // namespace fuzz
