#pragma once
// The transparency dialog "透明度": one opacity slider; the window's caption serves as its
// label. Closing only hides it.

#include "app/gui/SettingsWindow.h"

struct MainSettings;
class SettingsEffects;
class QScrollBar;

class formToumei : public SettingsWindow
{
    Q_OBJECT
public:
    // settings and effects must outlive the dialog.
    formToumei(MainSettings &settings, SettingsEffects &effects, QWidget *parent = nullptr);

    void HScroll1_Change();

    QScrollBar *HScroll1;

protected:
    // The settings dialog may have moved the opacity while this one was hidden.
    void showEvent(QShowEvent *event) override;

private:
};
