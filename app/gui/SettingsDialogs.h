#pragma once
// The three settings dialogs of the main window, created hidden on first use and kept for the
// whole run, with the start-up operations that fill their lists and the seam that gives the
// settings file the font dialog's initial selections.

#include "app/DialogPlacement.h"
#include "app/SettingsEffects.h"
#include "app/SettingsFile.h"
#include "core/TextStore.h"

#include <QObject>
#include <QPointer>

struct MainSettings;
class QWidget;
class formFont;
class formScrollSetting;
class formToumei;

class SettingsDialogs : public QObject
{
    Q_OBJECT
public:
    // settings must outlive this object. owner (the main window, may be null) is the dialogs'
    // parent widget, so they stay above it as tool windows.
    SettingsDialogs(MainSettings &settings, QWidget *owner);
    // Deletes the dialogs and removes the font-selection provider, which refers to this object.
    ~SettingsDialogs() override;

    // Handlers' effects on the main window; connect before the first dialog is created so the
    // start-up selections reach the window too.
    SettingsEffects &effects() { return m_effects; }

    formScrollSetting *settingsDialog();
    formFont *fontDialog();
    formToumei *toumeiDialog();

    // The start-up's list fills and initial selections, in its order: scroll speed "普通" and
    // comboMax "10"; the font list; colour "デフォルト" and size "18"; comboMaxRow "2",
    // ComboMaxWmp "2", comboRegetTime "1". Each selection runs its handler.
    void fillListsAndInitialSelections();

    // Makes readFileLine's defaults of settings lines 6-8 the font dialog's initial selections
    // (font, size, colour index), creating and filling the font dialog if needed.
    void installFontSelectionProvider();

    // Opening from the main window's buttons (positions in screen twips).
    void showSettingsDialog(const ButtonRelease &release);
    void showFontDialog(const ButtonRelease &release);
    void showToumeiDialog(const ButtonRelease &release);

    // Settings lines 6-16 as the dialogs' selections: read with the font dialog's initial
    // selections as the defaults of lines 6-8, applied by selecting the entries (each selection
    // runs its handler; the font choices are copied to the label templates), and read back for
    // closing. Line 17, the view mode, belongs to the main window.
    DialogSettings readDialogSettings(const QString &path);
    void applyDialogSettings(const DialogSettings &d);
    DialogSettings dialogSettings();

    // Closing order of the main window: transparency, font, settings dialog.
    void closeAll();

private:
    int fontSelection(FontDialogList list);

    MainSettings &m_settings;
    QPointer<QWidget> m_owner;
    SettingsEffects m_effects;
    QPointer<formScrollSetting> m_settingsDialog;
    QPointer<formFont> m_fontDialog;
    QPointer<formToumei> m_toumeiDialog;
    bool m_providerInstalled = false;
};
