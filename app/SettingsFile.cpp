#include "app/SettingsFile.h"

#include "app/SavedFiles.h"
#include "core/TextStore.h"
#include "platform/ProgramFolder.h"
#include "platform/Twips.h"

#include <QStringList>

#include <cmath>

namespace {

constexpr double kMaxPositionTwips = 1.0e6;

// Entry counts of the lists whose index a line stores (lines 7 to 17; line 6 depends on the
// installed fonts).
constexpr int kFontSizeCount = 5;
constexpr int kFontColourCount = 4;
constexpr int kMaxCount = 5;
constexpr int kMaxRowCount = 5;
constexpr int kCheckStates = 2;
constexpr int kMaxWmpCount = 4;
constexpr int kRegetTimeCount = 4;
constexpr int kNextWhen1000Count = 3;
constexpr int kViewModeCount = 3;

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
    readIndex(path, 7, kFontSizeCount, settings.fontSizeIndex);
    readIndex(path, 8, kFontColourCount, settings.fontColorIndex);
    readIndex(path, 9, kMaxCount, settings.maxIndex);
    readIndex(path, 10, kMaxRowCount, settings.maxRowIndex);
    readIndex(path, 11, kCheckStates, settings.countDown);
    readIndex(path, 12, kCheckStates, settings.datMode);
    readIndex(path, 13, kCheckStates, settings.outLineMode);
    readIndex(path, 14, kMaxWmpCount, settings.maxWmpIndex);
    readIndex(path, 15, kRegetTimeCount, settings.regetTimeIndex);
    readIndex(path, 16, kNextWhen1000Count, settings.nextWhen1000);
    readIndex(path, 17, kViewModeCount, settings.viewModeIndex);
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
    const int indexes[] = {d.fontIndex,   d.fontSizeIndex,  d.fontColorIndex, d.maxIndex,
                           d.maxRowIndex, d.countDown,      d.datMode,        d.outLineMode,
                           d.maxWmpIndex, d.regetTimeIndex, d.nextWhen1000,   d.viewModeIndex};
    for (int value : indexes)
        text += QString::number(value) + crlf;
    return text;
}

bool saveSettings(const QString &path, const SettingsFileContent &content)
{
    return writeFileText(settingsText(content), path);
}
