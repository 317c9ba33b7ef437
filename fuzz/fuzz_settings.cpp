// livecfg.txt as found on disk: every line read, the settings loaded, written back and read
// again (the writer and reader must agree), and line 1 replaced keeping the other lines.
#include "FuzzSupport.h"

#include "app/SettingsFile.h"
#include "core/TextStore.h"
#include "platform/Cp932.h"

#include <cstdlib>

namespace {

bool sameGeometry(const WindowGeometryTwips &a, const WindowGeometryTwips &b)
{
    return a.top == b.top && a.left == b.left && a.width == b.width && a.height == b.height;
}

bool sameDialogs(const DialogSettings &a, const DialogSettings &b)
{
    return a.fontIndex == b.fontIndex && a.fontSizeIndex == b.fontSizeIndex
        && a.fontColorIndex == b.fontColorIndex && a.maxIndex == b.maxIndex
        && a.maxRowIndex == b.maxRowIndex && a.countDown == b.countDown && a.datMode == b.datMode
        && a.outLineMode == b.outLineMode && a.maxWmpIndex == b.maxWmpIndex
        && a.regetTimeIndex == b.regetTimeIndex && a.nextWhen1000 == b.nextWhen1000
        && a.viewModeIndex == b.viewModeIndex;
}

// What a text becomes once written in CP932 and read back.
QString throughCp932(const QString &text)
{
    return platform::decodeCp932(platform::encodeCp932(text));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::scratchFile(fuzz::bytes(data, size));
    for (int n = 0; n <= 18; ++n)
        fuzz::keep(readFileLine(path, n));

    const FontListDefaults fonts{12, 3, 2, 0};
    const SettingsFileContent content = loadSettings(path, fonts);
    if (!saveSettings(path, content))
        abort();
    const SettingsFileContent again = loadSettings(path, fonts);
    if (!sameGeometry(content.geometry, again.geometry) || !sameDialogs(content.dialogs, again.dialogs)
        || again.boardMenuUrl != throughCp932(content.boardMenuUrl))
        abort();

    // Replacing line 1 keeps every other line.
    fuzz::scratchFile(fuzz::bytes(data, size));
    QStringList before;
    for (int n = 2; n <= 20; ++n)
        before << throughCp932(readFileLine(path, n));
    const QString url = QStringLiteral("http://menu.example/bbsmenu.html");
    if (!storeBoardMenuUrl(path, url) || readBoardMenuUrl(path) != url)
        abort();
    for (int n = 2; n <= 20; ++n) {
        if (readFileLine(path, n) != before.at(n - 2))
            abort();
    }
    return 0;
}
