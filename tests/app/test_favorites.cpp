#include "TestSupport.h"
#include "app/Favorites.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace {

const QString kBoard = QStringLiteral("http://live23.example/livenhk/");

void writeText(const QString &path, const QString &text)
{
    testsupport::writeBytes(path, platform::encodeCp932(text));
}

QString fileText(const QString &path)
{
    return platform::decodeCp932(testsupport::readBytes(path));
}

} // namespace

TEST(Favorites, MissingFileIsEmptyAndFirstAdditionCreatesIt)
{
    testsupport::TempProgramFolder home;
    const QString path = favoritesFilePath();
    EXPECT_EQ(path, home.file(QStringLiteral("favorite.txt")));
    EXPECT_TRUE(loadFavorites(path).labels.isEmpty());

    EXPECT_EQ(addFavorite(path, QStringLiteral("番組ch(NHK)"), kBoard), FavoriteAddStatus::Added);
    EXPECT_EQ(fileText(path), QStringLiteral("番組ch(NHK)--") + kBoard);
    const FavoriteList list = loadFavorites(path);
    EXPECT_EQ(list.labels, QStringList{QStringLiteral("番組ch(NHK)")});
    EXPECT_EQ(list.addresses, QStringList{kBoard});
}

TEST(Favorites, SameBoardTwiceGivesTwoIdenticalEntries)
{
    testsupport::TempProgramFolder home;
    const QString path = favoritesFilePath();
    addFavorite(path, QStringLiteral("実況"), kBoard);
    addFavorite(path, QStringLiteral("実況"), kBoard);
    EXPECT_EQ(fileText(path), QStringLiteral("実況--") + kBoard + QStringLiteral("\r\n実況--") + kBoard);
    const FavoriteList list = loadFavorites(path);
    EXPECT_EQ(list.labels, (QStringList{QStringLiteral("実況"), QStringLiteral("実況")}));
    EXPECT_EQ(list.addresses, (QStringList{kBoard, kBoard}));
}

TEST(Favorites, AdditionsAfterABlankSecondLineStayHidden)
{
    testsupport::TempProgramFolder home;
    const QString path = favoritesFilePath();
    writeText(path, QStringLiteral("A--http://a.example/a/\r\n\r\nB--http://b.example/b/\r\n"));
    EXPECT_EQ(loadFavorites(path).labels, QStringList{QStringLiteral("A")});
    ASSERT_EQ(addFavorite(path, QStringLiteral("C"), QStringLiteral("http://c.example/c/")),
              FavoriteAddStatus::Added);
    EXPECT_TRUE(fileText(path).endsWith(QStringLiteral("B--http://b.example/b/\r\nC--http://c.example/c/")));
    const FavoriteList list = loadFavorites(path);
    EXPECT_EQ(list.labels, QStringList{QStringLiteral("A")});
    EXPECT_EQ(list.addresses, QStringList{QStringLiteral("http://a.example/a/")});
}

TEST(Favorites, LineWithoutSeparatorNeverShiftsLabelsAgainstAddresses)
{
    testsupport::TempProgramFolder home;
    const QString path = favoritesFilePath();
    const QString texts[] = {
        QStringLiteral("A--http://a.example/a/\r\nbroken line\r\nC--http://c.example/c/\r\n"),
        QStringLiteral("broken line\r\nC--http://c.example/c/\r\n"),
        QStringLiteral("A--http://a.example/a/\r\nbroken line"),
    };
    for (const QString &text : texts) {
        writeText(path, text);
        const FavoriteList list = loadFavorites(path);
        ASSERT_EQ(list.labels.size(), list.addresses.size()) << text.toStdString();
        for (int i = 0; i < list.labels.size(); ++i) {
            // Each label belongs to the address of its own line.
            const QString label = list.labels[i];
            EXPECT_EQ(list.addresses[i], QStringLiteral("http://%1.example/%1/").arg(label.toLower()));
        }
    }
}

TEST(Favorites, LabelsAndAddressesCannotBreakTheLineFormat)
{
    testsupport::TempProgramFolder home;
    const QString path = favoritesFilePath();
    addFavorite(path, QStringLiteral("a--b\r\nc"), QStringLiteral("http://x.example/\r\nx/"));
    addFavorite(path, QStringLiteral("next"), kBoard);
    const FavoriteList list = loadFavorites(path);
    EXPECT_EQ(list.labels, (QStringList{QStringLiteral("a－－bc"), QStringLiteral("next")}));
    EXPECT_EQ(list.addresses, (QStringList{QStringLiteral("http://x.example/x/"), kBoard}));
}

TEST(Favorites, TreeAdditionNeedsABoardNode)
{
    testsupport::TempProgramFolder home;
    const QString path = favoritesFilePath();
    const QString parentKey = QStringLiteral("cat12");
    // A category node (no parent) and a node whose key is only its parent's key add nothing.
    EXPECT_EQ(addFavoriteFromTree(path, QStringLiteral("地震"), parentKey, QString(), false),
              FavoriteAddStatus::NoBoard);
    EXPECT_EQ(addFavoriteFromTree(path, QStringLiteral("x"), parentKey + QStringLiteral(" "), parentKey, true),
              FavoriteAddStatus::NoBoard);
    EXPECT_TRUE(testsupport::readBytes(path).isEmpty());

    EXPECT_EQ(addFavoriteFromTree(path, QStringLiteral("番組ch"), parentKey + kBoard, parentKey, true),
              FavoriteAddStatus::Added);
    EXPECT_EQ(loadFavorites(path).addresses, QStringList{kBoard});
}

TEST(Favorites, OpeningRemovesSubbackPage)
{
    EXPECT_EQ(favoriteBoardAddress(kBoard + QStringLiteral("subback.html")), kBoard);
    EXPECT_EQ(favoriteBoardAddress(kBoard), kBoard);
}

TEST(Favorites, FailedWriteIsReported)
{
    testsupport::TempProgramFolder home;
    EXPECT_EQ(addFavorite(home.file(QStringLiteral("no/such/favorite.txt")), QStringLiteral("a"), kBoard),
              FavoriteAddStatus::WriteFailed);
}
