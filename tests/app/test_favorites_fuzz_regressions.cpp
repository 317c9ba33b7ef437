// Inputs found by fuzz/fuzz_favorites, kept so the faults they showed stay mended.
#include "TestSupport.h"
#include "app/Favorites.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

// The fuzzer's input: label, U+0001, address. The label ended in "-", which joined the "--"
// separator, so the entry read back with the label one character short and the address starting
// with "-".
TEST(FavoritesFuzzRegression, LabelEndingInHyphenReadsBackWhole)
{
    testsupport::TempProgramFolder home;
    const QByteArray input = QByteArray::fromBase64(
        "jsCLtXRwOi8v1Wloay9z//////////////////////f//////2JiYWNrLmhld3MtAQAAAAAtaHR0cDovJ25ld3Mu"
        "KE5ISyktLWh0dHA61S9paC9rL3N1YmJhCWNrDQo=");
    const QStringList parts = platform::decodeCp932(input).split(QChar(0x0001));
    ASSERT_EQ(parts.size(), 2);
    const QString path = favoritesFilePath();
    ASSERT_EQ(addFavorite(path, parts.at(0), parts.at(1)), FavoriteAddStatus::Added);
    const FavoriteList list = loadFavorites(path);
    ASSERT_EQ(list.labels.size(), 1);
    QString label = parts.at(0);
    label.chop(1);
    EXPECT_EQ(list.labels.at(0), platform::decodeCp932(platform::encodeCp932(label + QStringLiteral("－"))));
    EXPECT_TRUE(list.addresses.at(0).startsWith(QString(4, QChar(0)) + QStringLiteral("-http:/")));
}

TEST(FavoritesFuzzRegression, HyphensAroundTheSeparatorKeepLabelAndAddressApart)
{
    struct Case
    {
        QString label;
        QString address;
        QString readLabel;
        QString readAddress;
    };
    const Case cases[] = {
        {QStringLiteral("a-"), QStringLiteral("http://x.example/"), QStringLiteral("a－"), QStringLiteral("http://x.example/")},
        {QStringLiteral("-"), QStringLiteral("http://x.example/"), QStringLiteral("－"), QStringLiteral("http://x.example/")},
        {QStringLiteral("a---"), QStringLiteral("http://x.example/"), QStringLiteral("a－－－"), QStringLiteral("http://x.example/")},
        {QStringLiteral("a"), QStringLiteral("-http://x.example/"), QStringLiteral("a"), QStringLiteral("-http://x.example/")},
        {QStringLiteral("a-b"), QStringLiteral("http://x.example/"), QStringLiteral("a-b"), QStringLiteral("http://x.example/")},
    };
    for (const Case &c : cases) {
        testsupport::TempProgramFolder home;
        const QString path = favoritesFilePath();
        ASSERT_EQ(addFavorite(path, c.label, c.address), FavoriteAddStatus::Added);
        const FavoriteList list = loadFavorites(path);
        ASSERT_EQ(list.labels.size(), 1) << qPrintable(c.label);
        EXPECT_EQ(list.labels.at(0), c.readLabel) << qPrintable(c.label);
        EXPECT_EQ(list.addresses.at(0), c.readAddress) << qPrintable(c.label);
    }
}
