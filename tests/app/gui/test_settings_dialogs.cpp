// The three settings dialogs: handlers run on selection and set MainSettings, effects reach the
// main window through SettingsEffects, closing only hides, and the window-wide operations.
#include "app/MainSettings.h"
#include "app/SettingsEffects.h"
#include "app/gui/SettingsDialogs.h"
#include "platform/gui/WindowEffects.h"
#include "app/gui/formFont.h"
#include "app/gui/formScrollSetting.h"
#include "app/gui/formToumei.h"
#include "core/TextStore.h"

#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Types text into a widget key by key, as the user would.
void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &release);
    }
}

class SettingsDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialogs = std::make_unique<SettingsDialogs>(settings, nullptr);
        QObject::connect(&dialogs->effects(), &SettingsEffects::opacityChanged,
                         [this](int alpha, bool key) { opacity.push_back({alpha, key}); });
        QObject::connect(&dialogs->effects(), &SettingsEffects::countdownVisibleChanged,
                         [this](bool visible) { countdown.push_back(visible); });
        QObject::connect(&dialogs->effects(), &SettingsEffects::replayIntervalChanged,
                         [this](int ms) { replayInterval.push_back(ms); });
        QObject::connect(&dialogs->effects(), &SettingsEffects::templateLookChanged,
                         [this] { ++lookChanges; });
    }

    formScrollSetting *scroll() { return dialogs->settingsDialog(); }
    formFont *font() { return dialogs->fontDialog(); }

    MainSettings settings;
    std::unique_ptr<SettingsDialogs> dialogs;
    std::vector<std::pair<int, bool>> opacity;
    std::vector<bool> countdown;
    std::vector<int> replayInterval;
    int lookChanges = 0;
};

TEST_F(SettingsDialogsTest, StartupFillSelectsInitialEntriesAndRunsTheirHandlers)
{
    settings.intScroll = 0;
    settings.intMaxRow = 0;
    settings.intRegetWmp = 0;
    settings.varFontSize = 0;
    dialogs->fillListsAndInitialSelections();

    EXPECT_EQ(scroll()->ComboScrollSpeed->currentText(), QStringLiteral("普通"));
    EXPECT_EQ(scroll()->comboMax->currentText(), QStringLiteral("10"));
    EXPECT_EQ(scroll()->comboMaxRow->currentText(), QStringLiteral("2"));
    EXPECT_EQ(scroll()->ComboMaxWmp->currentText(), QStringLiteral("2"));
    EXPECT_EQ(scroll()->comboRegetTime->currentText(), QStringLiteral("1"));
    EXPECT_EQ(font()->comboFontSize->currentText(), QStringLiteral("18"));
    EXPECT_EQ(font()->comboFontColor->currentText(), QStringLiteral("デフォルト"));
    EXPECT_EQ(font()->comboFont->currentIndex(), font()->initialFontIndex());

    EXPECT_EQ(settings.intScroll, 5);
    EXPECT_EQ(settings.intMaxRow, 2);
    EXPECT_EQ(settings.intRegetWmp, 1);
    EXPECT_EQ(settings.varFontSize, 18);
    EXPECT_EQ(replayInterval, std::vector<int>{1000});
    EXPECT_EQ(settings.templates.lblMsg.family, font()->comboFont->currentText());

    // Filling again (a second start-up call) does not duplicate entries.
    dialogs->fillListsAndInitialSelections();
    EXPECT_EQ(scroll()->ComboScrollSpeed->count(), 3);
    EXPECT_EQ(scroll()->comboMaxRow->count(), 5);
    EXPECT_EQ(font()->comboFontSize->count(), 5);

    EXPECT_TRUE(scroll()->isHidden());
    EXPECT_TRUE(font()->isHidden());
}

TEST_F(SettingsDialogsTest, SettingsDialogHandlersSetTheVariables)
{
    dialogs->fillListsAndInitialSelections();
    formScrollSetting *d = scroll();

    d->ComboScrollSpeed->setCurrentIndex(2); // "遅い"
    EXPECT_EQ(settings.intScroll, 8);
    d->ComboScrollSpeed->setCurrentIndex(0); // "早い"
    EXPECT_EQ(settings.intScroll, 3);
    d->ComboScrollSpeed->setCurrentIndex(-1);
    EXPECT_EQ(settings.intScroll, 3); // no selection changes nothing

    d->comboMaxRow->setCurrentIndex(4); // "全て"
    EXPECT_EQ(settings.intMaxRow, 10);
    d->comboMaxRow->setCurrentIndex(2);
    EXPECT_EQ(settings.intMaxRow, 3);
    // Typing into the editable box.
    d->comboMaxRow->lineEdit()->clear();
    typeText(d->comboMaxRow->lineEdit(), QStringLiteral("7"));
    EXPECT_EQ(d->comboMaxRow->currentText(), QStringLiteral("7"));
    EXPECT_EQ(settings.intMaxRow, 10);
    d->comboMaxRow->lineEdit()->clear();
    typeText(d->comboMaxRow->lineEdit(), QStringLiteral("4"));
    EXPECT_EQ(settings.intMaxRow, 4);

    d->comboRegetTime->setCurrentIndex(3);
    EXPECT_EQ(settings.intRegetWmp, 4);
    EXPECT_EQ(replayInterval.back(), 4000);

    d->chkIsDat->setChecked(false);
    EXPECT_FALSE(settings.blnIsDatMode);
    d->chkIsDat->setChecked(true);
    EXPECT_TRUE(settings.blnIsDatMode);
    d->chkOutLineMode->setChecked(true);
    EXPECT_TRUE(settings.blnIsOutLineModeOn);

    d->chkCowntDown->setChecked(false);
    ASSERT_FALSE(countdown.empty());
    EXPECT_FALSE(countdown.back()); // hidden at once
    d->chkCowntDown->click();
    EXPECT_TRUE(countdown.back());

    d->Option1[2]->click(); // "何もしない"
    EXPECT_EQ(settings.intNextWhen1000, 2);
    d->Option1_Click(0); // handler called directly selects its button too
    EXPECT_TRUE(d->Option1[0]->isChecked());
    EXPECT_FALSE(d->Option1[2]->isChecked());
    EXPECT_EQ(settings.intNextWhen1000, 0);
}

TEST_F(SettingsDialogsTest, ControlsStartFromMainSettings)
{
    settings.blnIsDatMode = false;
    settings.blnIsOutLineModeOn = true;
    settings.intNextWhen1000 = 2;
    formScrollSetting *d = scroll();
    EXPECT_FALSE(d->chkIsDat->isChecked());
    EXPECT_TRUE(d->chkOutLineMode->isChecked());
    EXPECT_TRUE(d->Option1[2]->isChecked());
    EXPECT_TRUE(d->chkCowntDown->isChecked());
    EXPECT_EQ(d->Label1->text(), QStringLiteral("動画窓のみ透明"));
    EXPECT_EQ(d->chkOutLineMode->toolTip(), QStringLiteral("ちと重くなります。。。"));
    EXPECT_EQ(d->windowTitle(), QStringLiteral("コンフィグ"));
}

TEST_F(SettingsDialogsTest, OpacitySlidersOfBothDialogs)
{
    formScrollSetting *d = scroll();
    d->HScroll1->setValue(80);
    EXPECT_EQ(d->Label1->text(), QStringLiteral("不透明度：20%"));
    EXPECT_EQ(settings.lngToumeido, 80);
    ASSERT_EQ(opacity.size(), 1u);
    EXPECT_EQ(opacity.back(), std::make_pair(51, false));

    d->HScroll1->setValue(90);
    EXPECT_EQ(d->Label1->text(), QStringLiteral("不透明度：15%"));
    EXPECT_EQ(opacity.back(), std::make_pair(40, false));

    d->HScroll1->setValue(0);
    EXPECT_EQ(d->Label1->text(), QStringLiteral("動画窓のみ透明"));
    EXPECT_TRUE(opacity.back().second);
    EXPECT_EQ(settings.lngToumeido, 0);

    // The transparency dialog's caption is its label.
    formToumei *t = dialogs->toumeiDialog();
    EXPECT_EQ(t->windowTitle(), QStringLiteral("透明度"));
    t->HScroll1->setValue(80);
    EXPECT_EQ(t->windowTitle(), QStringLiteral("不透明度：20%"));
    EXPECT_EQ(settings.lngToumeido, 80);
    EXPECT_EQ(opacity.back(), std::make_pair(51, false));

    // Shown again, the settings dialog's slider follows the opacity set elsewhere, without
    // applying it a second time.
    const size_t applied = opacity.size();
    d->show();
    EXPECT_EQ(d->HScroll1->value(), 80);
    EXPECT_EQ(d->Label1->text(), QStringLiteral("不透明度：20%"));
    EXPECT_EQ(opacity.size(), applied);
    d->HScroll1->setValue(30);
    t->show();
    EXPECT_EQ(t->HScroll1->value(), 30);
    EXPECT_EQ(t->windowTitle(), QStringLiteral("不透明度：70%"));
    d->hide();
    t->hide();
}

TEST_F(SettingsDialogsTest, FontDialogSetsTemplatesAndColoursItsList)
{
    font()->fillFontList({QStringLiteral("Alpha"), QStringLiteral("Beta")}, {});
    font()->fillColourAndSize();
    const int before = lookChanges;

    font()->comboFont->setCurrentIndex(1);
    EXPECT_EQ(settings.templates.lblMsg.family, QStringLiteral("Beta"));
    EXPECT_EQ(settings.templates.lblWmpMsg.family, QStringLiteral("Beta"));
    EXPECT_TRUE(settings.templates.lblMsgKage.family.isEmpty()); // shadows only at start-up

    font()->comboFontSize->setCurrentIndex(4); // "22"
    EXPECT_EQ(settings.varFontSize, 22);
    const CommentTemplates &t = settings.templates;
    for (const TemplateFont *f : {&t.lblMsg, &t.lblMsgKage, &t.lblWmpMsg, &t.lblWmpMsgKage,
                                  &t.PictureMsg, &t.PictureWmpMsg, &t.Label4, &t.Label5})
        EXPECT_EQ(f->size, 22);

    font()->comboFontColor->setCurrentIndex(3); // "アンニュイ"
    const RgbColor annui{128, 128, 0};
    EXPECT_EQ(settings.varFontColor, annui);
    EXPECT_EQ(settings.templates.lblMsgForeColor, annui);
    EXPECT_EQ(settings.templates.lblWmpMsgForeColor, (RgbColor{192, 192, 255})); // start-up copies it
    EXPECT_EQ(font()->comboFontColor->palette().color(QPalette::Text), QColor(128, 128, 0));
    EXPECT_EQ(font()->comboFontColor->palette().color(QPalette::ButtonText), QColor(128, 128, 0));
    EXPECT_EQ(lookChanges, before + 3);
}

TEST_F(SettingsDialogsTest, CloseOnlyHidesAndKeepsTheControls)
{
    dialogs->fillListsAndInitialSelections();
    formScrollSetting *d = scroll();
    QPointer<formScrollSetting> alive(d);
    d->show();
    d->ComboScrollSpeed->setCurrentIndex(2);
    d->cmdClose->click();
    EXPECT_TRUE(d->isHidden());
    d->show();
    EXPECT_TRUE(d->close());
    QCoreApplication::processEvents();
    ASSERT_TRUE(alive);
    EXPECT_TRUE(d->isHidden());
    EXPECT_EQ(d->ComboScrollSpeed->currentIndex(), 2);
    EXPECT_EQ(dialogs->settingsDialog(), d); // the same dialog comes back

    font()->show();
    font()->cmdClose->click();
    EXPECT_TRUE(font()->isHidden());

    formToumei *t = dialogs->toumeiDialog();
    t->show();
    t->close();
    EXPECT_TRUE(t->isHidden());
    EXPECT_EQ(dialogs->toumeiDialog(), t);
}

TEST_F(SettingsDialogsTest, ProviderGivesTheFontDialogsInitialSelections)
{
    testsupport::TempProgramFolder folder;
    dialogs->installFontSelectionProvider();
    const QString cfg = folder.file(QStringLiteral("livecfg.txt"));
    testsupport::writeBytes(cfg, QByteArray("\r\n100\r\n100\r\n10170\r\n4590\r\n\r\n\r\n\r\n"));

    // The font dialog is created and filled on demand.
    const QString fontLine = readFileLine(cfg, 6);
    ASSERT_TRUE(font()->listsFilled());
    EXPECT_EQ(fontLine, QString::number(font()->initialFontIndex()));
    EXPECT_EQ(readFileLine(cfg, 7), QStringLiteral("2"));
    EXPECT_EQ(readFileLine(cfg, 8), QStringLiteral("0"));

    // The defaults stay the initial selections after the user chooses other entries.
    font()->comboFontSize->setCurrentIndex(0);
    EXPECT_EQ(readFileLine(cfg, 7), QStringLiteral("2"));

    dialogs.reset(); // removes the provider with the dialogs
    EXPECT_EQ(readFileLine(cfg, 7), QStringLiteral("-1"));
}

TEST(WindowEffects, AlwaysOnTopKeepsGeometryAndVisibility)
{
    QWidget window;
    window.setGeometry(120, 140, 400, 200);
    window.show();
    ASSERT_TRUE(testsupport::waitUntil([&] { return window.isVisible(); }));
    const QRect before = window.geometry();

    setAlwaysOnTop(&window, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), before);

    setAlwaysOnTop(&window, false);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), before);

    // A hidden window stays hidden.
    window.hide();
    setAlwaysOnTop(&window, true);
    EXPECT_TRUE(window.isHidden());
    EXPECT_EQ(window.geometry(), before);
}

TEST(WindowEffects, OpacityAndColourKey)
{
    QWidget window;
    applyWindowOpacity(&window, 51, false);
    EXPECT_NEAR(window.windowOpacity(), 51 / 255.0, 0.01);
    applyWindowOpacity(&window, 51, true);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
}

TEST(WindowEffects, DialogOpensInsideTheScreen)
{
    QWidget dialog(nullptr, Qt::Tool);
    dialog.resize(200, 150);
    showAtTwips(&dialog, TwipsPoint{-3000, -5000}); // above and left of the screen
    const QRect area = dialog.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(dialog.frameGeometry().topLeft()));
    showAtTwips(&dialog, TwipsPoint{1500, 1500});
    EXPECT_EQ(dialog.pos(), QPoint(100 * dialog.screen()->logicalDotsPerInch() / 96,
                                   100 * dialog.screen()->logicalDotsPerInch() / 96));
}

} // namespace
