#include "app/gui/SettingsDialogs.h"

#include "app/MainSettings.h"
#include "platform/gui/WindowEffects.h"
#include "app/gui/formFont.h"
#include "app/gui/formScrollSetting.h"
#include "app/gui/formToumei.h"

SettingsDialogs::SettingsDialogs(MainSettings &settings, QWidget *owner)
    : m_settings(settings)
    , m_owner(owner)
{
}

SettingsDialogs::~SettingsDialogs()
{
    if (m_providerInstalled)
        setFontSelectionProvider(nullptr);
    // The dialogs refer to m_effects and m_settings: delete them before those go.
    delete m_toumeiDialog.data();
    delete m_fontDialog.data();
    delete m_settingsDialog.data();
}

formScrollSetting *SettingsDialogs::settingsDialog()
{
    if (!m_settingsDialog)
        m_settingsDialog = new formScrollSetting(m_settings, m_effects, m_owner.data());
    return m_settingsDialog;
}

formFont *SettingsDialogs::fontDialog()
{
    if (!m_fontDialog)
        m_fontDialog = new formFont(m_settings, m_effects, m_owner.data());
    return m_fontDialog;
}

formToumei *SettingsDialogs::toumeiDialog()
{
    if (!m_toumeiDialog)
        m_toumeiDialog = new formToumei(m_settings, m_effects, m_owner.data());
    return m_toumeiDialog;
}

void SettingsDialogs::fillListsAndInitialSelections()
{
    settingsDialog()->fillScrollSpeedAndMax();
    fontDialog()->fillFontList();
    fontDialog()->fillColourAndSize();
    settingsDialog()->fillMaxRowAndReplay();
}

int SettingsDialogs::fontSelection(FontDialogList list)
{
    formFont *dialog = fontDialog();
    if (!dialog->listsFilled()) {
        dialog->fillFontList();
        dialog->fillColourAndSize();
    }
    switch (list) {
    case FontDialogList::Font:
        return dialog->initialFontIndex();
    case FontDialogList::Size:
        return formFont::initialFontSizeIndex();
    case FontDialogList::Colour:
        return formFont::initialFontColourIndex();
    }
    return -1;
}

void SettingsDialogs::installFontSelectionProvider()
{
    // The provider refers to this object; the destructor removes it.
    setFontSelectionProvider([this](FontDialogList list) { return fontSelection(list); });
    m_providerInstalled = true;
}

void SettingsDialogs::showSettingsDialog(const ButtonRelease &release)
{
    showAtTwips(settingsDialog(), scrollSettingPosition(release));
}

void SettingsDialogs::showFontDialog(const ButtonRelease &release)
{
    showAtTwips(fontDialog(), fontDialogPosition(release));
}

void SettingsDialogs::showToumeiDialog(const ButtonRelease &release)
{
    showAtTwips(toumeiDialog(), toumeiDialogPosition(release));
}

void SettingsDialogs::closeAll()
{
    if (m_toumeiDialog)
        m_toumeiDialog->close();
    if (m_fontDialog)
        m_fontDialog->close();
    if (m_settingsDialog)
        m_settingsDialog->close();
}
