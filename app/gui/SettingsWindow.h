#pragma once

#include <QWidget>

class MainSettings;
class SettingsEffects;

// What the settings dialogs share: a tool window with its title and a close button, living
// hidden for the whole run, and the settings it edits with the effects that apply them.
class SettingsWindow : public QWidget
{
protected:
    SettingsWindow(MainSettings &settings, SettingsEffects &effects, const QString &title, QWidget *parent);

    MainSettings &m_settings;
    SettingsEffects &m_effects;
};
