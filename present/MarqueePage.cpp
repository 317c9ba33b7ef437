#include "present/MarqueePage.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace {

using Style = MarqueeTextStyle;

struct OpenTag
{
    QString name;
    Style saved;
};

using Attributes = QHash<QString, QString>; // lower-case names

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')
        || c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_')
        || c == QLatin1Char(':');
}

// Elements whose content is never shown as text.
bool isRawTextElement(const QString &name)
{
    static const QStringList names = {
        QStringLiteral("script"), QStringLiteral("style"),    QStringLiteral("title"),
        QStringLiteral("textarea"), QStringLiteral("xmp"),    QStringLiteral("iframe"),
        QStringLiteral("noembed"), QStringLiteral("noframes"), QStringLiteral("noscript"),
        QStringLiteral("object"),  QStringLiteral("template"), QStringLiteral("svg"),
        QStringLiteral("math"),    QStringLiteral("select"),   QStringLiteral("plaintext"),
    };
    return names.contains(name);
}

// <font size=N>: 1..7 and +N/-N relative to 3.
std::optional<int> legacyFontPixels(const QString &value)
{
    static const int sizes[] = {10, 13, 16, 18, 24, 32, 48};
    QString v = value.trimmed();
    bool ok = false;
    int n = 0;
    if (v.startsWith(QLatin1Char('+')) || v.startsWith(QLatin1Char('-'))) {
        n = 3 + v.toInt(&ok);
    } else {
        n = v.toInt(&ok);
    }
    if (!ok)
        return std::nullopt;
    n = std::clamp(n, 1, 7);
    return sizes[n - 1];
}

QList<QPair<QString, QString>> cssDeclarations(const QString &style)
{
    QList<QPair<QString, QString>> out;
    for (const QString &part : style.split(QLatin1Char(';'))) {
        const qsizetype colon = part.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        out.append({part.left(colon).trimmed().toLower(), part.mid(colon + 1).trimmed()});
    }
    return out;
}

void applyTextStyle(Style &style, const QString &name, const QString &value)
{
    if (name == QStringLiteral("font-size")) {
        if (const auto px = parseCssPixels(value); px && *px > 0)
            style.pixelSize = *px;
    } else if (name == QStringLiteral("font-weight")) {
        const QString v = value.toLower();
        bool numeric = false;
        const int weight = v.toInt(&numeric);
        if (v == QStringLiteral("bold") || v == QStringLiteral("bolder") || (numeric && weight >= 600))
            style.bold = true;
        else if (v == QStringLiteral("normal") || v == QStringLiteral("lighter") || numeric)
            style.bold = false;
    } else if (name == QStringLiteral("color")) {
        if (const auto colour = parseCssColour(value))
            style.colour = *colour;
    }
}

} // namespace

class MarqueeMarkupParser
{
public:
    // A whole page.
    explicit MarqueeMarkupParser(const QString &html) : m_html(html) {}
    // The content of one marquee, read piece by piece (MarqueeContentReader).
    explicit MarqueeMarkupParser(const MarqueeElement &element)
    {
        push(QStringLiteral("marquee"));
        m_marquee = element;
    }

    MarqueePage run()
    {
        parse();
        if (m_marquee)
            closeMarquee();
        return m_page;
    }

    void readPiece(const QString &markup, const Style &style)
    {
        if (!m_marquee)
            return; // an earlier piece closed the marquee
        const QString piece = QStringLiteral("#piece");
        push(piece);
        m_style = style;
        m_html = markup;
        parse();
        pop(piece);
    }
    void tag(const QString &name, bool closing)
    {
        if (!m_marquee)
            return;
        if (closing)
            endTag(name);
        else
            startTag(name, {});
    }
    MarqueeElement finish()
    {
        if (m_marquee)
            closeMarquee();
        return m_page.marquees.value(0);
    }

private:
    void parse()
    {
        const qsizetype n = m_html.size();
        qsizetype pos = 0;
        while (pos < n) {
            const qsizetype lt = m_html.indexOf(QLatin1Char('<'), pos);
            const qsizetype textEnd = lt < 0 ? n : lt;
            if (textEnd > pos)
                text(m_html.mid(pos, textEnd - pos));
            if (lt < 0)
                break;
            pos = markup(lt);
        }
    }

    // Handles the markup starting at '<'; returns the position after it.
    qsizetype markup(qsizetype lt)
    {
        const qsizetype n = m_html.size();
        const QChar next = lt + 1 < n ? m_html.at(lt + 1) : QChar();
        if (next == QLatin1Char('!') || next == QLatin1Char('?')) {
            if (m_html.mid(lt, 4) == QStringLiteral("<!--")) {
                const qsizetype end = m_html.indexOf(QStringLiteral("-->"), lt + 4);
                return end < 0 ? n : end + 3;
            }
            const qsizetype end = m_html.indexOf(QLatin1Char('>'), lt);
            return end < 0 ? n : end + 1;
        }
        const bool closing = next == QLatin1Char('/');
        const qsizetype nameStart = lt + (closing ? 2 : 1);
        if (nameStart >= n || !m_html.at(nameStart).isLetter()) {
            text(QStringLiteral("<"));
            return lt + 1;
        }
        qsizetype pos = nameStart;
        while (pos < n && isNameChar(m_html.at(pos)))
            ++pos;
        const QString name = m_html.mid(nameStart, pos - nameStart).toLower();
        Attributes attributes;
        pos = readAttributes(pos, attributes);
        if (closing) {
            endTag(name);
            return pos;
        }
        if (isRawTextElement(name))
            return skipRawText(name, pos);
        startTag(name, attributes);
        return pos;
    }

    qsizetype readAttributes(qsizetype pos, Attributes &attributes)
    {
        const qsizetype n = m_html.size();
        while (pos < n) {
            while (pos < n && (isSpace(m_html.at(pos)) || m_html.at(pos) == QLatin1Char('/')))
                ++pos;
            if (pos >= n)
                break;
            if (m_html.at(pos) == QLatin1Char('>'))
                return pos + 1;
            const qsizetype nameStart = pos;
            while (pos < n && !isSpace(m_html.at(pos)) && m_html.at(pos) != QLatin1Char('=')
                   && m_html.at(pos) != QLatin1Char('>'))
                ++pos;
            const QString name = m_html.mid(nameStart, pos - nameStart).toLower();
            while (pos < n && isSpace(m_html.at(pos)))
                ++pos;
            QString value;
            if (pos < n && m_html.at(pos) == QLatin1Char('=')) {
                ++pos;
                while (pos < n && isSpace(m_html.at(pos)))
                    ++pos;
                if (pos < n && (m_html.at(pos) == QLatin1Char('"') || m_html.at(pos) == QLatin1Char('\''))) {
                    const QChar quote = m_html.at(pos);
                    const qsizetype end = m_html.indexOf(quote, pos + 1);
                    const qsizetype stop = end < 0 ? n : end;
                    value = m_html.mid(pos + 1, stop - pos - 1);
                    pos = end < 0 ? n : end + 1;
                } else {
                    const qsizetype start = pos;
                    while (pos < n && !isSpace(m_html.at(pos)) && m_html.at(pos) != QLatin1Char('>'))
                        ++pos;
                    value = m_html.mid(start, pos - start);
                }
            }
            if (!name.isEmpty() && !attributes.contains(name))
                attributes.insert(name, decodeEntities(value));
        }
        return n;
    }

    qsizetype skipRawText(const QString &name, qsizetype pos)
    {
        const qsizetype end = m_html.indexOf(QStringLiteral("</") + name, pos, Qt::CaseInsensitive);
        if (end < 0)
            return m_html.size();
        const qsizetype close = m_html.indexOf(QLatin1Char('>'), end);
        return close < 0 ? m_html.size() : close + 1;
    }

    void startTag(const QString &name, const Attributes &attributes)
    {
        if (name == QStringLiteral("body")) {
            if (const auto colour = parseCssColour(attributes.value(QStringLiteral("bgcolor"))))
                m_page.background = *colour;
        } else if (name == QStringLiteral("marquee")) {
            if (!m_marquee)
                openMarquee(attributes);
        } else if (name == QStringLiteral("font")) {
            push(name);
            if (attributes.contains(QStringLiteral("size")))
                if (const auto px = legacyFontPixels(attributes.value(QStringLiteral("size"))))
                    m_style.pixelSize = *px;
            if (const auto colour = parseCssColour(attributes.value(QStringLiteral("color"))))
                m_style.colour = *colour;
            for (const auto &[property, value] : cssDeclarations(attributes.value(QStringLiteral("style"))))
                applyTextStyle(m_style, property, value);
        } else if (name == QStringLiteral("b") || name == QStringLiteral("strong")) {
            push(name);
            m_style.bold = true;
        } else if (name == QStringLiteral("br")) {
            if (m_marquee)
                newLine();
        } else if (m_marquee && name == QStringLiteral("table")) {
            ++m_tableDepth;
            m_marquee->tableRow = true;
        } else if (m_marquee && (name == QStringLiteral("td") || name == QStringLiteral("th"))) {
            push(name);
            if (name == QStringLiteral("th"))
                m_style.bold = true;
            m_marquee->blocks.append(MarqueeBlock{{MarqueeLine{}}});
            m_inCell = true;
        }
    }

    void endTag(const QString &name)
    {
        if (name == QStringLiteral("marquee")) {
            if (m_marquee)
                closeMarquee();
        } else if (name == QStringLiteral("br")) {
            if (m_marquee)
                newLine();
        } else if (m_marquee && name == QStringLiteral("table")) {
            m_tableDepth = std::max(0, m_tableDepth - 1);
            m_inCell = false;
        } else if (name == QStringLiteral("td") || name == QStringLiteral("th")) {
            pop(name);
            if (m_marquee && m_inCell)
                trimLine();
            m_inCell = false;
        } else {
            pop(name);
        }
    }

    void openMarquee(const Attributes &attributes)
    {
        push(QStringLiteral("marquee"));
        MarqueeElement element;
        bool ok = false;
        const int amount = attributes.value(QStringLiteral("scrollamount")).trimmed().toInt(&ok);
        if (ok && amount >= 0)
            element.scrollAmount = amount;
        const int delay = attributes.value(QStringLiteral("scrolldelay")).trimmed().toInt(&ok);
        if (ok && delay >= 0)
            element.scrollDelayMs = attributes.contains(QStringLiteral("truespeed")) ? std::max(delay, 1)
                                                                                     : std::max(delay, 60);
        const int loop = attributes.value(QStringLiteral("loop")).trimmed().toInt(&ok);
        element.loop = ok && loop > 0 ? loop : -1;
        for (const auto &[property, value] : cssDeclarations(attributes.value(QStringLiteral("style")))) {
            applyTextStyle(m_style, property, value);
            if (property == QStringLiteral("position"))
                element.absolute = value.trimmed().toLower() == QStringLiteral("absolute");
            else if (property == QStringLiteral("top"))
                element.top = parseCssPixels(value);
            else if (property == QStringLiteral("right"))
                element.right = parseCssPixels(value);
            else if (property == QStringLiteral("left"))
                element.left = parseCssPixels(value);
        }
        m_marquee = element;
        m_tableDepth = 0;
        m_inCell = false;
    }

    void closeMarquee()
    {
        trimLine();
        // Drop trailing empty lines and empty blocks: they take no room on the page.
        for (MarqueeBlock &block : m_marquee->blocks) {
            while (block.lines.size() > 1 && block.lines.last().runs.isEmpty())
                block.lines.removeLast();
        }
        m_page.marquees.append(*m_marquee);
        m_marquee.reset();
        pop(QStringLiteral("marquee"));
    }

    void push(const QString &name)
    {
        m_stack.append({name, m_style});
    }

    void pop(const QString &name)
    {
        for (qsizetype i = m_stack.size() - 1; i >= 0; --i) {
            if (m_stack.at(i).name == name) {
                m_style = m_stack.at(i).saved;
                m_stack.resize(i);
                return;
            }
        }
    }

    MarqueeBlock &block()
    {
        if (m_marquee->blocks.isEmpty())
            m_marquee->blocks.append(MarqueeBlock{{MarqueeLine{}}});
        return m_marquee->blocks.last();
    }

    MarqueeLine &line()
    {
        MarqueeBlock &b = block();
        if (b.lines.isEmpty())
            b.lines.append(MarqueeLine{});
        return b.lines.last();
    }

    void newLine()
    {
        trimLine();
        block().lines.append(MarqueeLine{});
    }

    // Collapsible spaces at the end of a line take no room.
    void trimLine()
    {
        if (!m_marquee || m_marquee->blocks.isEmpty())
            return;
        MarqueeLine &l = line();
        while (!l.runs.isEmpty()) {
            QString &t = l.runs.last().text;
            while (t.endsWith(QLatin1Char(' ')))
                t.chop(1);
            if (!t.isEmpty())
                break;
            l.runs.removeLast();
        }
    }

    void text(const QString &raw)
    {
        if (!m_marquee)
            return;
        const QString decoded = decodeEntities(raw);
        if (m_tableDepth > 0 && !m_inCell) {
            bool blank = true;
            for (QChar c : decoded)
                blank = blank && isSpace(c);
            if (blank)
                return;
        }
        MarqueeLine &l = line();
        QString add;
        bool lineHasText = false;
        bool lastSpace = false;
        for (const MarqueeRun &run : l.runs) {
            if (!run.text.isEmpty()) {
                lineHasText = true;
                lastSpace = run.text.endsWith(QLatin1Char(' '));
            }
        }
        for (QChar c : decoded) {
            if (isSpace(c)) {
                if ((lineHasText || !add.isEmpty()) && !lastSpace) {
                    add += QLatin1Char(' ');
                    lastSpace = true;
                }
                continue;
            }
            add += c;
            lastSpace = false;
        }
        if (add.isEmpty())
            return;
        if (!l.runs.isEmpty()) {
            MarqueeRun &last = l.runs.last();
            if (last.pixelSize == m_style.pixelSize && last.bold == m_style.bold
                && last.colour == m_style.colour) {
                last.text += add;
                return;
            }
        }
        l.runs.append(MarqueeRun{add, m_style.pixelSize, m_style.bold, m_style.colour});
    }

    QString m_html;
    MarqueePage m_page;
    std::optional<MarqueeElement> m_marquee;
    QList<OpenTag> m_stack;
    Style m_style;
    int m_tableDepth = 0;
    bool m_inCell = false;
};

MarqueePage parseMarqueePage(const QString &html)
{
    return MarqueeMarkupParser(html).run();
}

MarqueeContentReader::MarqueeContentReader(const MarqueeElement &element)
    : m_parser(std::make_unique<MarqueeMarkupParser>(element))
{
}

MarqueeContentReader::~MarqueeContentReader() = default;

void MarqueeContentReader::read(const QString &markup, const MarqueeTextStyle &style)
{
    m_parser->readPiece(markup, style);
}

void MarqueeContentReader::beginTable() { m_parser->tag(QStringLiteral("table"), false); }
void MarqueeContentReader::beginCell() { m_parser->tag(QStringLiteral("td"), false); }
void MarqueeContentReader::endCell() { m_parser->tag(QStringLiteral("td"), true); }

MarqueeElement MarqueeContentReader::finish()
{
    return m_parser->finish();
}
