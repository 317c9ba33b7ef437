#pragma once
// Window-wide effects of the settings: whole-window opacity, always-on-top, and placing a tool
// window at a position given in screen twips.

#include "platform/Twips.h"

class QWidget;

// alpha 0..255 becomes the window's opacity; colourKey = true removes any whole-window alpha
// (opacity 1), leaving only the areas the window itself keeps see-through.
void applyWindowOpacity(QWidget *window, int alpha, bool colourKey);

// Toggles Qt::WindowStaysOnTopHint. Changing window flags hides a window and may let the window
// manager place it anew, so the geometry and state are restored and a visible window is shown
// again: the window neither moves nor changes size.
void setAlwaysOnTop(QWidget *window, bool on);

// Moves a window to a point in screen twips (pixels = twips × dpi ÷ 1440), kept inside the
// available area of the screen it lands on so that no dialog opens out of reach, and shows it.
void showAtTwips(QWidget *window, const TwipsPoint &twips);
