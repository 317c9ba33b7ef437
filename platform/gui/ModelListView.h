#pragma once
// A list control that shows one column of a model, with the row-based operations the windows
// use (count, current row, the text of a row). Several of them may show different columns of
// one model: a visible list of names and a hidden list of the addresses beside them.

#include <QListView>

class ModelListView : public QListView
{
    Q_OBJECT
public:
    explicit ModelListView(QWidget *parent = nullptr);
    ModelListView(QAbstractItemModel *model, int column, QWidget *parent = nullptr);

    int count() const;
    // -1 when no row is current.
    int currentRow() const;
    // Makes row current and selected; -1 (or a row outside the model) clears both.
    void setCurrentRow(int row);
    // The shown column's text and tool tip of row; empty outside the rows.
    QString text(int row) const;
    QString toolTip(int row) const;
    QStringList texts() const;
    QRect rowRect(int row) const;
};
