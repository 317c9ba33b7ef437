#include "core/Patterns.h"

#include "core/PageParts.h"

#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

// None of these operations yields to window events: the benchmark puts a whole body-cleaning
// chain far below a frame, and an event handler running in the middle of a rewrite could see
// (or change) a half-rewritten text.

namespace {

// The service's link forms, exactly as the board writes them.
const QRegularExpression &imageAnchorPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"re(<a href="([^>]*(\.jpg|\.gif|\.png))" target="_blank">)re"));
    return re;
}

const QRegularExpression &imageAnchorWithTextPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"re(<a href="([^>]*(\.jpg|\.gif|\.png))" target="_blank">(.*)</a>)re"));
    return re;
}

// The dot before each extension is unescaped on purpose: it is the board's own pattern.
const QRegularExpression &imageUrlPattern()
{
    static const QRegularExpression re(QStringLiteral(
        R"re((http://[\w\d/%#$&?()~_.=+-]+.jpg|http://[\w\d/%#$&?()~_.=+-]+.gif|http://[\w\d/%#$&?()~_.=+-]+.png))re"));
    return re;
}

const QRegularExpression &escapedResAnchorPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"re(<a href="\.\.[^>]* target="_blank">&gt;&gt;(\d+|\d+-\d+)</a>)re"));
    return re;
}

const QRegularExpression &plainResAnchorPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"re(<a href="\.\.[^>]* target="_blank">>>(\d+|\d+-\d+)</a>)re"));
    return re;
}

// "[^(\.jpg|\.gif|\.png)]" and "[^&gt;&gt;]" are single-character classes, so the link text
// loses its first character; group 2 is the rest.
const QRegularExpression &otherAnchorPattern()
{
    static const QRegularExpression re(QStringLiteral(
        R"re(<a href="([^>]*[^(\.jpg|\.gif|\.png)])" target="_blank">[^&gt;&gt;](.*)</a>)re"));
    return re;
}

const QRegularExpression &boardMenuLinkPattern()
{
    static const QRegularExpression re(QStringLiteral(R"re(<A HREF=([^<]*)>([^<]*)</A>)re"));
    return re;
}

QList<QRegularExpressionMatch> allMatches(const QRegularExpression &re, const QString &text)
{
    QList<QRegularExpressionMatch> matches;
    auto it = re.globalMatch(text);
    while (it.hasNext())
        matches << it.next();
    return matches;
}

int countMatches(const QRegularExpression &re, const QString &text)
{
    int count = 0;
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

// For each match, in order, every occurrence of its whole text becomes its replacement. The
// matches are all found first, on the text as it was given.
template <typename Replacement>
void replaceEachMatch(const QRegularExpression &re, QString &text, Replacement replacement)
{
    const QList<QRegularExpressionMatch> matches = allMatches(re, text);
    for (const QRegularExpressionMatch &m : matches)
        text.replace(m.captured(0), replacement(m));
}

QString withoutQuotes(QString list)
{
    list.remove(QLatin1Char('"'));
    return list;
}

} // namespace

int countImageAnchors(QString &text)
{
    text = text.toLower();
    return countMatches(imageAnchorPattern(), text);
}

int countImageUrls(const QString &text)
{
    return countMatches(imageUrlPattern(), text);
}

QString takeImageAnchors(QString &text)
{
    QString list;
    const QList<QRegularExpressionMatch> matches = allMatches(imageAnchorWithTextPattern(), text);
    for (const QRegularExpressionMatch &m : matches) {
        list += m.captured(1) + QLatin1String("--");
        text.replace(m.captured(0), m.captured(3));
    }
    return withoutQuotes(list);
}

QString takeImageUrls(QString &text)
{
    QString list;
    const QList<QRegularExpressionMatch> matches = allMatches(imageUrlPattern(), text);
    for (const QRegularExpressionMatch &m : matches) {
        list += m.captured(0) + QLatin1String("--");
        text.replace(m.captured(0), QStringLiteral("imegewindow"));
    }
    return withoutQuotes(list);
}

void linkImageUrls(QString &text)
{
    // One pass over the matches in place. Replacing every occurrence of each match in turn
    // would wrap an address that occurs twice a second time, inside the anchor just written.
    QString out;
    out.reserve(text.size() * 2);
    qsizetype done = 0;
    auto it = imageUrlPattern().globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString url = m.captured(0);
        out += QStringView(text).mid(done, m.capturedStart(0) - done);
        out += QLatin1String("<a href=\"") + url + QLatin1String("\" target=new>") + url
            + QLatin1String("</a>");
        done = m.capturedEnd(0);
    }
    if (done == 0)
        return;
    out += QStringView(text).mid(done);
    text = out;
}

void unlinkResAnchors(QString &text)
{
    replaceEachMatch(escapedResAnchorPattern(), text, [](const QRegularExpressionMatch &m) {
        return QLatin1String(">>") + m.captured(1);
    });
}

void unlinkResAnchorsRaw(QString &text)
{
    replaceEachMatch(plainResAnchorPattern(), text, [](const QRegularExpressionMatch &m) {
        return QLatin1String(">>") + m.captured(1);
    });
}

QString unlinkOtherAnchors(QString &text)
{
    text = text.toLower();
    replaceEachMatch(otherAnchorPattern(), text,
                     [](const QRegularExpressionMatch &m) { return m.captured(2); });
    return QString();
}

void buildBoardTree(const QString &page, BoardTreeSink &tree)
{
    // Node keys must be unique: a board whose key is already taken (the same address twice in
    // one category, or an empty address whose key would equal its category's) is left out,
    // the first one kept. A part without "</B>" has no category name and is skipped whole; the
    // later categories keep their numbers, so keys depend only on a category's position.
    QSet<QString> keys;
    for (const PagePart &category : pageParts(page, QLatin1String("<BR><BR><B>"), QLatin1String("</B>"))) {
        const QString &part = category.text;
        const QString categoryKey = QLatin1Char('K') + QString::number(category.number);
        if (keys.contains(categoryKey))
            continue;
        keys.insert(categoryKey);
        tree.addNode(categoryKey, part.left(category.end), QString());

        const qsizetype linksStart = part.indexOf(QLatin1String("<A"));
        if (linksStart < 0)
            continue;
        auto it = boardMenuLinkPattern().globalMatch(part, linksStart);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            const QString key = m.captured(1) + categoryKey;
            if (keys.contains(key))
                continue;
            keys.insert(key);
            tree.addNode(key, m.captured(2), categoryKey);
        }
    }
}
