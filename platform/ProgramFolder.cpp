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

// An installed program (cmake --install, the package) finds its desktop entry beside its bin
// folder. Its folder holds no settings even when writable: root's /usr/bin, or ~/.local/bin.
bool isInstalledProgram(const QString &exeDir)
{
#ifdef KESTRELON_INSTALLED_MARKER
    return QFileInfo::exists(exeDir + QStringLiteral("/" KESTRELON_INSTALLED_MARKER));
#else
    Q_UNUSED(exeDir);
    return false;
#endif
}

QString resolveFolder()
{
    const QString fromEnv = qEnvironmentVariable("KESTRELON_HOME");
    if (!fromEnv.isEmpty())
        return fromEnv;
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        if (isWritableFolder(exeDir) && !isInstalledProgram(exeDir))
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

} // namespace platform
