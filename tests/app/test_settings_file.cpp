#include "TestSupport.h"
#include "app/SettingsFile.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace {

const FontListDefaults kFonts{/*fontCount*/ 10, /*fontIndex*/ 3, /*sizeIndex*/ 2, /*colourIndex*/ 0};

void writeLines(const QString &path, const QStringList &lines)
{
    testsupport::writeBytes(path, platform::encodeCp932(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

QStringList writtenLines(const QString &path)
{
    return platform::decodeCp932(testsupport::readBytes(path)).split(QStringLiteral("\r\n"));
}

const QStringList kAllChanged = {
    QStringLiteral("http://menu.example/bbsmenu.html"), QStringLiteral("250"), QStringLiteral("-30"),
    QStringLiteral("8000"), QStringLiteral("3000"), QStringLiteral("7"), QStringLiteral("4"),
    QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("4"), QStringLiteral("0"),
    QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("3"),
    QStringLiteral("2"), QStringLiteral("2")};

} // namespace

TEST(SettingsFile, FirstStartWithoutFileUsesDefaultsAndWritesSeventeenLines)
{
    testsupport::TempProgramFolder home;
    const QString path = settingsFilePath();
    EXPECT_EQ(path, home.file(QStringLiteral("livecfg.txt")));

    const SettingsFileContent loaded = loadSettings(path, kFonts);
    EXPECT_TRUE(loaded.boardMenuUrl.isEmpty());
    EXPECT_EQ(loaded.geometry.top, 100);
    EXPECT_EQ(loaded.geometry.left, 100);
    EXPECT_EQ(loaded.geometry.width, 10170);
    EXPECT_EQ(loaded.geometry.height, 4590);

    ASSERT_TRUE(saveSettings(path, loaded));
    // Font from the dialog's initial selection, size "18", "デフォルト", 15 a fetch, 2 lines,
    // countdown on, dat on, shadow off, replay 2 a second every 1 second, thread list at 1000,
    // "モード１"; every line CR LF-terminated, the first one empty.
    EXPECT_EQ(testsupport::readBytes(path),
              QByteArray("\r\n100\r\n100\r\n10170\r\n4590\r\n3\r\n2\r\n0\r\n1\r\n1\r\n1\r\n1\r\n0\r\n"
                         "1\r\n0\r\n1\r\n0\r\n"));
}

TEST(SettingsFile, FileOfFirstFiveLinesRestoresGeometryOnly)
{
    testsupport::TempProgramFolder home;
    const QString path = settingsFilePath();
    writeLines(path, {QStringLiteral("http://menu.example/"), QStringLiteral("1500"),
                      QStringLiteral("2250"), QStringLiteral("12000.5"), QStringLiteral("6000")});
    const SettingsFileContent loaded = loadSettings(path, kFonts);
    EXPECT_EQ(loaded.boardMenuUrl, QStringLiteral("http://menu.example/"));
    EXPECT_EQ(loaded.geometry.top, 1500);
    EXPECT_EQ(loaded.geometry.left, 2250);
    EXPECT_EQ(loaded.geometry.width, 12000.5);
    EXPECT_EQ(loaded.geometry.height, 6000);

    const DialogSettings defaults;
    EXPECT_EQ(loaded.dialogs.fontIndex, 3);
    EXPECT_EQ(loaded.dialogs.fontSizeIndex, 2);
    EXPECT_EQ(loaded.dialogs.fontColorIndex, 0);
    EXPECT_EQ(loaded.dialogs.maxIndex, defaults.maxIndex);
    EXPECT_EQ(loaded.dialogs.countDown, 1);
    EXPECT_EQ(loaded.dialogs.datMode, 1);
    EXPECT_EQ(loaded.dialogs.outLineMode, 0);
    EXPECT_EQ(loaded.dialogs.nextWhen1000, 1);
    EXPECT_EQ(loaded.dialogs.viewModeIndex, 0);
}

TEST(SettingsFile, UnusableLinesTakeTheirDefaults)
{
    struct Case
    {
        int line;
        QString text;
    };
    // Every case puts one bad value into an otherwise fully changed file; that line alone must
    // fall back to its default while the others keep their values.
    const Case cases[] = {
        {2, QStringLiteral("abc")},  {2, QStringLiteral("nan")},   {3, QStringLiteral("inf")},
        {3, QStringLiteral("5e9")},  {4, QStringLiteral("-20")},   {4, QStringLiteral("0")},
        {5, QStringLiteral("")},     {5, QStringLiteral("1,5")},   {6, QStringLiteral("10")},
        {6, QStringLiteral("-1")},   {7, QStringLiteral("5")},     {7, QStringLiteral("1.5")},
        {8, QStringLiteral("4")},    {9, QStringLiteral("x")},     {10, QStringLiteral("5")},
        {11, QStringLiteral("2")},   {12, QStringLiteral("-1")},   {13, QStringLiteral("yes")},
        {14, QStringLiteral("4")},   {15, QStringLiteral("99999")}, {16, QStringLiteral("3")},
        {17, QStringLiteral("3")},   {17, QStringLiteral(" ")},
    };
    testsupport::TempProgramFolder home;
    const QString path = settingsFilePath();
    const QStringList defaults = settingsText(SettingsFileContent{
        QString(), WindowGeometryTwips{}, DialogSettings{3, 2, 0}}).split(QStringLiteral("\r\n"));

    for (const Case &c : cases) {
        QStringList lines = kAllChanged;
        lines[c.line - 1] = c.text;
        writeLines(path, lines);
        QStringList expected = kAllChanged;
        expected[c.line - 1] = defaults[c.line - 1];
        const QStringList got = settingsText(loadSettings(path, kFonts)).split(QStringLiteral("\r\n"));
        EXPECT_EQ(got.mid(0, 17), expected) << "line " << c.line << " = \"" << c.text.toStdString() << '"';
    }
}

TEST(SettingsFile, ChangedValuesSurviveACloseAndStartInLineOrder)
{
    testsupport::TempProgramFolder home;
    const QString path = settingsFilePath();
    writeLines(path, kAllChanged);
    const SettingsFileContent loaded = loadSettings(path, kFonts);
    EXPECT_EQ(loaded.geometry.left, -30);
    EXPECT_EQ(loaded.dialogs.fontColorIndex, 3);
    EXPECT_EQ(loaded.dialogs.nextWhen1000, 2);

    // "灰色" chosen during the run, window moved to a fractional twips position.
    SettingsFileContent closing = loaded;
    closing.dialogs.fontColorIndex = 1;
    closing.geometry.top = 1234.5;
    ASSERT_TRUE(saveSettings(path, closing));
    const QStringList lines = writtenLines(path);
    ASSERT_EQ(lines.size(), 18); // seventeen lines, each ending in CR LF
    EXPECT_EQ(lines[1], QStringLiteral("1234.5"));
    EXPECT_EQ(lines[2], QStringLiteral("-30"));
    EXPECT_EQ(lines[7], QStringLiteral("1"));
    EXPECT_TRUE(lines[17].isEmpty());
    EXPECT_EQ(loadSettings(path, kFonts).dialogs.fontColorIndex, 1);
}

TEST(SettingsFile, LinesAfterTheSeventeenthAreDroppedAtTheNextWrite)
{
    testsupport::TempProgramFolder home;
    const QString path = settingsFilePath();
    writeLines(path, kAllChanged + QStringList{QStringLiteral("extra"), QStringLiteral("9")});
    const SettingsFileContent loaded = loadSettings(path, kFonts);
    EXPECT_EQ(loaded.dialogs.viewModeIndex, 2);
    ASSERT_TRUE(saveSettings(path, loaded));
    const QStringList lines = writtenLines(path);
    EXPECT_EQ(lines.mid(0, 17), kAllChanged);
    EXPECT_EQ(lines.size(), 18);
}

TEST(SettingsFile, MenuAddressWithLineEndCannotShiftTheOtherLines)
{
    testsupport::TempProgramFolder home;
    SettingsFileContent content;
    content.boardMenuUrl = QStringLiteral("http://menu.example/\r\n999");
    ASSERT_TRUE(saveSettings(settingsFilePath(), content));
    const QStringList lines = writtenLines(settingsFilePath());
    EXPECT_EQ(lines[0], QStringLiteral("http://menu.example/999"));
    EXPECT_EQ(lines[1], QStringLiteral("100"));
    EXPECT_EQ(lines.size(), 18);
}

TEST(SettingsFile, FailedWriteIsReportedAndKeepsThePreviousFile)
{
    testsupport::TempProgramFolder home;
    // A folder standing where the file should be: the replace cannot happen.
    const QString blocked = home.file(QStringLiteral("blocked"));
    testsupport::writeBytes(blocked + QStringLiteral("/inside.txt"), "keep");
    EXPECT_FALSE(saveSettings(blocked, SettingsFileContent{}));
    EXPECT_EQ(testsupport::readBytes(blocked + QStringLiteral("/inside.txt")), QByteArray("keep"));
    // A folder that does not exist.
    EXPECT_FALSE(saveSettings(home.file(QStringLiteral("missing/livecfg.txt")), SettingsFileContent{}));
}

TEST(SettingsFile, MenuOptionReplacesOnlyTheFirstLine)
{
    testsupport::TempProgramFolder home;
    const QString path = settingsFilePath();
    const QString menu = QStringLiteral("http://127.0.0.1:8421/bbsmenu.html");

    ASSERT_TRUE(storeBoardMenuUrl(path, menu)); // no file yet
    EXPECT_EQ(testsupport::readBytes(path), QByteArray("http://127.0.0.1:8421/bbsmenu.html\r\n"));
    EXPECT_EQ(loadWindowGeometry(path).width, 10170);

    writeLines(path, kAllChanged);
    ASSERT_TRUE(storeBoardMenuUrl(path, menu));
    QStringList expected = kAllChanged;
    expected[0] = menu;
    EXPECT_EQ(writtenLines(path).mid(0, 17), expected);
    EXPECT_EQ(readBoardMenuUrl(path), menu);
}
