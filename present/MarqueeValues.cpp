#include "present/MarqueePage.h"

#include <QHash>

#include <algorithm>
#include <cmath>

std::optional<MarqueeRgb> parseCssColour(const QString &text)
{
    static const QHash<QString, MarqueeRgb> names = {
        {QStringLiteral("black"), 0x000000},     {QStringLiteral("white"), 0xFFFFFF},
        {QStringLiteral("red"), 0xFF0000},       {QStringLiteral("green"), 0x008000},
        {QStringLiteral("blue"), 0x0000FF},      {QStringLiteral("yellow"), 0xFFFF00},
        {QStringLiteral("orange"), 0xFFA500},    {QStringLiteral("hotpink"), 0xFF69B4},
        {QStringLiteral("magenta"), 0xFF00FF},   {QStringLiteral("fuchsia"), 0xFF00FF},
        {QStringLiteral("aliceblue"), 0xF0F8FF}, {QStringLiteral("gainsboro"), 0xDCDCDC},
        {QStringLiteral("gray"), 0x808080},      {QStringLiteral("grey"), 0x808080},
        {QStringLiteral("silver"), 0xC0C0C0},    {QStringLiteral("navy"), 0x000080},
        {QStringLiteral("maroon"), 0x800000},    {QStringLiteral("purple"), 0x800080},
        {QStringLiteral("teal"), 0x008080},      {QStringLiteral("olive"), 0x808000},
        {QStringLiteral("lime"), 0x00FF00},      {QStringLiteral("aqua"), 0x00FFFF},
        {QStringLiteral("cyan"), 0x00FFFF},      {QStringLiteral("pink"), 0xFFC0CB},
        {QStringLiteral("lightyellow"), 0xFFFFE0},
    };
    QString v = text.trimmed().toLower();
    if (v.isEmpty())
        return std::nullopt;
    if (const auto it = names.constFind(v); it != names.constEnd())
        return *it;
    if (v.startsWith(QLatin1Char('#')))
        v.remove(0, 1);
    bool ok = false;
    const uint value = v.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    if (v.size() == 6)
        return value;
    if (v.size() == 3) {
        const uint r = (value >> 8) & 0xF, g = (value >> 4) & 0xF, b = value & 0xF;
        return (r * 0x11) << 16 | (g * 0x11) << 8 | (b * 0x11);
    }
    return std::nullopt;
}

std::optional<int> parseCssPixels(const QString &text)
{
    QString v = text.trimmed().toLower();
    if (v.endsWith(QStringLiteral("px")))
        v.chop(2);
    bool ok = false;
    const double value = v.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > 1e6)
        return std::nullopt;
    return int(std::lround(value));
}

namespace {

// The named references, matched without allocating: the stagger of a marquee page writes every
// blank as "&nbsp;", so a page holds tens of thousands of them.
std::optional<QChar> namedReference(QStringView ref)
{
    static const struct
    {
        QLatin1StringView name;
        QChar value;
    } names[] = {
        {QLatin1StringView("nbsp"), QChar(0x00A0)}, {QLatin1StringView("amp"), QLatin1Char('&')},
        {QLatin1StringView("lt"), QLatin1Char('<')},     {QLatin1StringView("gt"), QLatin1Char('>')},
        {QLatin1StringView("quot"), QLatin1Char('"')},   {QLatin1StringView("apos"), QLatin1Char('\'')},
    };
    for (const auto &n : names) {
        if (n.name.size() != ref.size())
            continue;
        bool same = true;
        for (qsizetype i = 0; same && i < ref.size(); ++i) {
            // ASCII letters only: no other character lower-cases to one of these names' letters.
            const char16_t u = ref.at(i).unicode();
            const char16_t lower = (u >= u'A' && u <= u'Z') ? char16_t(u + 32) : u;
            same = lower == char16_t(n.name.at(i).unicode());
        }
        if (same)
            return n.value;
    }
    return std::nullopt;
}

} // namespace

QString decodeEntities(const QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out;
    out.reserve(text.size());
    const QStringView all(text);
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        // Plain text up to the next "&" is copied in one piece.
        const qsizetype amp = all.indexOf(QLatin1Char('&'), pos);
        if (amp != pos) {
            out += all.mid(pos, (amp < 0 ? n : amp) - pos);
            if (amp < 0)
                break;
            pos = amp;
        }
        // A reference is at most 12 characters long with its ";": the search stops there, so
        // a text of bare "&"s does not rescan the rest of the text for each one.
        const qsizetype found = all.mid(pos + 1, std::min<qsizetype>(12, n - pos - 1)).indexOf(QLatin1Char(';'));
        if (found > 0) {
            const qsizetype semi = pos + 1 + found;
            const QStringView ref = all.mid(pos + 1, semi - pos - 1);
            if (ref.startsWith(QLatin1Char('#'))) {
                bool ok = false;
                const uint code = ref.size() > 1 && (ref.at(1) == QLatin1Char('x') || ref.at(1) == QLatin1Char('X'))
                    ? ref.mid(2).toUInt(&ok, 16)
                    : ref.mid(1).toUInt(&ok, 10);
                if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
                    out += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
                    pos = semi + 1;
                    continue;
                }
            } else if (const auto value = namedReference(ref)) {
                out += *value;
                pos = semi + 1;
                continue;
            }
        }
        out += QLatin1Char('&');
        ++pos;
    }
    return out;
}
