#pragma once
// The past-log folder as the file list fileListDat shows it, and the file dialog's filter text.

#include <QString>
#include <QStringList>

// Names of the "*.dat" files of folder, in name order (no folders, hidden files included).
// Empty when the folder cannot be read.
QStringList datFileNames(const QString &folder);

// folder + "/" + name; a folder given with "\" separators still works.
QString datFilePath(const QString &folder, const QString &name);

// The folder fileListDat starts at: "playdat" in the program folder when it exists, otherwise
// the working folder.
QString defaultDatFolder();

// A filter of the form "description|pattern;pattern|description|pattern|" as a file dialog
// filter list: "description (pattern pattern)" per pair. A trailing unpaired piece is dropped.
QStringList fileDialogFilters(const QString &commonDialogFilter);
