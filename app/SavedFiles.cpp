#include "app/SavedFiles.h"

QString oneLine(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

QString notSavedMessage(const QString &what, const QString &path)
{
    return what + QStringLiteral("を保存できませんでした。") + QStringLiteral("\r\n") + path;
}
