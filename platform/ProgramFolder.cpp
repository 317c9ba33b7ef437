#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

QString &currentFolder()
{
    static QString folder;
    return folder;
}

bool isWritableFolder(const QString &path)
{
    QFileInfo info(path);
    return !path.isEmpty() && info.isDir() && info.isWritable();
}

QString resolveFolder()
{
    const QString fromEnv = qEnvironmentVariable("KESTRELON_HOME");
    if (!fromEnv.isEmpty())
        return fromEnv;
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        if (isWritableFolder(exeDir))
            return exeDir;
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data + QStringLiteral("/kestrelon");
}

} // namespace

QString normalisePath(const QString &path)
{
    QString result = path;
    result.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return result;
}

void setProgramFolder(const QString &folder)
{
    QString clean = QDir::cleanPath(QDir(normalisePath(folder)).absolutePath());
    QDir().mkpath(clean);
    currentFolder() = clean;
}

QString programFolder()
{
    if (currentFolder().isEmpty())
        setProgramFolder(resolveFolder());
    return currentFolder();
}

QString programPath(const QString &name)
{
    QString relative = normalisePath(name);
    while (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    return programFolder() + QLatin1Char('/') + relative;
}

QString resourceFolder()
{
    QStringList candidates;
    const QString fromEnv = qEnvironmentVariable("KESTRELON_RESOURCES");
    if (!fromEnv.isEmpty())
        candidates << fromEnv;
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        candidates << exeDir + QStringLiteral("/res") << exeDir + QStringLiteral("/../res")
                   << exeDir + QStringLiteral("/../share/kestrelon/res");
    }
#ifdef KESTRELON_SOURCE_RES
    candidates << QStringLiteral(KESTRELON_SOURCE_RES);
#endif
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    return QString();
}

} // namespace platform
