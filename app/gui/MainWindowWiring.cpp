#include "app/gui/MainWindowWiring.h"

#include "app/gui/formMain.h"

void wireOtherWindows(formMain &main)
{
    // Each window's developer adds its creation and hooks here (see app/gui/MainWindowHooks.h).
    (void)main;
}
