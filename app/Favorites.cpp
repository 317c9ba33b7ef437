#include "app/Favorites.h"

#include "app/SavedFiles.h"
#include "core/TextStore.h"
#include "platform/ProgramFolder.h"

QString favoritesFilePath()
{
    return platform::programPath(QStringLiteral("favorite.txt"));
}

QString favoritesNotSavedMessage()
{
    return notSavedMessage(QStringLiteral("お気に入り"), favoritesFilePath());
}

QString favoriteAddMessage(FavoriteAddStatus status)
{
    switch (status) {
    case FavoriteAddStatus::NoBoard:
        return QStringLiteral("板を選択してください");
    case FavoriteAddStatus::WriteFailed:
        return favoritesNotSavedMessage();
    case FavoriteAddStatus::Added:
        break;
    }
    return QString();
}

FavoriteList loadFavorites(const QString &path)
{
    FavoriteList list;
    readListFile(path, list.labels, list.addresses);
    // Guard the pairing whatever the reader did with a malformed line.
    while (list.labels.size() > list.addresses.size())
        list.labels.removeLast();
    while (list.addresses.size() > list.labels.size())
        list.addresses.removeLast();
    return list;
}

FavoriteAddStatus addFavorite(const QString &path, const QString &label, const QString &address)
{
    QString cleanLabel = oneLine(label);
    cleanLabel.replace(QStringLiteral("--"), QStringLiteral("－－"));
    // A final "-" would join the separator: "a-" + "--" reads back as "a" and "-address".
    if (cleanLabel.endsWith(QLatin1Char('-')))
        cleanLabel.replace(cleanLabel.size() - 1, 1, QStringLiteral("－"));
    const QString old = readFileAll(path);
    const QString text = old + cleanLabel + QStringLiteral("--") + oneLine(address);
    return writeFileText(text, path) ? FavoriteAddStatus::Added : FavoriteAddStatus::WriteFailed;
}

FavoriteAddStatus addFavoriteFromTree(const QString &path, const QString &nodeText,
                                      const QString &nodeKey, const QString &parentKey,
                                      bool hasParent)
{
    if (!hasParent)
        return FavoriteAddStatus::NoBoard;
    QString address = nodeKey;
    if (!parentKey.isEmpty())
        address.remove(parentKey);
    if (address.trimmed().isEmpty())
        return FavoriteAddStatus::NoBoard;
    return addFavorite(path, nodeText, address);
}

QString favoriteBoardAddress(const QString &address)
{
    QString board = address;
    board.remove(QStringLiteral("subback.html"));
    return board;
}
