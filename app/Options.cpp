#include "app/Options.h"

#include "app/SavedFiles.h"
#include "platform/AtomicFile.h"
#include "platform/ProgramFolder.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

const QString kCommentLanes = QStringLiteral("strip/comment_lanes");
const QString kSpreadBursts = QStringLiteral("strip/spread_bursts");
const QString kNextByTitle = QStringLiteral("follow/next_by_title");
const QString kReplayOffset = QStringLiteral("replay/offset_seconds");

// A value that is not a boolean ("yes", "2", a list) keeps the default.
bool readFlag(const QSettings &file, const QString &key, bool fallback)
{
    const QString text = file.value(key).toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

// A whole number within [low, high]; anything else keeps the default.
int readNumber(const QSettings &file, const QString &key, int low, int high, int fallback)
{
    bool ok = false;
    const int n = file.value(key).toString().trimmed().toInt(&ok);
    return ok && n >= low && n <= high ? n : fallback;
}

} // namespace

QString optionsFilePath()
{
    return platform::programPath(QStringLiteral("options.ini"));
}

QString optionsNotSavedMessage()
{
    return notSavedMessage(QStringLiteral("設定"), optionsFilePath());
}

Options loadOptions(const QString &path)
{
    Options options;
    if (!QFile::exists(path))
        return options;
    const QSettings file(path, QSettings::IniFormat);
    options.commentLanes = readFlag(file, kCommentLanes, options.commentLanes);
    options.spreadBursts = readFlag(file, kSpreadBursts, options.spreadBursts);
    options.nextByTitle = readFlag(file, kNextByTitle, options.nextByTitle);
    options.replayOffsetSeconds = readNumber(file, kReplayOffset, -600, 600, options.replayOffsetSeconds);
    return options;
}

bool saveOptions(const QString &path, const Options &options)
{
    // QSettings writes its file in place; it renders the text into a scratch file here, and the
    // bytes then replace the real file atomically.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return false;
    const QString scratchPath = scratch.filePath(QStringLiteral("options.ini"));
    {
        QSettings out(scratchPath, QSettings::IniFormat);
        if (QFile::exists(path)) {
            const QSettings previous(path, QSettings::IniFormat);
            for (const QString &key : previous.allKeys())
                out.setValue(key, previous.value(key));
        }
        out.setValue(kCommentLanes, options.commentLanes);
        out.setValue(kSpreadBursts, options.spreadBursts);
        out.setValue(kNextByTitle, options.nextByTitle);
        out.setValue(kReplayOffset, options.replayOffsetSeconds);
        out.sync();
        if (out.status() != QSettings::NoError)
            return false;
    }
    QFile rendered(scratchPath);
    if (!rendered.open(QIODevice::ReadOnly))
        return false;
    return platform::replaceFile(path, rendered.readAll(), platform::Durability::Synced);
}
