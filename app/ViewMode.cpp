#include "app/ViewMode.h"

QStringList viewModeCaptions()
{
    return {QStringLiteral("モード１"), QStringLiteral("モード２"), QStringLiteral("miniモード")};
}

qint16 viewModeOf(const QString &caption)
{
    const qsizetype index = viewModeCaptions().indexOf(caption);
    return index == 0 || index == 1 ? qint16(index + 1) : qint16(3);
}

int viewModeIndexOf(int storedIndex)
{
    return storedIndex >= 0 && storedIndex < viewModeCaptions().size() ? storedIndex : 0;
}
