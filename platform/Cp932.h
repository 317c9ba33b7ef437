#pragma once
// Text on disk and on the wire is CP932 (Japanese Windows code page). Everything inside the
// program is QString; these are the only two crossings.

#include <QByteArray>
#include <QString>

namespace platform {

// Decodes CP932 bytes. Undecodable bytes become U+FFFD; decoding never fails.
QString decodeCp932(const QByteArray &bytes);

// Encodes to CP932. Characters CP932 cannot hold become "?".
QByteArray encodeCp932(const QString &text);

} // namespace platform
