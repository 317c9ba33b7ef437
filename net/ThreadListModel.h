#pragma once
// A board's thread list as the thread lists show it: each row the visible entry
// ("<n>: title (count)"), the thread page address and the thread's momentum (responses per hour
// at the time of listing). Column 0 is the entry (its tool tip the momentum), column 1 the
// address (the hidden address lists), column 2 the momentum as shown in the thread-list window.
// SortRole orders column 0 by index order and column 2 by momentum, unknown momentum lowest.

#include "net/ThreadIndex.h"
#include "net/ThreadSummary.h"

#include <QAbstractTableModel>
#include <QList>
#include <optional>

struct ThreadListEntry
{
    QString entry;    // as listed: "<n>: " + title field
    QString address;  // ".../test/read.cgi/<board>/<key>/l50"
    std::optional<double> momentum;
};

class ThreadListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { EntryColumn = 0, AddressColumn = 1, MomentumColumn = 2 };
    static constexpr int SortRole = Qt::UserRole;

    explicit ThreadListModel(QObject *parent = nullptr);

    // Appends a listing after the rows already there (the board openers empty the list first).
    void appendListing(const ThreadIndexListing &listing);
    // Replaces every row by these entries and addresses, momentum taken at nowSeconds.
    void setThreads(const QStringList &entries, const QStringList &addresses, qint64 nowSeconds);
    void clear();

    // Empty outside the rows.
    QString entry(int row) const;
    QString address(int row) const;
    QStringList entries() const;
    QStringList addresses() const;
    // Every row read back as number, title, count and address (the follow by title reads them).
    QList<ThreadSummary> summaries() const;
    // The row whose address names thread threadNumber ("/<number>/"), -1 when none does.
    int rowOfThread(const QString &threadNumber) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QList<ThreadListEntry> m_rows;
};
