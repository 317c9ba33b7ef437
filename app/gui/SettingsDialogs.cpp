#include "app/gui/SettingsDialogs.h"

#include "app/MainSettings.h"
#include "platform/gui/WindowEffects.h"
#include "app/gui/formFont.h"
#include "app/gui/formScrollSetting.h"
#include "app/gui/formToumei.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

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

DialogSettings SettingsDialogs::readDialogSettings(const QString &path)
{
    formFont *font = fontDialog();
    FontListDefaults defaults;
    defaults.fontCount = font->comboFont->count();
    defaults.fontIndex = font->initialFontIndex();
    defaults.sizeIndex = formFont::initialFontSizeIndex();
    defaults.colourIndex = formFont::initialFontColourIndex();
    return loadDialogSettings(path, defaults);
}

void SettingsDialogs::applyDialogSettings(const DialogSettings &d)
{
    formFont *font = fontDialog();
    formScrollSetting *config = settingsDialog();
    font->comboFont->setCurrentIndex(d.fontIndex);
    m_settings.templates.copyFontNameFromLblMsg();
    font->comboFontSize->setCurrentIndex(d.fontSizeIndex);
    m_settings.templates.copyFontSizeFromLblMsg();
    font->comboFontColor->setCurrentIndex(d.fontColorIndex);
    m_settings.templates.copyForeColorFromLblMsg();
    config->comboMax->setCurrentIndex(d.maxIndex);
    config->comboMaxRow->setCurrentIndex(d.maxRowIndex);
    config->chkCowntDown->setChecked(d.countDown == 1);
    config->chkIsDat->setChecked(d.datMode == 1);
    config->chkOutLineMode->setChecked(d.outLineMode == 1);
    config->ComboMaxWmp->setCurrentIndex(d.maxWmpIndex);
    config->comboRegetTime->setCurrentIndex(d.regetTimeIndex);
    if (d.nextWhen1000 >= 0 && d.nextWhen1000 < 3)
        config->Option1[d.nextWhen1000]->setChecked(true);
}

DialogSettings SettingsDialogs::dialogSettings()
{
    formFont *font = fontDialog();
    formScrollSetting *config = settingsDialog();
    DialogSettings d;
    d.fontIndex = font->comboFont->currentIndex();
    d.fontSizeIndex = font->comboFontSize->currentIndex();
    d.fontColorIndex = font->comboFontColor->currentIndex();
    d.maxIndex = config->comboMax->currentIndex();
    d.maxRowIndex = config->comboMaxRow->currentIndex();
    d.countDown = config->chkCowntDown->isChecked() ? 1 : 0;
    d.datMode = config->chkIsDat->isChecked() ? 1 : 0;
    d.outLineMode = config->chkOutLineMode->isChecked() ? 1 : 0;
    d.maxWmpIndex = config->ComboMaxWmp->currentIndex();
    d.regetTimeIndex = config->comboRegetTime->currentIndex();
    d.nextWhen1000 = config->Option1[0]->isChecked() ? 0 : config->Option1[1]->isChecked() ? 1 : 2;
    return d;
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
