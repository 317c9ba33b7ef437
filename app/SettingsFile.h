#pragma once
// livecfg.txt: seventeen lines identified only by position. Line 1 is the board-menu address,
// lines 2-5 the window's top, left, width and height in twips, lines 6-17 selection indexes and
// check states of the settings dialogs and the view-mode list.
//
// Start-up reads in two steps because the dialogs' lists must be filled between them:
// loadWindowGeometry (lines 2-5) first, loadDialogSettings (lines 6-17) after the lists are
// filled, applying each value by selecting the entry so its handler runs. Closing writes all
// seventeen lines at once with saveSettings.

#include <QRect>
#include <QString>

// Lines 2-5, in twips.
struct WindowGeometryTwips
{
    double top = 100;
    double left = 100;
    double width = 10170;
    double height = 4590;
};

// Lines 6-17: the index of the selected entry of each list, or a check state (0 off, 1 on).
struct DialogSettings
{
    int fontIndex = 0;       // 6  comboFont: position in the screen-font list
    int fontSizeIndex = 2;   // 7  comboFontSize: "14" "16" "18" "20" "22"
    int fontColorIndex = 0;  // 8  comboFontColor: "デフォルト" "灰色" "肌色" "アンニュイ"
    int maxIndex = 1;        // 9  comboMax: "10" "15" "20" "25" "30"
    int maxRowIndex = 1;     // 10 comboMaxRow: "1" "2" "3" "4" "全て"
    int countDown = 1;       // 11 chkCowntDown
    int datMode = 1;         // 12 chkIsDat
    int outLineMode = 0;     // 13 chkOutLineMode
    int maxWmpIndex = 1;     // 14 ComboMaxWmp: "1" to "4"
    int regetTimeIndex = 0;  // 15 comboRegetTime: "1" to "4"
    int nextWhen1000 = 1;    // 16 Option1 index: 0 top thread, 1 thread list, 2 nothing
    int viewModeIndex = 0;   // 17 comboMode: "モード１" "モード２" "miniモード"
};

// What the font dialog holds when lines 6-8 are read: the number of fonts in its list and the
// initial selections the start-up made. A missing or invalid line 6, 7 or 8 takes these.
struct FontListDefaults
{
    int fontCount = 0;
    int fontIndex = 0;
    int sizeIndex = 2;
    int colourIndex = 0;
};

struct SettingsFileContent
{
    QString boardMenuUrl;
    WindowGeometryTwips geometry;
    DialogSettings dialogs;
};

// The one settings file name, in the program folder.
QString settingsFilePath();
// Shown at closing when the file could not be written (the closing goes on).
QString settingsNotSavedMessage();

// Line 1 (empty when missing). The board-menu loader reads it at every load.
QString readBoardMenuUrl(const QString &path);

// Replaces line 1 (the --menu option), keeping every other line as it is; a missing file gets
// just that line, so the others take their defaults.
bool storeBoardMenuUrl(const QString &path, const QString &url);

// Lines 2-5. A missing, empty, non-numeric or unusable value (not finite, a size below one twip,
// a position beyond a million twips) takes its default.
WindowGeometryTwips loadWindowGeometry(const QString &path);
// Lines 2-5 to write back for a window now at frame (pixels) that was placed at loadedPixels
// from loaded: a value that did not change keeps the twips it was read as, so a window that was
// not moved or resized does not drift by the rounding to pixels; a changed one is rounded.
WindowGeometryTwips geometryToSave(QRect frame, QRect loadedPixels, const WindowGeometryTwips &loaded,
                                   double dpiX, double dpiY);

// Lines 6-17. Missing, empty, non-numeric and out-of-range lines take their default; lines after
// the seventeenth are ignored.
DialogSettings loadDialogSettings(const QString &path, const FontListDefaults &fonts);

// Everything at once (tests, tools).
SettingsFileContent loadSettings(const QString &path, const FontListDefaults &fonts);

// The seventeen lines, each ending in CR LF. Line ends inside the board-menu address are
// dropped so that they cannot shift the later lines.
QString settingsText(const SettingsFileContent &content);

// Writes the file in one atomic replace. On failure (read-only folder, disk full) the previous
// file is left as it was and false is returned; the caller goes on closing.
bool saveSettings(const QString &path, const SettingsFileContent &content);
