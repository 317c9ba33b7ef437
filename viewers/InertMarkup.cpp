#include "viewers/InertMarkup.h"

#include <QRegularExpression>
#include <QSet>

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isAsciiAlnum(QChar c)
{
    return isAsciiLetter(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

// Whitespace as the HTML tokenizer sees it between attributes.
bool isTagSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')
        || c == QLatin1Char('\f');
}

const QSet<QString> &allowedTags()
{
    static const QSet<QString> tags{
        QStringLiteral("a"),     QStringLiteral("b"),      QStringLiteral("br"),  QStringLiteral("font"),
        QStringLiteral("hr"),    QStringLiteral("i"),      QStringLiteral("u"),   QStringLiteral("s"),
        QStringLiteral("small"), QStringLiteral("big"),    QStringLiteral("span"), QStringLiteral("em"),
        QStringLiteral("strong"), QStringLiteral("sub"),   QStringLiteral("sup"), QStringLiteral("img")};
    return tags;
}

const QSet<QString> &allowedAttributes()
{
    static const QSet<QString> names{
        QStringLiteral("href"),  QStringLiteral("target"), QStringLiteral("color"), QStringLiteral("size"),
        QStringLiteral("face"),  QStringLiteral("title"),  QStringLiteral("width"),
        QStringLiteral("height"), QStringLiteral("border"), QStringLiteral("alt")};
    return names;
}

// An address a link may keep: http(s) only. Browsers drop blanks, tabs and line ends inside
// addresses, so they are ignored here too.
bool isWebLink(QString value)
{
    value.remove(QRegularExpression(QStringLiteral("[\\x00-\\x20]")));
    const QString lower = value.toLower();
    return lower.startsWith(QLatin1String("http://")) || lower.startsWith(QLatin1String("https://"));
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2
        && ((value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            || (value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))))
        return value.mid(1, value.size() - 2);
    return value;
}

// Parses the tag starting at text[start] == '<'. On success returns its rebuilt form (allowed
// attributes only) and sets *end past its '>'; returns a null QString when it is not a
// well-formed tag of an allowed element.
QString rebuiltTag(const QString &text, qsizetype start, qsizetype *end)
{
    qsizetype i = start + 1;
    const qsizetype n = text.size();
    const bool closing = i < n && text.at(i) == QLatin1Char('/');
    if (closing)
        ++i;
    const qsizetype nameStart = i;
    if (i >= n || !isAsciiLetter(text.at(i)))
        return QString();
    while (i < n && isAsciiAlnum(text.at(i)))
        ++i;
    const QString name = text.mid(nameStart, i - nameStart);
    if (!allowedTags().contains(name.toLower()))
        return QString();
    if (i < n && !isTagSpace(text.at(i)) && text.at(i) != QLatin1Char('/') && text.at(i) != QLatin1Char('>'))
        return QString();

    QString out = QLatin1Char('<') + (closing ? QStringLiteral("/") : QString()) + name;
    while (true) {
        // Browsers treat "/" between attributes like a blank ("<a/onclick=...>").
        while (i < n && (isTagSpace(text.at(i)) || text.at(i) == QLatin1Char('/')))
            ++i;
        if (i >= n)
            return QString();
        if (text.at(i) == QLatin1Char('>')) {
            *end = i + 1;
            return out + QLatin1Char('>');
        }
        const qsizetype attrStart = i;
        while (i < n && !isTagSpace(text.at(i)) && text.at(i) != QLatin1Char('/') && text.at(i) != QLatin1Char('>')
               && text.at(i) != QLatin1Char('=') && text.at(i) != QLatin1Char('<'))
            ++i;
        if (i == attrStart)
            return QString(); // "=", "<" or a quote where a name should be
        const QString attrName = text.mid(attrStart, i - attrStart);
        qsizetype j = i;
        while (j < n && isTagSpace(text.at(j)))
            ++j;
        QString value;
        bool hasValue = false;
        if (j < n && text.at(j) == QLatin1Char('=')) {
            ++j;
            while (j < n && isTagSpace(text.at(j)))
                ++j;
            if (j >= n)
                return QString();
            const QChar q = text.at(j);
            if (q == QLatin1Char('"') || q == QLatin1Char('\'')) {
                const qsizetype close = text.indexOf(q, j + 1);
                // An open quote runs past '>' in a browser: not a tag we can vouch for.
                if (close < 0 || text.indexOf(QLatin1Char('>'), j + 1) < close)
                    return QString();
                value = text.mid(j, close + 1 - j);
                j = close + 1;
            } else {
                const qsizetype valueStart = j;
                while (j < n && !isTagSpace(text.at(j)) && text.at(j) != QLatin1Char('>'))
                    ++j;
                value = text.mid(valueStart, j - valueStart);
            }
            hasValue = true;
            i = j;
        }
        const QString lowerName = attrName.toLower();
        if (!allowedAttributes().contains(lowerName))
            continue;
        if (lowerName == QLatin1String("href") && (!hasValue || !isWebLink(unquoted(value))))
            continue;
        out += QLatin1Char(' ') + attrName;
        if (hasValue)
            out += QLatin1Char('=') + value;
    }
}

} // namespace

QString inertMarkup(const QString &text)
{
    if (!text.contains(QLatin1Char('<')))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    qsizetype done = 0;
    qsizetype at = text.indexOf(QLatin1Char('<'));
    while (at >= 0) {
        out += QStringView(text).mid(done, at - done);
        qsizetype end = 0;
        const QString tag = rebuiltTag(text, at, &end);
        if (tag.isNull()) {
            out += QLatin1String("&lt;");
            done = at + 1;
        } else {
            out += tag;
            done = end;
        }
        at = text.indexOf(QLatin1Char('<'), done);
    }
    out += QStringView(text).mid(done);
    return out;
}
