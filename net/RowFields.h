#pragma once
// One text field of every row of a list, or of one row (empty outside the rows): what the list
// models hand their views and callers.

#include <QList>
#include <QString>
#include <QStringList>

template <typename Row>
QString rowField(const QList<Row> &rows, int row, QString Row::*field)
{
    return row >= 0 && row < rows.size() ? rows.at(row).*field : QString();
}

template <typename Row>
QStringList rowFields(const QList<Row> &rows, QString Row::*field)
{
    QStringList out;
    out.reserve(rows.size());
    for (const Row &r : rows)
        out << r.*field;
    return out;
}
