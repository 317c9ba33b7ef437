#include "replay/DatFileList.h"

#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

QStringList datFileNames(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    QDir dir(platform::normalisePath(folder));
    // Exact name order, as a file list sorts: no locale, no case folding, so the order is the
    // same on every machine.
    QStringList names = dir.entryList({QStringLiteral("*.dat")}, QDir::Files | QDir::Hidden, QDir::NoSort);
    std::sort(names.begin(), names.end());
    return names;
}

QString datFilePath(const QString &folder, const QString &name)
{
    QString f = platform::normalisePath(folder);
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    return f + name;
}

QString defaultDatFolder()
{
    const QString playdat = platform::programPath(QStringLiteral("playdat"));
    if (QFileInfo(playdat).isDir())
        return playdat;
    return QDir::currentPath();
}

QStringList fileDialogFilters(const QString &commonDialogFilter)
{
    const QStringList pieces = commonDialogFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        const QString description = pieces.at(i);
        QString patterns = pieces.at(i + 1);
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << description + QStringLiteral(" (") + patterns.trimmed() + QLatin1Char(')');
    }
    return filters;
}
