#pragma once
// Replacing a whole file atomically: the bytes go to a temporary file beside the target, which
// is then renamed over it, so a reader (or a crash) sees either the old file or the new one.

#include <QByteArray>
#include <QString>

namespace platform {

enum class Durability {
    // Flushed to the disk before the rename: survives a power cut (settings, favourites).
    Synced,
    // No flush to the disk: still atomic for readers, but a power cut may lose the new file.
    // For pages and downloads that are regenerated every cycle, where an fsync costs
    // milliseconds on a busy disk and buys nothing.
    None,
};

// Writes bytes to path, replacing any file there. On failure the old file is left as it was
// and no temporary file remains; errorText (when given) receives the reason.
bool replaceFile(const QString &path, const QByteArray &bytes, Durability durability,
                 QString *errorText = nullptr);

} // namespace platform
