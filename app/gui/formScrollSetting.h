#pragma once
// The settings dialog "コンフィグ": scroll speed, responses per fetch, lines per response,
// opacity, countdown, shadow text, dat mode, the action at 1000 responses and the replay
// settings. Every control acts the moment it changes; "閉じる" and the window's close only hide
// the dialog, so its controls keep the settings for the whole run. The presenters read
// comboMax, comboMaxRow, ComboMaxWmp and chkOutLineMode directly.

#include "app/gui/SettingsWindow.h"
#include <array>

struct MainSettings;
struct Options;
class SettingsEffects;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

class formScrollSetting : public SettingsWindow
{
    Q_OBJECT
public:
    // settings and effects must outlive the dialog.
    formScrollSetting(MainSettings &settings, SettingsEffects &effects, QWidget *parent = nullptr);

    // Start-up fills, each clearing the lists first and then making the initial selection
    // (which runs the handlers): the scroll-speed list ("普通") and comboMax ("10") ...
    void fillScrollSpeedAndMax();
    // ... and comboMaxRow ("2"), ComboMaxWmp ("2"), comboRegetTime ("1").
    void fillMaxRowAndReplay();

    // Change handlers (also run by programmatic selection).
    void ComboScrollSpeed_Click();
    void comboMaxRow_Change();
    void ComboMaxWmp_Click();
    void comboRegetTime_Click();
    void chkCowntDown_Click();
    void chkIsDat_Click();
    void chkOutLineMode_Click();
    void Option1_Click(int Index);
    void HScroll1_Change();
    // Sets the option check boxes (start-up, after options.ini is read); their handlers store
    // the values in the settings.
    void applyOptions(const Options &options);
    void cmdClose_Click();

    QComboBox *ComboScrollSpeed;
    QComboBox *comboMax;
    QComboBox *comboMaxRow; // editable
    QScrollBar *HScroll1;
    QLabel *Label1;
    QCheckBox *chkCowntDown;
    QCheckBox *chkOutLineMode;
    QCheckBox *chkIsDat;
    std::array<QRadioButton *, 3> Option1{};
    QComboBox *ComboMaxWmp;
    QComboBox *comboRegetTime;
    QCheckBox *chkLanes;  // "コメントを重ねない"
    QCheckBox *chkSpread; // "まとめて流さない"
    QCheckBox *chkNextByTitle; // "次スレを探す"
    QPushButton *cmdClose;

protected:
    // The transparency dialog may have moved the opacity while this one was hidden.
    void showEvent(QShowEvent *event) override;

private:
    void syncSliderFromSettings();

};
