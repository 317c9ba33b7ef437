#pragma once
// A page cut into the parts that follow a separator, each up to its first terminator: how the
// board-menu page is read both as a category tree and as a flat list of links.

#include <QList>
#include <QString>

struct PagePart
{
    qsizetype number = 0; // from 1, counting every part after a separator, left-out ones too
    QString text;         // the whole part, up to the next separator
    qsizetype end = 0;    // where the first terminator starts in text
};

// The parts of page after each separator (the text before the first one is no part) that
// contain terminator; a part without it is left out and the others keep their numbers.
QList<PagePart> pageParts(const QString &page, QLatin1String separator, QLatin1String terminator);
