// A program folder that cannot take a write (a folder where the file should be, a file where the
// folder should be, a full disk) is reported once and never holds up closing; a settings file of
// binary junk starts with defaults where it is junk and keeps the user's other lines.

#include "app/Favorites.h"
#include "app/SettingsFile.h"
#include "app/gui/SettingsDialogs.h"
#include "app/gui/formMain.h"
#include "app/gui/formScrollSetting.h"
#include "platform/ProgramFolder.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include "platform/gui/ModelListView.h"
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <functional>
#include <iostream>
#include <memory>

namespace {

// A tmpfs of a few kilobytes mounted for the test (needs root and mount rights; else unusable).
class TinyFolder
{
public:
    TinyFolder()
    {
        if (!m_dir.isValid())
            return;
        m_mounted = QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                                QStringLiteral("-o"), QStringLiteral("size=64k"),
                                                                QStringLiteral("tmpfs"), m_dir.path()})
                    == 0;
    }
    ~TinyFolder()
    {
        if (m_mounted && QProcess::execute(QStringLiteral("umount"), {m_dir.path()}) != 0)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_dir.path()});
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    // Takes every free byte with one file.
    void fill() const
    {
        QFile filler(m_dir.path() + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

struct Blocker
{
    const char *name;
    // Makes the program folder refuse the write of `file`; false when it cannot be arranged here.
    std::function<bool(const QString &file)> block;
};

class UnwritableFolder : public ::testing::Test
{
protected:
    std::unique_ptr<formMain> open()
    {
        auto w = std::make_unique<formMain>();
        w->Form_Load();
        return w;
    }

    std::unique_ptr<TinyFolder> m_tiny;
    testsupport::RecordedMessages messages;

    QList<Blocker> blockers()
    {
        return {
            {"a folder in the file's place",
             [](const QString &file) {
                 QFile::remove(platform::programPath(file));
                 return QDir().mkpath(platform::programPath(file) + QStringLiteral("/inside"));
             }},
            {"the program folder is a file",
             [](const QString &) {
                 const QString path = platform::programFolder() + QStringLiteral("/not-a-folder");
                 testsupport::writeBytes(path, "x");
                 platform::setProgramFolder(path);
                 return true;
             }},
            {"a full disk",
             [this](const QString &file) {
                 m_tiny = std::make_unique<TinyFolder>();
                 if (!m_tiny->mounted())
                     return false;
                 // The old file moves along, so that keeping it can be checked.
                 const QByteArray old = testsupport::readBytes(platform::programPath(file));
                 platform::setProgramFolder(m_tiny->path());
                 testsupport::writeBytes(platform::programPath(file), old);
                 m_tiny->fill();
                 return true;
             }},
        };
    }
};

TEST_F(UnwritableFolder, ClosingReportsTheSettingsOnceAndCloses)
{
    for (const Blocker &blocker : blockers()) {
        SCOPED_TRACE(blocker.name);
        testsupport::TempProgramFolder home;
        messages.service().clear();
        const QByteArray old = "http://menu.example/bbsmenu.html\r\n200\r\n300\r\n9000\r\n4000\r\n";
        testsupport::writeBytes(settingsFilePath(), old);
        auto w = open();
        w->comboMode->setCurrentIndex(1);
        w->comboMode_Click();
        if (!blocker.block(QStringLiteral("livecfg.txt"))) {
            std::cout << "[ SKIPPED  ] " << blocker.name << ": cannot be arranged here\n";
            continue;
        }
        int unloaded = 0;
        QObject::connect(w.get(), &formMain::unloaded, [&] { ++unloaded; });
        QElapsedTimer clock;
        clock.start();
        w->close();
        EXPECT_LT(clock.elapsed(), 3000);
        EXPECT_EQ(unloaded, 1);
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(messages.shown(), QStringList{settingsNotSavedMessage()});
        const QFileInfo file(settingsFilePath());
        if (file.isFile())
            EXPECT_EQ(testsupport::readBytes(settingsFilePath()), old) << "the old file is kept whole";
        m_tiny.reset();
    }
}

TEST_F(UnwritableFolder, AFavouriteThatCannotBeStoredIsReportedAndNotListed)
{
    for (const Blocker &blocker : blockers()) {
        SCOPED_TRACE(blocker.name);
        testsupport::TempProgramFolder home;
        messages.service().clear();
        const QByteArray old = "番組ch(NHK)--http://live.example/livenhk/subback.html\r\n";
        testsupport::writeBytes(favoritesFilePath(), old);
        auto w = open();
        ASSERT_EQ(w->comboFavorite->count(), 1);
        w->boards().liveBoards().setBoards(
            {{QStringLiteral("番組ch(TV)"), QStringLiteral("http://live.example/livetv/subback.html")}});
        w->List3->setCurrentRow(0);
        if (!blocker.block(QStringLiteral("favorite.txt"))) {
            std::cout << "[ SKIPPED  ] " << blocker.name << ": cannot be arranged here\n";
            continue;
        }
        w->menuAddFavorite_Click();
        EXPECT_EQ(messages.shown(), QStringList{favoritesNotSavedMessage()});
        EXPECT_EQ(w->comboFavorite->count(), 1);
        if (QFileInfo(favoritesFilePath()).isFile())
            EXPECT_EQ(testsupport::readBytes(favoritesFilePath()), old);
        w->close();
        m_tiny.reset();
    }
}

TEST_F(UnwritableFolder, SettingsFileOfJunkStartsWithDefaultsAndKeepsTheGoodLines)
{
    testsupport::TempProgramFolder home;
    // Lines 2-5 and 16-17 are the user's; 6-15 are binary junk: NULs, bytes outside CP932, a
    // line of 100 KB.
    QByteArray file = "http://menu.example/bbsmenu.html\r\n200\r\n300\r\n9000\r\n4000\r\n";
    file += QByteArray("\0\0\x01", 3) + "\r\n" + "\xFF\xFE\x81\r\n" + QByteArray(100 * 1024, '\x82') + "\r\n";
    file += "12x\r\n\x81\x40\r\n-\r\n+\r\n\x1A\r\n0x1\r\n1e3\r\n";
    file += "2\r\n1\r\n";
    testsupport::writeBytes(settingsFilePath(), file);

    auto w = open();
    EXPECT_EQ(w->settings().intNextWhen1000, 2);
    EXPECT_EQ(w->comboMode->currentIndex(), 1);
    formScrollSetting *config = w->dialogs().settingsDialog();
    EXPECT_EQ(config->comboMax->currentIndex(), DialogSettings().maxIndex);
    EXPECT_EQ(config->comboMaxRow->currentIndex(), DialogSettings().maxRowIndex);
    EXPECT_TRUE(messages.shown().isEmpty());
    w->close();

    const QByteArray written = testsupport::readBytes(settingsFilePath());
    const QList<QByteArray> lines = written.split('\n');
    ASSERT_EQ(lines.size(), 18); // seventeen lines and what follows the last line end
    EXPECT_EQ(lines[0], "http://menu.example/bbsmenu.html\r");
    EXPECT_EQ(lines.mid(1, 4), (QList<QByteArray>{"200\r", "300\r", "9000\r", "4000\r"}));
    EXPECT_EQ(lines[15], "2\r");
    EXPECT_EQ(lines[16], "1\r");
    EXPECT_FALSE(written.contains('\0'));
}

} // namespace
