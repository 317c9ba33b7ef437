#pragma once
// Whole-file text reading and writing in CP932 with CR LF line ends. Each call opens and closes
// its file; nothing is cached.

#include "platform/AtomicFile.h"

#include <QString>
#include <QStringList>
#include <functional>

using platform::Durability;

// Defaults of settings lines 6 to 8 are the font dialog's initial selections. The font dialog
// installs a provider; until then these lines default to "-1" (no selection).
enum class FontDialogList { Font = 6, Size = 7, Colour = 8 };
using FontSelectionProvider = std::function<int(FontDialogList)>;
void setFontSelectionProvider(FontSelectionProvider provider);

// Line n (from 1) of the file, or its default when the line is missing or empty; n = 0 joins
// every line without separators. A file that cannot be opened gives the empty text.
QString readFileLine(const QString &path, int n);

// Refills two parallel lists from "label--address" lines, stopping at the first blank line.
// Returns the last line read (empty on failure). A line without "--" ends reading without
// adding a label, so the lists stay parallel.
QString readListFile(const QString &path, QStringList &first, QStringList &second);

// The whole file, every line followed by CR LF. Empty for a missing file.
QString readFileAll(const QString &path);

// Deletes the file; every failure is ignored.
void removeFile(const QString &path);

// Writes text in CP932, replacing the file atomically (temporary file in the same folder, then
// rename), so a crash mid-write never leaves a half-written file. Returns false on failure.
// Durability::None skips the flush to the disk: for generated pages rewritten every cycle.
bool writeFileText(const QString &text, const QString &path,
                   Durability durability = Durability::Synced);
