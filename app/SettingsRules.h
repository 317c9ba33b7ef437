#pragma once
// What the settings dialogs' controls hold and how a choice turns into a setting value. The
// dialogs, the settings file and the start-up share these lists: a stored index means the entry
// at that position.

#include "app/MainSettings.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace settingsrules {

QStringList scrollSpeedEntries();   // "早い", "普通", "遅い"
QStringList maxResEntries();        // comboMax: "10" .. "30"
QStringList maxRowEntries();        // comboMaxRow: "1" .. "4", "全て"
QStringList replayEntries();        // ComboMaxWmp and comboRegetTime: "1" .. "4"
QStringList fontColourEntries();    // "デフォルト", "灰色", "肌色", "アンニュイ"
QStringList fontSizeEntries();      // "14" .. "22"
QStringList nextWhen1000Captions(); // the three Option1 captions, by index

// Initial selections the start-up makes after filling the lists.
constexpr int kInitialScrollSpeed = 1; // "普通"
constexpr int kInitialMaxRes = 0;      // "10"
constexpr int kInitialMaxRow = 1;      // "2"
constexpr int kInitialMaxWmp = 1;      // "2"
constexpr int kInitialRegetTime = 0;   // "1"
constexpr int kInitialFontColour = 0;  // "デフォルト"
constexpr int kInitialFontSize = 2;    // "18"

// The font the start-up looks for in the system's list.
QString preferredFontName();

// Index of the initial font in a font list: the last entry named like the preferred font;
// otherwise the first of a few Japanese-capable families usually found on Linux desktops
// ("Noto Sans CJK JP", "IPAPGothic", ...); otherwise the first family in japaneseCapable;
// otherwise 0. An empty list gives -1.
int initialFontIndex(const QStringList &families, const QStringList &japaneseCapable = {});

// Scroll-speed index → intScroll (3, 5, 8); any other index changes nothing.
std::optional<qint16> scrollForIndex(int index);

// Max-lines text → intMaxRow: "1" to "4" give that number, anything else 10.
qint16 maxRowForText(const QString &text);

// Replay-seconds text → n: "1" to "4", anything else 0.
qint16 replaySecondsForText(const QString &text);

// Colour-scheme index → text colour; nothing for an index outside the list.
std::optional<RgbColor> colourForScheme(int index);

// Opacity slider value v (0 to 100) → what to apply.
struct Opacity
{
    int alpha = 255;        // whole-window alpha, 40 to 255 (unused when colourKey)
    bool colourKey = true;  // v == 0: no whole-window alpha, only the see-through key colour
    QString label;          // text of the settings dialog's Label1 / the transparency caption
};
Opacity opacityForSlider(int v);

} // namespace settingsrules
