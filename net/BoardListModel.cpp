#include "net/BoardListModel.h"

#include "net/RowFields.h"

BoardListModel::BoardListModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void BoardListModel::setBoards(const QList<BoardLink> &boards)
{
    beginResetModel();
    m_boards = boards;
    endResetModel();
}

void BoardListModel::clear()
{
    setBoards({});
}

QString BoardListModel::name(int row) const { return rowField(m_boards, row, &BoardLink::name); }
QString BoardListModel::address(int row) const { return rowField(m_boards, row, &BoardLink::address); }
QStringList BoardListModel::names() const { return rowFields(m_boards, &BoardLink::name); }
QStringList BoardListModel::addresses() const { return rowFields(m_boards, &BoardLink::address); }

int BoardListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_boards.size());
}

int BoardListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant BoardListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_boards.size()
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const BoardLink &b = m_boards.at(index.row());
    return index.column() == NameColumn ? b.name : b.address;
}
