#include "net/BoardTreeModel.h"

BoardTreeModel::BoardTreeModel(QObject *parent)
    : QAbstractItemModel(parent)
{
}

void BoardTreeModel::addNode(const QString &key, const QString &text, const QString &parentKey)
{
    const int parent = parentKey.isEmpty() ? -1 : m_byKey.value(parentKey, -1);
    QList<int> &siblings = parent < 0 ? m_top : m_nodes[parent].children;
    const int id = int(m_nodes.size());
    const int row = int(siblings.size());
    if (!m_building)
        beginInsertRows(indexOf(parent), row, row);
    m_nodes.append({key, text, parent, row, {}});
    // m_nodes may have moved: take the sibling list again.
    (parent < 0 ? m_top : m_nodes[parent].children).append(id);
    if (!m_byKey.contains(key))
        m_byKey.insert(key, id);
    if (!m_building)
        endInsertRows();
}

void BoardTreeModel::buildFromPage(const QString &page)
{
    beginResetModel();
    m_nodes.clear();
    m_top.clear();
    m_byKey.clear();
    m_building = true;
    buildBoardTree(page, *this);
    m_building = false;
    endResetModel();
}

void BoardTreeModel::clear()
{
    buildFromPage(QString());
}

QModelIndex BoardTreeModel::node(const QString &key) const
{
    return indexOf(m_byKey.value(key, -1));
}

QString BoardTreeModel::keyOf(const QModelIndex &index)
{
    return index.data(KeyRole).toString();
}

const QList<int> &BoardTreeModel::childrenOf(const QModelIndex &parent) const
{
    return parent.isValid() ? m_nodes.at(int(parent.internalId())).children : m_top;
}

QModelIndex BoardTreeModel::indexOf(int id) const
{
    return id < 0 ? QModelIndex() : createIndex(m_nodes.at(id).row, 0, quintptr(id));
}

QModelIndex BoardTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    const QList<int> &children = childrenOf(parent);
    if (column != 0 || row < 0 || row >= children.size())
        return QModelIndex();
    return createIndex(row, 0, quintptr(children.at(row)));
}

QModelIndex BoardTreeModel::parent(const QModelIndex &child) const
{
    return child.isValid() ? indexOf(m_nodes.at(int(child.internalId())).parent) : QModelIndex();
}

int BoardTreeModel::rowCount(const QModelIndex &parent) const
{
    return parent.column() > 0 ? 0 : int(childrenOf(parent).size());
}

int BoardTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant BoardTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const Node &n = m_nodes.at(int(index.internalId()));
    if (role == Qt::DisplayRole)
        return n.text;
    if (role == KeyRole)
        return n.key;
    return {};
}
