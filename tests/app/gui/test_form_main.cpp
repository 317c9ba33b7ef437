// The main window without a server: start-up from the settings file, closing, layout, view
// modes, chrome and the commands that need no thread.

#include "app/FetchMessages.h"
#include "app/LiveSession.h"
#include "app/SettingsFile.h"
#include "app/gui/BoardTreeView.h"
#include "net/BoardTreeModel.h"
#include "app/gui/SettingsDialogs.h"
#include "platform/gui/TitleBar.h"
#include "platform/gui/TitleStrip.h"
#include "app/gui/formFont.h"
#include "app/gui/formNgSettings.h"
#include "app/gui/MainWindowWiring.h"
#include "app/gui/formMain.h"
#include "app/gui/formScrollSetting.h"
#include "replay/gui/frameWmpControl.h"
#include "net/ThreadChannel.h"
#include "platform/Cp932.h"
#include "platform/gui/DesktopServices.h"
#include "present/gui/LabelStrip.h"
#include "present/gui/MarqueeSurface.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QAction>
#include <QLineEdit>
#include "app/gui/ThreadTitlePopup.h"
#include "platform/gui/ModelListView.h"

#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList openedAddresses;
bool recordOpen(const QString &address)
{
    openedAddresses << address;
    return true;
}

class MainWindowTest : public ::testing::Test
{
protected:
    std::unique_ptr<formMain> open()
    {
        auto w = std::make_unique<formMain>();
        w->Form_Load();
        return w;
    }
    void writeSettings(const QByteArray &text)
    {
        testsupport::writeBytes(settingsFilePath(), text);
    }
    QList<QByteArray> settingsLines() const
    {
        const QByteArray bytes = testsupport::readBytes(settingsFilePath());
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        QList<QByteArray> lines = bytes.split('\n');
        lines.removeLast(); // after the final line end
        for (QByteArray &l : lines) {
            EXPECT_TRUE(l.endsWith('\r'));
            l.chop(1);
        }
        return lines;
    }
    int px(double twips, const QWidget &w) const { return twipsToPixels(twips, w.logicalDpiX()); }

    testsupport::TempProgramFolder home;
    testsupport::RecordedMessages messages;
};

TEST_F(MainWindowTest, FirstStartTakesTheDefaultsAndClosingWritesSeventeenLines)
{
    auto w = open();
    EXPECT_EQ(w->x(), px(100, *w));
    EXPECT_EQ(w->y(), px(100, *w));
    EXPECT_EQ(w->width(), px(10170, *w));
    EXPECT_EQ(w->height(), px(4590, *w));
    EXPECT_FALSE(hasSystemTitleBar(w.get()));
    EXPECT_EQ(w->comboMode->currentText(), QStringLiteral("モード１"));
    EXPECT_EQ(w->settings().intViewMode, 1);
    formScrollSetting *config = w->dialogs().settingsDialog();
    formFont *font = w->dialogs().fontDialog();
    EXPECT_EQ(config->comboMax->currentText(), QStringLiteral("15"));
    EXPECT_EQ(config->comboMaxRow->currentText(), QStringLiteral("2"));
    EXPECT_TRUE(config->chkCowntDown->isChecked());
    EXPECT_TRUE(config->chkIsDat->isChecked());
    EXPECT_FALSE(config->chkOutLineMode->isChecked());
    EXPECT_EQ(config->ComboMaxWmp->currentText(), QStringLiteral("2"));
    EXPECT_EQ(config->comboRegetTime->currentText(), QStringLiteral("1"));
    EXPECT_TRUE(config->Option1[1]->isChecked());
    EXPECT_EQ(w->settings().intNextWhen1000, 1);
    EXPECT_EQ(font->comboFontSize->currentText(), QStringLiteral("18"));
    EXPECT_EQ(font->comboFontColor->currentText(), QStringLiteral("デフォルト"));
    EXPECT_EQ(w->settings().intScroll, 5);
    EXPECT_TRUE(w->lblCountDown->text().isEmpty());
    EXPECT_EQ(w->Command1->text(), QStringLiteral("開始"));
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_EQ(w->TimerRegetTag(), QStringLiteral("0"));
    EXPECT_FALSE(w->isRegetTimerEnabled());

    int unloaded = 0;
    QObject::connect(w.get(), &formMain::unloaded, [&] { ++unloaded; });
    w->close();
    EXPECT_EQ(unloaded, 1);
    const QList<QByteArray> lines = settingsLines();
    ASSERT_EQ(lines.size(), 17);
    EXPECT_TRUE(lines[0].isEmpty());
    EXPECT_EQ(lines.mid(1, 4), (QList<QByteArray>{"100", "100", "10170", "4590"}));
    EXPECT_EQ(lines.mid(6), (QList<QByteArray>{"2", "0", "1", "1", "1", "1", "0", "1", "0", "1", "0"}));
}

TEST_F(MainWindowTest, SettingsLinesThatAreMissingDamagedOrOutOfRangeTakeTheirDefaults)
{
    struct Case
    {
        const char *name;
        QByteArray file;
        int maxIndex, maxRowIndex, colourIndex, nextWhen1000, viewMode;
    };
    const QList<Case> cases = {
        {"lines 1-5 only", "http://menu/\r\n200\r\n300\r\n9000\r\n4000\r\n", 1, 1, 0, 1, 0},
        {"non-numeric", "\r\n200\r\n300\r\n9000\r\n4000\r\n0\r\nx\r\ny\r\nz\r\n1.5\r\n", 1, 1, 0, 1, 0},
        {"out of range", "\r\n200\r\n300\r\n9000\r\n4000\r\n0\r\n9\r\n4\r\n5\r\n-1\r\n1\r\n1\r\n0\r\n1\r\n0\r\n3\r\n3\r\n",
         1, 1, 0, 1, 0},
        {"all set", "\r\n200\r\n300\r\n9000\r\n4000\r\n0\r\n1\r\n3\r\n4\r\n4\r\n0\r\n1\r\n1\r\n3\r\n3\r\n2\r\n1\r\n",
         4, 4, 3, 2, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeSettings(c.file);
        auto w = open();
        EXPECT_EQ(w->x(), px(300, *w));
        EXPECT_EQ(w->y(), px(200, *w));
        EXPECT_EQ(w->width(), px(9000, *w));
        EXPECT_EQ(w->height(), px(4000, *w));
        formScrollSetting *config = w->dialogs().settingsDialog();
        EXPECT_EQ(config->comboMax->currentIndex(), c.maxIndex);
        EXPECT_EQ(config->comboMaxRow->currentIndex(), c.maxRowIndex);
        EXPECT_EQ(w->dialogs().fontDialog()->comboFontColor->currentIndex(), c.colourIndex);
        EXPECT_EQ(w->settings().intNextWhen1000, c.nextWhen1000);
        EXPECT_EQ(w->comboMode->currentIndex(), c.viewMode);
        EXPECT_EQ(w->settings().intViewMode, c.viewMode + 1);
        w->close();
        // Whatever was read, the file written back has seventeen lines and keeps line 1.
        const QList<QByteArray> lines = settingsLines();
        EXPECT_EQ(lines.size(), 17);
        EXPECT_EQ(lines[0], c.file.left(c.file.indexOf('\r')));
    }
}

TEST_F(MainWindowTest, GreyChosenInTheFontDialogIsLineEightAndComesBack)
{
    {
        auto w = open();
        w->dialogs().fontDialog()->comboFontColor->setCurrentIndex(1); // "灰色"
        w->close();
    }
    EXPECT_EQ(settingsLines().value(7), QByteArray("1"));
    auto w = open();
    EXPECT_EQ(w->settings().varFontColor, (RgbColor{128, 128, 128}));
    EXPECT_EQ(w->settings().templates.lblMsgForeColor, (RgbColor{128, 128, 128}));
}

TEST_F(MainWindowTest, OptionsComeBackFromOptionsIniAndLeaveTheSeventeenLinesAlone)
{
    // With the replay panel, whose offset is kept there too.
    const auto open = [] {
        auto w = std::make_unique<formMain>();
        wireOtherWindows(*w);
        w->Form_Load();
        return w;
    };
    {
        auto w = open();
        formScrollSetting *config = w->dialogs().settingsDialog();
        EXPECT_FALSE(config->chkLanes->isChecked());
        EXPECT_FALSE(config->chkSpread->isChecked());
        EXPECT_FALSE(config->chkNextByTitle->isChecked());
        config->chkLanes->setChecked(true);
        config->chkNextByTitle->setChecked(true);
        w->findChild<frameWmpControl *>()->setOffsetSeconds(-25);
        EXPECT_TRUE(w->settings().options.commentLanes);
        w->close();
    }
    EXPECT_EQ(settingsLines().size(), 17);
    auto w = open();
    EXPECT_TRUE(w->dialogs().settingsDialog()->chkLanes->isChecked());
    EXPECT_TRUE(w->settings().options.nextByTitle);
    EXPECT_EQ(w->findChild<frameWmpControl *>()->offsetSeconds(), -25);
    EXPECT_TRUE(w->settings().options.commentLanes);
    EXPECT_TRUE(w->lblMsgStrip->model().lanes());
    EXPECT_FALSE(w->settings().options.spreadBursts);
}

TEST_F(MainWindowTest, NgRulesLoadWithOneMessageForBadLinesAndTheDialogWritesThem)
{
    testsupport::writeBytes(ngRulesFilePath(), "# keep\nword\tspam\ncolour\tred\n");
    auto w = open();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().first().contains(QStringLiteral("3行目")));
    EXPECT_EQ(w->ng().matcher().ruleCount(), 1);

    w->menuNg->trigger();
    auto *dialog = w->findChild<formNgSettings *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("NG設定"));
    ASSERT_EQ(dialog->listRules->count(), 1);
    dialog->comboKind->setCurrentText(QStringLiteral("id"));
    dialog->txtValue->setText(QStringLiteral("ID:Ab12"));
    dialog->cmdAdd_Click();
    dialog->listRules->setCurrentRow(0);
    dialog->cmdDelete_Click();
    EXPECT_EQ(testsupport::readBytes(ngRulesFilePath()), QByteArray("# keep\ncolour\tred\nid\tID:Ab12\n"));
    EXPECT_TRUE(w->ng().matcher().matches(NgSubject{{}, {}, QStringLiteral("ID:Ab12"), {}}));
    // The rules are the comment pipeline's filter stage, for every view.
    ASSERT_EQ(w->session().responseFilter(), &w->ng());
    ResponseFields fields;
    fields.dateId = QStringLiteral("2024/01/01 ID:Ab12");
    EXPECT_TRUE(w->session().responseFilter()->hides(fields));
    // The bottom panel counts what the rules hid, only while there is a rule; Start resets it.
    EXPECT_EQ(w->ng().hiddenCount(), 1);
    w->showNgCount();
    EXPECT_EQ(w->lblNgCount->text(), QStringLiteral("NG: 1"));
    EXPECT_FALSE(w->lblNgCount->isHidden());
    // An empty value is refused with a message and nothing is written.
    dialog->txtValue->clear();
    dialog->cmdAdd_Click();
    EXPECT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(dialog->listRules->count(), 1);
    dialog->listRules->setCurrentRow(0);
    dialog->cmdDelete_Click();
    EXPECT_TRUE(w->lblNgCount->isHidden());
}

TEST_F(MainWindowTest, ViewModesSwitchTheSurfaceTheFontButtonAndTheKeyedColour)
{
    auto w = open();
    w->show();
    w->comboMode->setCurrentIndex(1);
    w->comboMode_Click();
    EXPECT_EQ(w->settings().intViewMode, 2);
    EXPECT_TRUE(w->WebScroll->isVisible());
    EXPECT_FALSE(w->cmdFont->isEnabled());
    ASSERT_TRUE(w->WebScroll->colourKey().has_value());
    EXPECT_EQ(qRed(*w->WebScroll->colourKey()), 0);
    EXPECT_EQ(qGreen(*w->WebScroll->colourKey()), 51);
    EXPECT_EQ(qBlue(*w->WebScroll->colourKey()), 102);

    // Whole-window opacity from the transparency slider ends with the next mode choice.
    w->setWindowOpacity(0.5);
    w->comboMode->setCurrentIndex(0);
    w->comboMode_Click();
    EXPECT_EQ(w->settings().intViewMode, 1);
    EXPECT_FALSE(w->WebScroll->isVisible());
    EXPECT_TRUE(w->cmdFont->isEnabled());
    EXPECT_DOUBLE_EQ(w->windowOpacity(), 1.0);

    // Mini mode hides the main window only when there is a mini window to show.
    w->comboMode->setCurrentIndex(2);
    w->comboMode_Click();
    EXPECT_EQ(w->settings().intViewMode, 3);
    EXPECT_TRUE(w->isVisible());
    int shown = 0;
    w->hooks().mini.show = [&] { ++shown; };
    w->comboMode_Click();
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(w->isHiddenForMini());
    w->comboMode->setCurrentIndex(1);
    w->comboMode_Click();
    EXPECT_TRUE(w->isVisible());
}

TEST_F(MainWindowTest, ClosingRemovesGeneratedPagesAndClosesTheOtherWindowsInOrder)
{
    auto w = open();
    testsupport::writeBytes(home.file(QStringLiteral("tempHtml2.html")), "<html></html>");
    testsupport::writeBytes(home.file(QStringLiteral("image/tempHtml3.html")), "<html></html>");
    QStringList order;
    w->hooks().imageViewer.close = [&] { order << "image"; };
    w->hooks().replay.closeStartTimeDialog = [&] { order << "start-time"; };
    w->hooks().tv.close = [&] { order << "tv"; };
    w->hooks().mini.close = [&] { order << "mini"; };
    w->hooks().threadList.close = [&] { order << "list"; };
    w->hooks().threadView.close = [&] { order << "view"; };
    w->close();
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("tempHtml2.html"))));
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("image/tempHtml3.html"))));
    EXPECT_EQ(order, (QStringList{"image", "start-time", "tv", "mini", "list", "view"}));

    // Missing pages and a settings file that cannot be written do not stop the closing.
    QFile::remove(settingsFilePath());
    ASSERT_TRUE(QDir().mkpath(settingsFilePath())); // a folder where the file should be
    auto second = open();
    int unloaded = 0;
    QObject::connect(second.get(), &formMain::unloaded, [&] { ++unloaded; });
    second->close();
    EXPECT_EQ(unloaded, 1);
    EXPECT_TRUE(QFileInfo(settingsFilePath()).isDir());
}

// A click on a thread entry shows its whole title, as text, in a pop-up below the pointer that
// hides itself after 1.5 seconds.
TEST_F(MainWindowTest, ThreadEntryClickShowsItsTitleUnderThePointerForASecondAndAHalf)
{
    auto w = open();
    w->show();
    const QString title = QStringLiteral("<b>とても長いスレッドタイトルの実況スレ</b> その１２３ (523)");
    w->boards().threads().setThreads({QStringLiteral("短い (1)"), title}, {QString(), QString()}, 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 20), w->List5->viewport()->mapToGlobal(QPointF(10, 20)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w->List5->viewport(), &move);
    w->List5->setCurrentRow(1);
    w->List5_Click();

    EXPECT_TRUE(w->PictureListbox->isVisible());
    EXPECT_EQ(w->lblList->text(), title);
    EXPECT_EQ(w->lblList->textFormat(), Qt::PlainText);
    const double twipsY = std::lround(pixelsToTwips(20, w->logicalDpiY()));
    EXPECT_EQ(w->PictureListbox->y(), w->List5->mapTo(w.get(), QPoint(0, 0)).y() + twipsToPixels(twipsY + 300, w->logicalDpiY()));
    EXPECT_GE(w->PictureListbox->width(), w->lblList->width());
    EXPECT_EQ(w->TimerList->interval(), 1500);
    EXPECT_TRUE(w->TimerList->isActive());

    QElapsedTimer shown;
    shown.start();
    ASSERT_TRUE(testsupport::waitUntil([&] { return !w->PictureListbox->isVisible(); }));
    EXPECT_GE(shown.elapsed(), 1400);
    EXPECT_FALSE(w->TimerList->isActive());
}

TEST_F(MainWindowTest, ResizeKeepsPanelsWhenNarrowerThanTheStrip)
{
    auto w = open();
    w->show();
    const int stripWidth = w->Frame1->width();
    const int bottomWidth = w->Frame2->width();
    ASSERT_GT(stripWidth, 100);
    w->resize(stripWidth - 50, w->height());
    EXPECT_EQ(w->Frame1->width(), stripWidth);
    EXPECT_EQ(w->Frame2->width(), bottomWidth);

    // Wider again: the strip follows the window, the side panel sits at its right.
    w->resize(px(12000, *w), px(5000, *w));
    EXPECT_EQ(w->Frame1->width(), px(12000 - 3000 - 70, *w));
    EXPECT_EQ(w->Frame3->x(), w->Frame1->width());
    EXPECT_EQ(w->Frame2->y(), px(w->layoutTwips().strip.bottom() + 10, *w));
}

TEST_F(MainWindowTest, CommandsWithoutAThreadTellTheUserAndDoNothing)
{
    auto w = open();
    openedAddresses.clear();
    platform::setBrowserOpener(&recordOpen);
    w->menuOpenIE_Click();
    EXPECT_EQ(messages.shown().value(0), QStringLiteral("スレッドを選択してください"));
    EXPECT_TRUE(openedAddresses.isEmpty());

    int webShown = 0;
    w->hooks().web.setAndMoveUrlAndShow = [&](const QString &) { ++webShown; };
    w->cmdWrite_Click();
    EXPECT_EQ(messages.shown().value(1), QStringLiteral("スレッドが選択されていません"));
    EXPECT_EQ(webShown, 0);

    // A double click on the thread list with nothing selected disables both Start buttons.
    QList<bool> miniStart;
    w->hooks().mini.setStartEnabled = [&](bool on) { miniStart << on; };
    w->Command1->setEnabled(true);
    w->boards().threads().setThreads({QStringLiteral("1: スレ (10)")},
                                     {QStringLiteral("http://h/test/read.cgi/b/123/l50")}, 0);
    w->List5->setCurrentRow(-1);
    w->List5_DblClick();
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_EQ(miniStart, QList<bool>{false});

    // With a selection: the thread becomes current and "ブラウザで開く" opens its address.
    w->List5->setCurrentRow(0);
    w->List5_DblClick();
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_EQ(w->Label3Caption(), QStringLiteral("http://h/test/read.cgi/b/123/l50"));
    EXPECT_EQ(w->lblCaptionText(), QStringLiteral("Kestrelon 1: スレ (10)"));
    w->menuOpenIE_Click();
    EXPECT_EQ(openedAddresses, QStringList{QStringLiteral("http://h/test/read.cgi/b/123/l50")});
    platform::setBrowserOpener(nullptr);
}

// Right releases pop up the menu of the list or tree they happen over, with the entries of that
// place; a release over the function button records where, in twips, for the transparency dialog.
TEST_F(MainWindowTest, MouseReleasesPopUpTheMenuOfTheirPlace)
{
    auto w = open();
    auto release = [](QWidget *target, Qt::MouseButton button, QPointF pos) {
        QMouseEvent e(QEvent::MouseButtonRelease, pos, target->mapToGlobal(pos), button, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    };
    release(w->List5->viewport(), Qt::RightButton, QPointF(5, 5));
    EXPECT_TRUE(w->menuOpen->isVisible());
    EXPECT_FALSE(w->menuOpenURL->isVisible());
    w->menuOpen->hide();
    w->Command2_Click();
    EXPECT_TRUE(w->menuOpenURL->isVisible());
    w->menuOpen->hide();

    release(w->TreeViewIta->viewport(), Qt::RightButton, QPointF(5, 5));
    EXPECT_TRUE(w->menuParent->isVisible());
    EXPECT_TRUE(w->menuAddFavoriteTree->isVisible());
    EXPECT_FALSE(w->menuAddFavorite->isVisible());
    w->menuParent->hide();

    release(w->cmdImageView, Qt::LeftButton, QPointF(10, 4));
    EXPECT_EQ(w->lngPopupX, std::lround(pixelsToTwips(10, w->logicalDpiX())));
    EXPECT_EQ(w->lngPopupY, std::lround(pixelsToTwips(4, w->logicalDpiY())));
}

TEST_F(MainWindowTest, StartWithAServerThatCannotBeConnectedToTellsOnceAndStaysReady)
{
    auto w = open();
    w->threadChannel().SetThreadIndex(QStringLiteral("host:notaport"), QStringLiteral("b"));
    w->threadChannel().setThreadNumber(QStringLiteral("123"));
    w->Command1->setEnabled(true);
    w->Command1_Click();
    EXPECT_EQ(messages.shown(), QStringList{connectFailedMessage()});
    EXPECT_EQ(messages.service().owners(), QList<const QObject *>{w.get()});
    EXPECT_EQ(w->Command1->text(), QStringLiteral("開始"));
    EXPECT_TRUE(w->Command1->isEnabled());
}

TEST_F(MainWindowTest, FavouritesStopAtABlankLineAndTheTreeNeedsABoard)
{
    testsupport::writeBytes(home.file(QStringLiteral("favorite.txt")),
                            platform::encodeCp932(QStringLiteral("実況--http://h/livenhk/subback.html\r\n\r\n"
                                                       "ニュース--http://h/news/")));
    auto w = open();
    EXPECT_EQ(w->comboFavorite->count(), 1);
    EXPECT_EQ(w->listFavoriteHide->count(), 1);
    EXPECT_EQ(w->comboFavorite->currentIndex(), -1); // none chosen until the user picks one

    // A category node of the tree is no board.
    BoardTreeModel &tree = w->boards().tree();
    tree.addNode(QStringLiteral("K1"), QStringLiteral("実況ch"), QString());
    tree.addNode(QStringLiteral("http://h/livetv/K1"), QStringLiteral("番組ch"), QStringLiteral("K1"));
    w->TreeViewIta->setCurrentIndex(tree.node(QStringLiteral("K1")));
    w->menuAddFavoriteTree_Click();
    EXPECT_EQ(messages.shown().value(0), QStringLiteral("板を選択してください"));

    // A board node is appended after the blank line, so it stays hidden.
    w->TreeViewIta->setCurrentIndex(tree.node(QStringLiteral("http://h/livetv/K1")));
    w->menuAddFavoriteTree_Click();
    EXPECT_EQ(w->comboFavorite->count(), 1);
    EXPECT_TRUE(testsupport::readBytes(home.file(QStringLiteral("favorite.txt")))
                    .endsWith(platform::encodeCp932(QStringLiteral("\r\n番組ch--http://h/livetv/"))));
}

} // namespace
