#include "app/SettingsFile.h"

#include "app/SavedFiles.h"
#include "core/TextStore.h"
#include "platform/ProgramFolder.h"
#include "platform/Twips.h"

#include <QStringList>

#include <cmath>

namespace {

constexpr double kMaxPositionTwips = 1.0e6;

// Entries of the font-size and font-colour lists (lines 7 and 8).
constexpr int kFontSizeCount = 5;
constexpr int kFontColourCount = 4;

// Lines 7 to 17 in order: the field each line stores and the number of entries of its list (2
// for a check state). Line 6 is read apart: its count is that of the installed fonts.
struct IndexLine
{
    int DialogSettings::*field;
    int count;
};
constexpr IndexLine kIndexLines[] = {
    {&DialogSettings::fontSizeIndex, kFontSizeCount},
    {&DialogSettings::fontColorIndex, kFontColourCount},
    {&DialogSettings::maxIndex, 5},
    {&DialogSettings::maxRowIndex, 5},
    {&DialogSettings::countDown, 2},
    {&DialogSettings::datMode, 2},
    {&DialogSettings::outLineMode, 2},
    {&DialogSettings::maxWmpIndex, 4},
    {&DialogSettings::regetTimeIndex, 4},
    {&DialogSettings::nextWhen1000, 3},
    {&DialogSettings::viewModeIndex, 3},
};
constexpr int kFirstIndexLine = 7;

bool readNumber(const QString &path, int line, double &value)
{
    bool ok = false;
    const float number = readFileLine(path, line).trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(number))
        return false;
    value = number;
    return true;
}

void readPosition(const QString &path, int line, double &value)
{
    double number = 0;
    if (readNumber(path, line, number) && std::fabs(number) <= kMaxPositionTwips)
        value = number;
}

void readSize(const QString &path, int line, double &value)
{
    double number = 0;
    if (readNumber(path, line, number) && number >= 1 && number <= kMaxPositionTwips)
        value = number;
}

// An index into a list of count entries; anything else leaves the default in place.
void readIndex(const QString &path, int line, int count, int &value)
{
    bool ok = false;
    const int number = readFileLine(path, line).trimmed().toInt(&ok);
    if (ok && number >= 0 && number < count)
        value = number;
}

// Decimal text of a single-precision number: integral values without a point, others with the
// digits a float holds, "." as the point and no exponent for window-sized values.
QString singleText(double value)
{
    const float single = static_cast<float>(value);
    if (std::nearbyint(single) == single && std::fabs(single) < 1.0e9f)
        return QString::number(static_cast<qint64>(single));
    return QString::number(static_cast<double>(single), 'g', 7);
}


} // namespace

QString settingsFilePath()
{
    return platform::programPath(QStringLiteral("livecfg.txt"));
}

QString settingsNotSavedMessage()
{
    return notSavedMessage(QStringLiteral("設定"), settingsFilePath());
}

QString readBoardMenuUrl(const QString &path)
{
    return readFileLine(path, 1);
}

bool storeBoardMenuUrl(const QString &path, const QString &url)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString all = readFileAll(path);
    QStringList lines = all.split(crlf);
    lines.removeLast(); // readFileAll ends every line with CR LF
    if (lines.isEmpty())
        lines.append(QString());
    lines[0] = oneLine(url);
    return writeFileText(lines.join(crlf) + crlf, path);
}

WindowGeometryTwips geometryToSave(QRect frame, QRect loadedPixels, const WindowGeometryTwips &loaded,
                                   double dpiX, double dpiY)
{
    auto twips = [](int now, int loadedPx, double loadedTwips, double dpi) {
        return now == loadedPx ? loadedTwips : std::round(pixelsToTwips(now, dpi));
    };
    WindowGeometryTwips g;
    g.top = twips(frame.y(), loadedPixels.y(), loaded.top, dpiY);
    g.left = twips(frame.x(), loadedPixels.x(), loaded.left, dpiX);
    g.width = twips(frame.width(), loadedPixels.width(), loaded.width, dpiX);
    g.height = twips(frame.height(), loadedPixels.height(), loaded.height, dpiY);
    return g;
}

WindowGeometryTwips loadWindowGeometry(const QString &path)
{
    WindowGeometryTwips geometry;
    readPosition(path, 2, geometry.top);
    readPosition(path, 3, geometry.left);
    readSize(path, 4, geometry.width);
    readSize(path, 5, geometry.height);
    return geometry;
}

DialogSettings loadDialogSettings(const QString &path, const FontListDefaults &fonts)
{
    DialogSettings settings;
    settings.fontIndex = fonts.fontIndex;
    settings.fontSizeIndex = fonts.sizeIndex;
    settings.fontColorIndex = fonts.colourIndex;
    // The start-up's own selections may themselves be "no selection"; fall back to the table.
    if (settings.fontIndex < 0 || settings.fontIndex >= fonts.fontCount)
        settings.fontIndex = 0;
    if (settings.fontSizeIndex < 0 || settings.fontSizeIndex >= kFontSizeCount)
        settings.fontSizeIndex = 2;
    if (settings.fontColorIndex < 0 || settings.fontColorIndex >= kFontColourCount)
        settings.fontColorIndex = 0;

    readIndex(path, 6, fonts.fontCount, settings.fontIndex);
    int line = kFirstIndexLine;
    for (const IndexLine &l : kIndexLines)
        readIndex(path, line++, l.count, settings.*l.field);
    return settings;
}

SettingsFileContent loadSettings(const QString &path, const FontListDefaults &fonts)
{
    SettingsFileContent content;
    content.boardMenuUrl = readBoardMenuUrl(path);
    content.geometry = loadWindowGeometry(path);
    content.dialogs = loadDialogSettings(path, fonts);
    return content;
}

QString settingsText(const SettingsFileContent &content)
{
    const QString crlf = QStringLiteral("\r\n");
    const WindowGeometryTwips &g = content.geometry;
    const DialogSettings &d = content.dialogs;
    QString text = oneLine(content.boardMenuUrl) + crlf;
    for (double value : {g.top, g.left, g.width, g.height})
        text += singleText(value) + crlf;
    text += QString::number(d.fontIndex) + crlf;
    for (const IndexLine &l : kIndexLines)
        text += QString::number(d.*l.field) + crlf;
    return text;
}

bool saveSettings(const QString &path, const SettingsFileContent &content)
{
    return writeFileText(settingsText(content), path);
}
