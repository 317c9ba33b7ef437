// favorite.txt as found on disk: both lists read, a favourite appended and the file read again.
// The input's first line is also used as the label and address added, so odd labels get added.
#include "FuzzSupport.h"

#include "app/Favorites.h"
#include "core/TextStore.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::scratchFile(fuzz::bytes(data, size));
    QStringList first;
    QStringList second;
    fuzz::keep(readListFile(path, first, second));
    if (first.size() != second.size())
        abort();

    const FavoriteList before = loadFavorites(path);
    if (before.labels.size() != before.addresses.size())
        abort();

    const QStringList parts = fuzz::fields(fuzz::text(data, size), 2);
    const QString label = parts.at(0).left(200);
    const QString address = parts.at(1).left(200);
    if (addFavorite(path, label, address) != FavoriteAddStatus::Added)
        abort();
    const FavoriteList after = loadFavorites(path);
    if (after.labels.size() != after.addresses.size() || after.labels.size() < before.labels.size())
        abort();
    for (qsizetype i = 0; i < before.labels.size(); ++i) {
        if (after.labels.at(i) != before.labels.at(i) && before.labels.at(i).contains(QChar(0xFFFD)) == false)
            abort();
    }
    fuzz::keep(favoriteBoardAddress(address));
    addFavoriteFromTree(path, label, address, parts.value(2), true);
    return 0;
}
