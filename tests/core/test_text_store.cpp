#include "core/TextStore.h"
#include "platform/Cp932.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using testsupport::TempProgramFolder;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

class TextStoreTest : public ::testing::Test
{
protected:
    void TearDown() override { setFontSelectionProvider({}); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_folder.file(name);
        writeBytes(path, bytes);
        return path;
    }

    TempProgramFolder m_folder;
};

TEST_F(TextStoreTest, ReadFileLineDefaultsForMissingAndEmptyLines)
{
    // Five lines, the fourth empty: lines 4 and 6..18 take their defaults.
    const QString path = write("livecfg.txt", "http://menu/\r\n200\r\n300\r\n\r\n5000\r\n");
    setFontSelectionProvider([](FontDialogList list) { return static_cast<int>(list) * 10; });

    const struct { int line; const char *expected; } cases[] = {
        {1, "http://menu/"}, {2, "200"}, {3, "300"}, {4, "10170"}, {5, "5000"},
        {6, "60"}, {7, "70"}, {8, "80"},
        {9, "1"}, {10, "1"}, {11, "1"}, {12, "1"}, {13, "0"}, {14, "1"}, {15, "0"}, {16, "1"},
        {17, "0"}, {18, ""}, {40, ""}, {-1, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readFileLine(path, c.line), QString::fromUtf8(c.expected)) << "line " << c.line;
}

TEST_F(TextStoreTest, ReadFileLineEmptyFirstLineAndShortFile)
{
    const QString path = write("a.txt", "\r\n100");
    EXPECT_EQ(readFileLine(path, 1), QString());
    EXPECT_EQ(readFileLine(path, 2), "100");
    EXPECT_EQ(readFileLine(path, 3), "100");

    // No font dialog yet: its lines read as "no selection".
    EXPECT_EQ(readFileLine(path, 6), "-1");
    EXPECT_EQ(readFileLine(path, 8), "-1");

    // An empty file still takes the defaults; it exists.
    const QString empty = write("empty.txt", "");
    EXPECT_EQ(readFileLine(empty, 2), "100");
    EXPECT_EQ(readFileLine(empty, 0), QString());
}

TEST_F(TextStoreTest, ReadFileLineMissingFileHasNoDefaults)
{
    const QString path = m_folder.file("nothing.txt");
    for (int n = 0; n <= 18; ++n)
        EXPECT_EQ(readFileLine(path, n), QString()) << "line " << n;
}

TEST_F(TextStoreTest, ReadFileLineZeroJoinsAllLines)
{
    EXPECT_EQ(readFileLine(write("p.txt", "a\r\nb\r\nc\r\n"), 0), "abc");
    EXPECT_EQ(readFileLine(write("q.txt", "a\nb\nc"), 0), "abc");
}

TEST_F(TextStoreTest, BackslashPathsWork)
{
    writeBytes(m_folder.file("livecfg.txt"), "x\r\n");
    EXPECT_EQ(readFileLine(m_folder.path() + "\\livecfg.txt", 1), "x");
    ASSERT_TRUE(writeFileText("y", m_folder.path() + "\\favorite.txt"));
    EXPECT_EQ(readBytes(m_folder.file("favorite.txt")), QByteArray("y"));
}

TEST_F(TextStoreTest, ReadListFileStopsAtBlankLineAndKeepsListsParallel)
{
    QStringList first{"old"}, second{"old"};
    const QString path = write("favorite.txt",
                               "Live A--http://a/live/subback.html\r\n"
                               "   \r\n"
                               "Later--http://later/\r\n");
    EXPECT_EQ(readListFile(path, first, second), "   ");
    EXPECT_EQ(first, QStringList{"Live A"});
    EXPECT_EQ(second, QStringList{"http://a/live/subback.html"});

    // A line without "--" ends reading before its label is added.
    const QString broken = write("broken.txt", "A--http://a/\r\nno separator\r\nB--http://b/\r\n");
    EXPECT_EQ(readListFile(broken, first, second), QString());
    EXPECT_EQ(first, QStringList{"A"});
    EXPECT_EQ(second, QStringList{"http://a/"});

    // Text after a second "--" is dropped. The last line lacks its line end.
    const QString threeParts = write("three.txt", "A--http://a/--x\r\nB--http://b/");
    EXPECT_EQ(readListFile(threeParts, first, second), "B--http://b/");
    EXPECT_EQ(first, (QStringList{"A", "B"}));
    EXPECT_EQ(second, (QStringList{"http://a/", "http://b/"}));
}

TEST_F(TextStoreTest, ReadListFileMissingFileEmptiesLists)
{
    QStringList first{"stale"}, second{"stale"};
    EXPECT_EQ(readListFile(m_folder.file("none.txt"), first, second), QString());
    EXPECT_TRUE(first.isEmpty());
    EXPECT_TRUE(second.isEmpty());
}

TEST_F(TextStoreTest, ReadFileAllEndsEveryLineWithCrLf)
{
    const QString expected = "x\r\ny\r\n";
    EXPECT_EQ(readFileAll(write("1.txt", "x\r\ny\r\n")), expected);
    EXPECT_EQ(readFileAll(write("2.txt", "x\r\ny")), expected);
    EXPECT_EQ(readFileAll(write("3.txt", "x\ny\n")), expected);
    EXPECT_EQ(readFileAll(write("4.txt", "")), QString());
    EXPECT_EQ(readFileAll(m_folder.file("missing.txt")), QString());
}

TEST_F(TextStoreTest, ReadFileAllHasNoLineLimit)
{
    QByteArray bytes;
    for (int i = 0; i < 40000; ++i)
        bytes += QByteArray::number(i) + "\r\n";
    const QString all = readFileAll(write("long.txt", bytes));
    ASSERT_FALSE(all.isEmpty());
    EXPECT_EQ(all.count("\r\n"), 40000);
    EXPECT_TRUE(all.endsWith("39999\r\n"));
}

TEST_F(TextStoreTest, Cp932RoundTripThroughFiles)
{
    // Half-width katakana, box drawing, wave dash (CP932's full-width tilde), circled digit.
    const QString text = QString::fromUtf8("ｷﾀ━━━(ﾟ∀ﾟ)━━━!!\r\n～①ﾊｧﾊｧ");
    const QString path = m_folder.file("tempHtml2.html");
    ASSERT_TRUE(writeFileText(text, path));
    EXPECT_EQ(readBytes(path), platform::encodeCp932(text));
    EXPECT_EQ(readFileAll(path), text + "\r\n");
    EXPECT_EQ(readFileLine(path, 2), QString::fromUtf8("～①ﾊｧﾊｧ"));
}

// Both the durable write (settings, favourites) and the unflushed one (generated pages) must
// replace the file whole and leave the old file untouched when they fail.
class WriteFileTextTest : public TextStoreTest, public ::testing::WithParamInterface<Durability>
{
};

TEST_P(WriteFileTextTest, ReplacesWholeFileWithoutLeftovers)
{
    const QString path = m_folder.file("page.html");
    ASSERT_TRUE(writeFileText("a much longer first version", path, GetParam()));
    ASSERT_TRUE(writeFileText("short", path, GetParam()));
    EXPECT_EQ(readBytes(path), QByteArray("short"));
    ASSERT_TRUE(writeFileText(QString(), path, GetParam()));
    EXPECT_EQ(readBytes(path), QByteArray());
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files), QStringList{"page.html"});

    // A page of many lines and non-ASCII text lands byte for byte.
    QString page;
    for (int i = 0; i < 2000; ++i)
        page += QString::fromUtf8("<marquee>ｷﾀ━━━(ﾟ∀ﾟ)━━━!! %1</marquee>\r\n").arg(i);
    ASSERT_TRUE(writeFileText(page, path, GetParam()));
    EXPECT_EQ(readBytes(path), platform::encodeCp932(page));
}

TEST_P(WriteFileTextTest, FailureKeepsOldFile)
{
    EXPECT_FALSE(writeFileText("x", m_folder.file("no/such/folder/f.txt"), GetParam()));

    // The target is a folder: the write fails and the folder is untouched.
    const QString dirPath = m_folder.file("adir");
    QDir().mkpath(dirPath);
    EXPECT_FALSE(writeFileText("x", dirPath, GetParam()));
    EXPECT_TRUE(QFileInfo(dirPath).isDir());

    // The disk refuses the new page part way (a file-size limit stands in for a full disk,
    // and holds for root too): the old page stays whole, nothing is left beside it.
    const QString path = m_folder.file("tempHtml2.html");
    ASSERT_TRUE(writeFileText("old page", path, GetParam()));
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = writeFileText(QString(20000, QLatin1Char('n')), path, GetParam());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(path), QByteArray("old page"));
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files), QStringList{"tempHtml2.html"});
}

INSTANTIATE_TEST_SUITE_P(Durability, WriteFileTextTest,
                         ::testing::Values(Durability::Synced, Durability::None),
                         [](const auto &info) {
                             return info.param == Durability::Synced ? "Synced" : "Unflushed";
                         });

TEST_F(TextStoreTest, RemoveFileIgnoresMissingFile)
{
    const QString path = write("tempHtml.txt", "x");
    removeFile(path);
    EXPECT_FALSE(QFile::exists(path));
    removeFile(path); // no failure on a second call
}

} // namespace
