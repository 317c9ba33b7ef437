#pragma once
// A list of boards as the board lists and the favourites show them: each row a name and the
// board's address (the menu address + "subback.html" as the board-menu loader stores it).
// Column 0 is the name (the visible lists, comboFavorite), column 1 the address (the hidden
// address lists), so a name and its address can never fall out of step.

#include "net/BoardMenu.h"

#include <QAbstractTableModel>
#include <QList>

class BoardListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { NameColumn = 0, AddressColumn = 1 };

    explicit BoardListModel(QObject *parent = nullptr);

    void setBoards(const QList<BoardLink> &boards);
    void clear();
    const QList<BoardLink> &boards() const { return m_boards; }
    // Empty outside the rows.
    QString name(int row) const;
    QString address(int row) const;
    QStringList names() const;
    QStringList addresses() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QList<BoardLink> m_boards;
};
