// The replay controls panel and its start-time dialog: the order of use enforced by enabling,
// which file the dialog offers, loading every file of the folder, reset, the folder lists and
// the video chooser.

#include "TestSupport.h"
#include "platform/Cp932.h"
#include "replay/PastLog.h"
#include "replay/ReplayCaptions.h"
#include "replay/gui/VideoChooser.h"
#include "replay/gui/formSelectDatTime.h"
#include "replay/gui/frameWmpControl.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

using testsupport::RecordedMessages;

namespace {

QString datLine(const QString &name, const QString &date, const QString &body)
{
    return name + QStringLiteral("<><>") + date + QStringLiteral("<>") + body + QStringLiteral("<>\r\n");
}

QString stamp(int h, int m, int s)
{
    return QStringLiteral("2009/01/13(火) %1:%2:%3 ID:abc").arg(h, 2, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
}

struct ControlsFixture
{
    QTemporaryDir dir;
    PastLog log;
    RecordedMessages messages;
    replay::ScriptedVideoChooser chooser;
    frameWmpControl panel{log};

    ControlsFixture() { replay::setVideoChooser(&chooser); }
    ~ControlsFixture() { replay::setVideoChooser(nullptr); }

    void write(const QString &name, const QString &text)
    {
        testsupport::writeBytes(dir.filePath(name), platform::encodeCp932(text));
    }

    // "b.dat" sorts after "a.dat" although it is written first; a stray non-dat file is ignored.
    void writeTwoFiles()
    {
        write(QStringLiteral("b.dat"), datLine(QStringLiteral("b1"), stamp(21, 0, 7), QStringLiteral("four"))
                                            + datLine(QStringLiteral("b2"), stamp(21, 1, 5), QStringLiteral("five")));
        write(QStringLiteral("a.dat"), datLine(QStringLiteral("a1"), stamp(21, 0, 3), QStringLiteral("one"))
                                            + datLine(QStringLiteral("a2"), stamp(21, 0, 5), QStringLiteral("two"))
                                            + datLine(QStringLiteral("あぼーん"), QStringLiteral("あぼーん"), QStringLiteral("あぼーん")));
        write(QStringLiteral("notes.txt"), QStringLiteral("x"));
        panel.setDatFolder(dir.path());
    }

    formSelectDatTime &dialog() { return *panel.startTimeDialog(); }
    QListWidget &rows() { return *dialog().listSelectDatTime(); }

    void chooseRow(int row)
    {
        rows().setCurrentRow(row);
        dialog().cmdOK_Click();
    }
};

} // namespace

TEST(ReplayControls, StartTimeIsChosenFromTheFirstFileOnlyAndEnablesLoading)
{
    ControlsFixture f;
    EXPECT_FALSE(f.panel.Command3()->isEnabled());
    EXPECT_TRUE(f.panel.Drive1()->isHidden());
    EXPECT_TRUE(f.panel.Dir1()->isHidden());
    f.writeTwoFiles();
    ASSERT_EQ(f.panel.fileListDat()->count(), 2);
    EXPECT_EQ(f.panel.fileListDat()->item(0)->text(), QStringLiteral("a.dat"));
    f.panel.fileListDat()->setCurrentRow(1);   // the selection does not matter

    f.panel.cmdWmpStartTimeSet_Click();
    EXPECT_TRUE(f.dialog().isVisible());
    ASSERT_EQ(f.rows().count(), 3);
    EXPECT_EQ(f.rows().item(0)->text(), stamp(21, 0, 3));
    EXPECT_EQ(f.rows().item(2)->text(), QStringLiteral("あぼーん"));

    // OK with nothing selected: asked again, still no loading.
    f.rows().clearSelection();
    f.dialog().cmdOK_Click();
    EXPECT_EQ(f.messages.shown(), QStringList{QStringLiteral("時間を選択して下さい")});
    EXPECT_TRUE(f.dialog().isVisible());
    EXPECT_FALSE(f.panel.Command3()->isEnabled());

    // A row without a time (deleted response) is refused the same way and leaves the start
    // unset, rather than enabling a load against no zero point.
    f.chooseRow(2);
    EXPECT_EQ(f.messages.shown().size(), 2);
    EXPECT_TRUE(f.dialog().isVisible());
    EXPECT_FALSE(f.panel.Command3()->isEnabled());
    EXPECT_EQ(f.log.lngStartSeconds, 0);
    EXPECT_EQ(f.panel.lblStartTime()->text(), QStringLiteral("開始時間レス"));

    f.chooseRow(1);
    EXPECT_FALSE(f.dialog().isVisible());
    EXPECT_TRUE(f.panel.Command3()->isEnabled());
    EXPECT_EQ(f.log.lngStartSeconds, 21 * 3600 + 5);
    EXPECT_EQ(f.panel.lblStartTime()->text(), QStringLiteral("開始時間レス：") + stamp(21, 0, 5));

    // Load: both files in name order, numbered continuously, timed from the chosen start.
    f.panel.Command3_Click();
    EXPECT_EQ(f.log.lngDatResCount, 5);
    EXPECT_EQ(f.log.strDatResNo, (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(f.log.strDatResTime, (QStringList{"-2", "0", "", "2", "60"}));
    EXPECT_EQ(f.log.strDatRes, (QStringList{"one", "two", "あぼーん", "four", "five"}));
    EXPECT_EQ(f.panel.lblWmpDatResCount()->text(), QStringLiteral("レス数：5"));

    // A second load starts over rather than appending.
    f.panel.Command3_Click();
    EXPECT_EQ(f.log.lngDatResCount, 5);
}

TEST(ReplayControls, CancelAndReopeningDisableLoadingAgain)
{
    ControlsFixture f;
    f.writeTwoFiles();
    f.panel.cmdWmpStartTimeSet_Click();
    f.chooseRow(0);
    ASSERT_TRUE(f.panel.Command3()->isEnabled());

    f.dialog().show();
    f.dialog().cmdCancel_Click();
    EXPECT_FALSE(f.dialog().isVisible());
    EXPECT_FALSE(f.panel.Command3()->isEnabled());

    f.chooseRow(0);
    ASSERT_TRUE(f.panel.Command3()->isEnabled());
    f.panel.cmdWmpStartTimeSet_Click();   // a new choice begins with a reset
    EXPECT_FALSE(f.panel.Command3()->isEnabled());
    EXPECT_EQ(f.log.lngStartSeconds, 0);
}

TEST(ReplayControls, MidnightStartCountsAsUnsetAndTheFirstStampedLineBecomesZero)
{
    ControlsFixture f;
    f.write(QStringLiteral("x.dat"), datLine(QStringLiteral("n"), stamp(23, 59, 58), QStringLiteral("before"))
                                          + datLine(QStringLiteral("n"), stamp(0, 0, 0), QStringLiteral("midnight"))
                                          + datLine(QStringLiteral("n"), stamp(0, 0, 9), QStringLiteral("later")));
    f.panel.setDatFolder(f.dir.path());
    f.panel.cmdWmpStartTimeSet_Click();
    f.chooseRow(1);
    EXPECT_TRUE(f.panel.Command3()->isEnabled());
    EXPECT_EQ(f.log.lngStartSeconds, 0);
    f.panel.Command3_Click();
    EXPECT_EQ(f.log.strDatResTime, (QStringList{"0", "-86398", "-86389"}));
}

TEST(ReplayControls, EmptyFolderIsReportedAndTheDialogStaysClosed)
{
    ControlsFixture f;
    f.write(QStringLiteral("readme.txt"), QStringLiteral("no logs"));
    f.panel.setDatFolder(f.dir.path());
    f.panel.cmdWmpStartTimeSet_Click();
    EXPECT_EQ(f.messages.shown(), QStringList{QStringLiteral("datファイルがありません")});
    EXPECT_FALSE(f.dialog().isVisible());
    EXPECT_FALSE(f.panel.Command3()->isEnabled());
}

TEST(ReplayControls, ResetRestoresCaptionsAndKeepsTheLoadedLists)
{
    ControlsFixture f;
    f.writeTwoFiles();
    f.panel.cmdWmpStartTimeSet_Click();
    f.chooseRow(0);
    f.panel.Command3_Click();
    f.panel.setMovieName(QStringLiteral("/videos/match.avi"));
    f.panel.setResNo(QStringLiteral("4"));

    f.panel.cmdWmpDelete_Click();
    EXPECT_EQ(f.log.lngStartSeconds, 0);
    EXPECT_EQ(f.panel.lblStartTime()->text(), QStringLiteral("開始時間レス"));
    EXPECT_EQ(f.panel.lblMovieName()->text(), QStringLiteral("ファイル名"));
    EXPECT_EQ(f.panel.lblWmpDatResCount()->text(), QStringLiteral("レス数"));
    EXPECT_TRUE(f.panel.lblResNo()->text().isEmpty());
    EXPECT_FALSE(f.panel.Command3()->isEnabled());
    EXPECT_EQ(f.log.lngDatResCount, 5);
}

TEST(ReplayControls, LoadsTheRealPastLogsOfAFolder)
{
    ControlsFixture f;
    for (const QString name : {QStringLiteral("shiwano2ch__1231808850.dat"), QStringLiteral("shiwano2ch__1231808850_2.dat")})
        testsupport::writeBytes(f.dir.filePath(name), testsupport::fixtureBytes(QStringLiteral("real/") + name));
    f.panel.setDatFolder(f.dir.path());
    f.panel.cmdWmpStartTimeSet_Click();
    ASSERT_EQ(f.rows().count(), 27);
    f.chooseRow(0);
    ASSERT_TRUE(f.panel.Command3()->isEnabled());
    f.panel.Command3_Click();
    EXPECT_EQ(f.log.lngDatResCount, 31);
    EXPECT_EQ(f.log.strDatResTime.first(), QStringLiteral("0"));
    EXPECT_EQ(f.panel.lblWmpDatResCount()->text(), QStringLiteral("レス数：31"));
}

TEST(ReplayControls, FolderListsOpenOnTheCurrentFolderAndTheFileListFollowsThem)
{
    ControlsFixture f;
    f.writeTwoFiles();
    QDir(f.dir.path()).mkdir(QStringLiteral("other"));
    f.write(QStringLiteral("other/z.dat"), datLine(QStringLiteral("z"), stamp(1, 2, 3), QStringLiteral("z")));

    f.panel.cmdOpenDatFolder_Click();
    EXPECT_EQ(f.panel.cmdOpenDatFolder()->text(), QStringLiteral("Datフォルダ確定"));
    EXPECT_FALSE(f.panel.Dir1()->isHidden());
    EXPECT_FALSE(f.panel.Drive1()->isHidden());
    EXPECT_GE(f.panel.Drive1()->findText(QDir::rootPath()), 0);
    EXPECT_EQ(f.panel.datFolder(), QDir(f.dir.path()).absolutePath());
    EXPECT_EQ(f.panel.fileListDat()->count(), 2);   // opening the lists keeps the folder

    auto *model = static_cast<QFileSystemModel *>(f.panel.Dir1()->model());
    f.panel.Dir1()->setCurrentIndex(model->index(f.dir.filePath(QStringLiteral("other"))));
    EXPECT_EQ(f.panel.datFolder(), f.dir.filePath(QStringLiteral("other")));
    ASSERT_EQ(f.panel.fileListDat()->count(), 1);
    EXPECT_EQ(f.panel.fileListDat()->item(0)->text(), QStringLiteral("z.dat"));

    f.panel.cmdOpenDatFolder_Click();
    EXPECT_EQ(f.panel.cmdOpenDatFolder()->text(), QStringLiteral("Datフォルダの指定"));
    EXPECT_TRUE(f.panel.Dir1()->isHidden());
    EXPECT_TRUE(f.panel.Drive1()->isHidden());
    EXPECT_EQ(f.panel.datFolder(), f.dir.filePath(QStringLiteral("other")));
}

TEST(ReplayControls, VideoChooserUsesTheMediaFilterAndIgnoresACancel)
{
    ControlsFixture f;
    QStringList chosen;
    QObject::connect(&f.panel, &frameWmpControl::videoChosen, [&](const QString &path) { chosen << path; });
    f.chooser.queueAnswer(QString());
    f.chooser.queueAnswer(QStringLiteral("/videos/match.avi"));
    f.panel.cmdMoveiFile_Click();
    EXPECT_EQ(chosen.count(), 0);
    f.panel.cmdMoveiFile_Click();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0), QStringLiteral("/videos/match.avi"));
    ASSERT_EQ(f.chooser.requests().size(), 2);
    EXPECT_EQ(f.chooser.requests().at(0),
              QStringList{QStringLiteral("メディアファイル(*.avi,*.wmv,*.wma,*.mp3,*.mpg2,*.mpg) (*.avi *.wmv *.wma *.mp3 *.mpg2 *.mpg)")});
}
