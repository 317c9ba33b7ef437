// favorite.txt as found on disk: both lists read, a favourite appended and the file read again.
// The input's first line is also used as the label and address added, so odd labels get added.
#include "FuzzSupport.h"

#include "app/Favorites.h"
#include "core/TextStore.h"

#include "platform/Cp932.h"

#include <cstdlib>

namespace {

QString throughCp932(const QString &text)
{
    return platform::decodeCp932(platform::encodeCp932(text));
}

QString oneLine(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

} // namespace

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

    // Added to an empty file, a favourite reads back as written: the label whole (its "--" and a
    // final "-" written as full-width dashes), the address up to any "--" of its own.
    const QString fresh = fuzz::scratchFile(QByteArray());
    if (addFavorite(fresh, label, address) != FavoriteAddStatus::Added)
        abort();
    const FavoriteList added = loadFavorites(fresh);
    QString expectedLabel = oneLine(label);
    expectedLabel.replace(QStringLiteral("--"), QStringLiteral("－－"));
    if (expectedLabel.endsWith(QLatin1Char('-')))
        expectedLabel.replace(expectedLabel.size() - 1, 1, QStringLiteral("－"));
    const QString expectedAddress = oneLine(address).section(QStringLiteral("--"), 0, 0);
    if (added.labels.size() != 1 || throughCp932(expectedLabel) != added.labels.at(0)
        || throughCp932(expectedAddress) != added.addresses.at(0))
        abort();
    addFavoriteFromTree(fresh, label, address, parts.value(2), true);
    return 0;
}
