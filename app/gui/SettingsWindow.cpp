#include "app/gui/SettingsWindow.h"

SettingsWindow::SettingsWindow(MainSettings &settings, SettingsEffects &effects, const QString &title,
                               QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_settings(settings)
    , m_effects(effects)
{
    setWindowTitle(title);
}
