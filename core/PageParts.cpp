#include "core/PageParts.h"

#include <QStringList>

QList<PagePart> pageParts(const QString &page, QLatin1String separator, QLatin1String terminator)
{
    QList<PagePart> found;
    const QStringList parts = page.split(separator);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const qsizetype end = parts.at(i).indexOf(terminator);
        if (end >= 0)
            found.append(PagePart{i, parts.at(i), end});
    }
    return found;
}
