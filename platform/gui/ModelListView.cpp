#include "platform/gui/ModelListView.h"

ModelListView::ModelListView(QWidget *parent)
    : QListView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
}

ModelListView::ModelListView(QAbstractItemModel *model, int column, QWidget *parent)
    : ModelListView(parent)
{
    setModel(model);
    setModelColumn(column);
}

int ModelListView::count() const
{
    return model() ? model()->rowCount() : 0;
}

int ModelListView::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ModelListView::setCurrentRow(int row)
{
    if (!model())
        return;
    const QModelIndex index = model()->index(row, modelColumn());
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    setCurrentIndex(index);
}

QString ModelListView::text(int row) const
{
    return model() ? model()->index(row, modelColumn()).data(Qt::DisplayRole).toString() : QString();
}

QString ModelListView::toolTip(int row) const
{
    return model() ? model()->index(row, modelColumn()).data(Qt::ToolTipRole).toString() : QString();
}

QStringList ModelListView::texts() const
{
    QStringList out;
    for (int row = 0; row < count(); ++row)
        out << text(row);
    return out;
}

QRect ModelListView::rowRect(int row) const
{
    return model() ? visualRect(model()->index(row, modelColumn())) : QRect();
}
