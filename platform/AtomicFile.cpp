#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace platform {

namespace {

bool fail(QString *errorText, const QString &reason)
{
    if (errorText)
        *errorText = reason;
    return false;
}

bool replaceSynced(const QString &path, const QByteArray &bytes, QString *errorText)
{
    // QSaveFile fsyncs the temporary file before renaming it over the target.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(errorText, file.errorString());
    // The explicit flush matters: on a full disk commit() renames an empty temporary file over
    // the target and still reports success when the buffered bytes fail to go out inside it.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(errorText, reason);
    }
    if (!file.commit())
        return fail(errorText, file.errorString());
    return true;
}

bool replaceUnsynced(const QString &path, const QByteArray &bytes, QString *errorText)
{
    // A folder (or anything but a plain file) at the target is never replaced.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return fail(errorText, QStringLiteral("not a file: ") + path);

    // Unique within the process and between processes sharing the folder.
    static std::atomic<unsigned> counter{0};
    const QString temporary = path + QStringLiteral(".%1.%2.tmp")
                                         .arg(::getpid())
                                         .arg(counter.fetch_add(1));
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(errorText, file.errorString());
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    const QString writeError = file.errorString();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        QFile::remove(temporary);
        return fail(errorText, writeError);
    }
    // rename(2) replaces the target in one step; readers never see a partial file.
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temporary);
        return fail(errorText, reason);
    }
    return true;
}

} // namespace

bool replaceFile(const QString &path, const QByteArray &bytes, Durability durability,
                 QString *errorText)
{
    return durability == Durability::Synced ? replaceSynced(path, bytes, errorText)
                                            : replaceUnsynced(path, bytes, errorText);
}

} // namespace platform
