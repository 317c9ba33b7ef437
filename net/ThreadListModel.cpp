#include "net/ThreadListModel.h"

#include "net/RowFields.h"

ThreadListModel::ThreadListModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void ThreadListModel::appendListing(const ThreadIndexListing &listing)
{
    if (listing.entries.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + int(listing.entries.size()) - 1);
    for (qsizetype i = 0; i < listing.entries.size(); ++i)
        m_rows.append({listing.entries.at(i), listing.addresses.value(i), listing.momentum.value(i)});
    endInsertRows();
}

void ThreadListModel::setThreads(const QStringList &entries, const QStringList &addresses,
                                 qint64 nowSeconds)
{
    beginResetModel();
    m_rows.clear();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString address = addresses.value(i);
        m_rows.append({entries.at(i), address,
                       momentumPerHour(summariseThread(entries.at(i), address), nowSeconds)});
    }
    endResetModel();
}

void ThreadListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

QString ThreadListModel::entry(int row) const { return rowField(m_rows, row, &ThreadListEntry::entry); }
QString ThreadListModel::address(int row) const { return rowField(m_rows, row, &ThreadListEntry::address); }
QStringList ThreadListModel::entries() const { return rowFields(m_rows, &ThreadListEntry::entry); }
QStringList ThreadListModel::addresses() const { return rowFields(m_rows, &ThreadListEntry::address); }

QList<ThreadSummary> ThreadListModel::summaries() const
{
    return summariseThreads(entries(), addresses());
}

int ThreadListModel::rowOfThread(const QString &threadNumber) const
{
    const QString wanted = QLatin1Char('/') + threadNumber + QLatin1Char('/');
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).address.contains(wanted))
            return int(i);
    return -1;
}

int ThreadListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ThreadListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant ThreadListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const ThreadListEntry &r = m_rows.at(index.row());
    switch (index.column()) {
    case EntryColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return r.entry;
        if (role == Qt::ToolTipRole)
            return momentumToolTip(r.momentum);
        if (role == SortRole)
            return double(index.row());
        break;
    case AddressColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return r.address;
        break;
    case MomentumColumn:
        if (role == Qt::DisplayRole)
            return momentumText(r.momentum);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role == SortRole)
            return r.momentum.value_or(-1.0);
        break;
    }
    return {};
}
