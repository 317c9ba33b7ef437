#include "core/TextStore.h"

#include "platform/Cp932.h"
#include "platform/ProgramFolder.h"

#include <QFile>
#include <optional>

namespace {

FontSelectionProvider &fontSelectionProvider()
{
    static FontSelectionProvider provider;
    return provider;
}

// The whole file decoded, or nothing when it cannot be opened or read.
std::optional<QString> readDecoded(const QString &path)
{
    QFile file(platform::normalisePath(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return platform::decodeCp932(bytes);
}

// Lines without their ends. CR LF, LF and a lone CR all end a line; a final line end does not
// start another (empty) line.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

QString defaultOfLine(int n)
{
    switch (n) {
    case 2:
    case 3:
        return QStringLiteral("100");
    case 4:
        return QStringLiteral("10170");
    case 5:
        return QStringLiteral("4590");
    case 6:
    case 7:
    case 8: {
        // The provider may load the font dialog (hidden) to learn its initial selections.
        const FontSelectionProvider &provider = fontSelectionProvider();
        const int index = provider ? provider(static_cast<FontDialogList>(n)) : -1;
        return QString::number(index);
    }
    case 9:
    case 10:
    case 11:
    case 12:
    case 14:
    case 16:
        return QStringLiteral("1");
    case 13:
    case 15:
    case 17:
        return QStringLiteral("0");
    default:
        return QString();
    }
}

} // namespace

void setFontSelectionProvider(FontSelectionProvider provider)
{
    fontSelectionProvider() = std::move(provider);
}

QString readFileLine(const QString &path, int n)
{
    const std::optional<QString> content = readDecoded(path);
    if (!content)
        return QString();
    const QStringList lines = splitLines(*content);
    QString found;
    if (n == 0)
        found = lines.join(QString());
    else if (n > 0 && n <= lines.size())
        found = lines.at(n - 1);
    if (!found.isEmpty())
        return found;
    return defaultOfLine(n);
}

QString readListFile(const QString &path, QStringList &first, QStringList &second)
{
    // Cleared before opening: a missing file reads as an empty list, not as the old entries.
    first.clear();
    second.clear();
    const std::optional<QString> content = readDecoded(path);
    if (!content)
        return QString();
    QString last;
    for (const QString &line : splitLines(*content)) {
        last = line;
        if (line.trimmed().isEmpty())
            break;
        const qsizetype cut = line.indexOf(QLatin1String("--"));
        if (cut < 0)
            return QString(); // a label without an address would break the pairing
        // The address ends at a second "--", if any: what follows it is dropped.
        const qsizetype next = line.indexOf(QLatin1String("--"), cut + 2);
        first << line.left(cut);
        second << line.mid(cut + 2, next < 0 ? -1 : next - cut - 2);
    }
    return last;
}

QString readFileAll(const QString &path)
{
    const std::optional<QString> content = readDecoded(path);
    if (!content)
        return QString();
    QString all;
    all.reserve(content->size() + 64);
    for (const QString &line : splitLines(*content)) {
        all += line;
        all += QLatin1String("\r\n");
    }
    return all;
}

void removeFile(const QString &path)
{
    QFile::remove(platform::normalisePath(path));
}

bool writeFileText(const QString &text, const QString &path, Durability durability)
{
    return platform::replaceFile(platform::normalisePath(path), platform::encodeCp932(text),
                                 durability);
}
