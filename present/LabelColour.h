#pragma once
// Colour of a comment on the label strip (text labels and picture comments), chosen by the
// keywords of its text; the user's comment colour when none matches. Colours are 0xRRGGBB.

#include <QString>
#include <QtGlobal>

// "ｷﾀ" texts #FF8000, "ﾊｧﾊｧ" #FF00FF, "アッー！"/"ウホッ！" #C000C0, else fontColour.
quint32 labelColourFor(const QString &text, quint32 fontColour);
