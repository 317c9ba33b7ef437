#pragma once
// The font dialog "フォント設定": the comment font, its colour scheme and its size. Each choice
// acts at once on the comment templates and the main window's variables; "閉じる" and the
// window's close only hide the dialog.

#include <QStringList>
#include "app/gui/SettingsWindow.h"

struct MainSettings;
class SettingsEffects;
class QComboBox;
class QPushButton;

class formFont : public SettingsWindow
{
    Q_OBJECT
public:
    // settings and effects must outlive the dialog.
    formFont(MainSettings &settings, SettingsEffects &effects, QWidget *parent = nullptr);

    // Start-up fills (each clears the list first). The font list takes the system's families in
    // enumeration order and selects the initial font (see settingsrules::initialFontIndex).
    void fillFontList();
    void fillFontList(const QStringList &families, const QStringList &japaneseCapable);
    // Colour list ("デフォルト" selected), then size list ("18" selected).
    void fillColourAndSize();
    bool listsFilled() const;

    // Initial selection of each list, as the fills make it: the defaults of settings lines 6-8.
    int initialFontIndex() const { return m_initialFontIndex; }
    static int initialFontSizeIndex();
    static int initialFontColourIndex();

    void comboFont_Click();
    void comboFontSize_Click();
    void comboFontColor_Click();
    void cmdClose_Click();

    QComboBox *comboFont;
    QComboBox *comboFontColor;
    QComboBox *comboFontSize;
    QPushButton *cmdClose;

private:
    int m_initialFontIndex = -1;
    bool m_fontListFilled = false;
    bool m_colourAndSizeFilled = false;
};
