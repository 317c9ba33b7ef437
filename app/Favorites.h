#pragma once
// favorite.txt: one favourite board a line, "label--address", CR LF between lines. Loading stops
// at the first blank line, so favourites appended after a blank line stay hidden. The labels fill
// comboFavorite and the addresses the hidden listFavoriteHide, entry i belonging to entry i.

#include <QString>
#include <QStringList>

struct FavoriteList
{
    QStringList labels;     // comboFavorite
    QStringList addresses;  // listFavoriteHide
};

enum class FavoriteAddStatus {
    Added,
    NoBoard,      // nothing usable selected
    WriteFailed,  // the file could not be replaced; the previous file is kept
};

// The one favourites file name, in the program folder.
QString favoritesFilePath();
// Shown when a favourite could not be added because the file could not be written.
QString favoritesNotSavedMessage();
// What an addition tells the user: "板を選択してください" for NoBoard, favoritesNotSavedMessage
// for WriteFailed, nothing when the favourite was added.
QString favoriteAddMessage(FavoriteAddStatus status);

// Both lists from the file; a missing file gives two empty lists. A line without "--" ends the
// reading without adding anything, so a label never pairs with another line's address.
FavoriteList loadFavorites(const QString &path);

// Appends "label--address" (without a line end) after the whole previous file. Line ends in the
// label or address are dropped, and a "--" inside the label is written as "－－" (a final "-" as
// "－"), so neither can split the line differently when it is read back.
FavoriteAddStatus addFavorite(const QString &path, const QString &label, const QString &address);

// Adding from the board tree: the address is the node's key with every occurrence of its parent
// node's key removed. A node without a parent, or an address that is blank, adds nothing.
FavoriteAddStatus addFavoriteFromTree(const QString &path, const QString &nodeText,
                                      const QString &nodeKey, const QString &parentKey,
                                      bool hasParent);

// The board address a favourite opens: its address with every "subback.html" removed.
QString favoriteBoardAddress(const QString &address);
