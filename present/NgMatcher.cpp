// Matching the NG rules against responses. A thread of a thousand responses is matched on every
// fetch, so a field is read as fetched wherever that gives the same answer as its shown text,
// and decoded only when a rule's text may be in it: each text (a word, a name, the text every
// match of an expression contains) is looked for only where its least likely character occurs.

#include "present/NgRules.h"

#include "present/MarqueePage.h"
#include "present/RequiredLiteral.h"
#include "present/UnitFinder.h"

#include <algorithm>

namespace {

bool isTagStart(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        || c == QLatin1Char('/') || c == QLatin1Char('!');
}

bool isAsciiAlnum(QChar c)
{
    return c.unicode() < 128 && c.isLetterOrNumber();
}

bool containsAny(const QString &text, const QStringList &needles)
{
    for (const QString &needle : needles) {
        if (text.contains(needle))
            return true;
    }
    return false;
}

// Exact texts (mail fields, IDs), looked up by hash without making a string of the value.
class TextSet
{
public:
    void add(const QString &text) { m_entries.push_back({qHash(QStringView(text)), text}); }
    void finish() { std::sort(m_entries.begin(), m_entries.end(), [](const Entry &a, const Entry &b) { return a.hash < b.hash; }); }
    bool isEmpty() const { return m_entries.empty(); }
    bool contains(QStringView value) const
    {
        const size_t hash = qHash(value);
        auto it = std::lower_bound(m_entries.begin(), m_entries.end(), hash,
                                   [](const Entry &e, size_t h) { return e.hash < h; });
        for (; it != m_entries.end() && it->hash == hash; ++it) {
            if (QStringView(it->text) == value)
                return true;
        }
        return false;
    }

private:
    struct Entry
    {
        size_t hash;
        QString text;
    };
    std::vector<Entry> m_entries;
};

QStringView idView(QStringView dateId)
{
    qsizetype at = dateId.indexOf(QLatin1Char('I'));
    while (at >= 0 && !(at + 2 < dateId.size() && dateId.at(at + 1) == QLatin1Char('D') && dateId.at(at + 2) == QLatin1Char(':')))
        at = dateId.indexOf(QLatin1Char('I'), at + 1);
    if (at < 0)
        return {};
    const qsizetype start = at + 3;
    qsizetype end = start;
    while (end < dateId.size() && !dateId.at(end).isSpace() && dateId.at(end) != QLatin1Char('<'))
        ++end;
    return dateId.mid(start, end - start);
}


// Characters the decoding can produce from markup ("<br>") or a named reference: a field may
// show them without holding them.
bool producible(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'<' || u == u'>' || u == u'&' || u == u'"' || u == u'\'' || u == 0x00A0 || u == u'\n';
}

// How likely a character is to be missing from a field.
int rarity(QChar c)
{
    const char16_t u = c.unicode();
    if (producible(c))
        return 0;
    if (isAsciiAlnum(c) || u == u' ' || (u >= 0x3040 && u <= 0x309F))
        return 1;
    return u < 128 ? 2 : 3;
}

// Whether every tag of a field is "<br>": then its shown text is the field with each "<br>" a
// line break and the references decoded, and a text holding none of the characters those
// produce shows in it only where the field holds it. Finds tags as ngShownText does.
bool onlyLineBreakTags(QStringView raw)
{
    const auto is = [&](qsizetype i, char16_t lower) { return i < raw.size() && (raw.at(i).unicode() | 0x20) == lower; };
    for (qsizetype open = raw.indexOf(QLatin1Char('<')); open >= 0; open = raw.indexOf(QLatin1Char('<'), open + 1)) {
        if (is(open + 1, u'b') && is(open + 2, u'r') && open + 3 < raw.size() && raw.at(open + 3) == QLatin1Char('>'))
            continue;
        // Any other "<" that starts a tag and is closed is a tag the decoding removes.
        if (open + 1 < raw.size() && isTagStart(raw.at(open + 1)) && raw.indexOf(QLatin1Char('>'), open + 1) >= 0)
            return false;
    }
    return true;
}


// Whether the text holds the literal at start. Literals are short and most candidates differ
// within their first characters, so this compares in place.
bool occursAt(QStringView text, qsizetype start, QStringView literal)
{
    if (start < 0 || start + literal.size() > text.size())
        return false;
    const char16_t *a = text.utf16() + start;
    const char16_t *b = literal.utf16();
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// A field as fetched, with its shown text made at the first need.
class Field
{
public:
    explicit Field(const QString &raw) : raw(raw) {}
    const QString &raw;
    const QString &shown()
    {
        if (!m_shown)
            m_shown = ngShownText(raw);
        return *m_shown;
    }

private:
    std::optional<QString> m_shown;
};

// Texts looked for in one kind of field. Each text is filed under its least likely character,
// and compared only where that character occurs.
class LiteralSet
{
public:
    static constexpr int kWord = -1;

    // regex: kWord for a text that decides alone, else the expression it guards.
    void add(const QString &text, int regex)
    {
        QChar pick = text.front();
        for (QChar c : text) {
            if (rarity(c) > rarity(pick))
                pick = c;
        }
        bool plain = true;
        bool outsideMarkup = true;
        for (QChar c : text) {
            plain = plain && !producible(c);
            outsideMarkup = outsideMarkup && !isAsciiAlnum(c) && c != QLatin1Char('#') && c != QLatin1Char(';');
        }
        const Literal literal{text, text.indexOf(pick), plain, plain && outsideMarkup, regex};
        if (rarity(pick) == 0) {
            m_always.append(literal);
            return;
        }
        m_hasNonPlain = m_hasNonPlain || !plain;
        auto it = std::lower_bound(m_groups.begin(), m_groups.end(), pick,
                                   [](const Group &g, QChar c) { return g.c < c; });
        if (it == m_groups.end() || it->c != pick)
            it = m_groups.insert(it, Group{pick, {}});
        it->literals.append(literal);
        if (m_finder.isEmpty())
            m_finder.add(u'#');
        m_finder.add(pick.unicode());
    }

    bool isEmpty() const { return m_groups.isEmpty() && m_always.isEmpty(); }

    // True when a text that decides alone shows in the field; otherwise the expressions whose
    // texts show are added to regexes.
    bool find(Field &field, QList<int> &regexes) const
    {
        for (const Literal &l : m_always) {
            if (field.shown().contains(l.text) && report(l, regexes))
                return true;
        }
        if (m_groups.isEmpty())
            return false;
        const QString &raw = field.raw;
        // Without a chosen character no text shows, unless a numeric reference shows it ("&#"
        // may be split by a tag the decoding removes): "#" is looked for with them.
        const qsizetype first = m_finder.next(raw, 0);
        if (first < 0)
            return false;
        const bool numeric = raw.contains(QLatin1Char('&')) && raw.contains(QLatin1Char('#'));
        if (numeric || !onlyLineBreakTags(raw))
            return scan(field.shown(), field, Which::All, regexes);
        return scan(raw, field, Which::PlainInField, regexes, first)
            || (m_hasNonPlain && scan(field.shown(), field, Which::NonPlain, regexes));
    }

private:
    struct Literal
    {
        QString text;
        qsizetype at;  // where its chosen character is in it
        bool plain;    // holds no character the decoding can produce
        // Nor any that a "<br>" or a character reference is written with: found in a field
        // that shows as it is held, it cannot lie inside one, so it shows.
        bool evident;
        int regex;
    };
    struct Group
    {
        QChar c;
        QList<Literal> literals;
    };

    static bool report(const Literal &l, QList<int> &regexes)
    {
        if (l.regex == kWord)
            return true;
        regexes.append(l.regex);
        return false;
    }

    // Calls f at each position from "from" on that holds a chosen character, until it answers true.
    template <typename F>
    bool eachTrigger(QStringView text, qsizetype from, F f) const
    {
        for (qsizetype pos = m_finder.next(text, from); pos >= 0; pos = m_finder.next(text, pos + 1)) {
            const QChar c = text.at(pos);
            const auto it = std::lower_bound(m_groups.begin(), m_groups.end(), c,
                                             [](const Group &g, QChar x) { return g.c < x; });
            if (it != m_groups.end() && it->c == c && f(pos, *it))
                return true;
        }
        return false;
    }

    // Which texts a scan looks for, and in what: the plain ones in the field as fetched (a text
    // found there that is not evident is confirmed in the shown text, since it may lie inside a
    // tag or a reference), the others or all in the shown text.
    enum class Which { PlainInField, NonPlain, All };

    bool scan(QStringView text, Field &field, Which which, QList<int> &regexes, qsizetype from = 0) const
    {
        return eachTrigger(text, from, [&](qsizetype pos, const Group &g) {
            for (const Literal &l : g.literals) {
                if ((which == Which::PlainInField && !l.plain) || (which == Which::NonPlain && l.plain))
                    continue;
                if (!occursAt(text, pos - l.at, l.text))
                    continue;
                if ((which != Which::PlainInField || l.evident || field.shown().contains(l.text)) && report(l, regexes))
                    return true;
            }
            return false;
        });
    }

    QList<Group> m_groups;          // by character
    QList<Literal> m_always;        // texts of producible characters only: looked for in the shown text
    UnitFinder m_finder;            // the chosen characters and "#"
    bool m_hasNonPlain = false;
};

} // namespace

struct NgMatcher::Prepared
{
    LiteralSet bodyTexts;   // words and the texts of guarded expressions
    LiteralSet nameTexts;
    QList<QRegularExpression> guarded;  // run only on bodies that show their text
    QList<QRegularExpression> regexes;  // run on every body
    TextSet mails;
    TextSet ids;
};

QString idOfDateField(const QString &dateId)
{
    return idView(dateId).toString();
}

QString ngShownText(const QString &field)
{
    const qsizetype firstTag = field.indexOf(QLatin1Char('<'));
    if (firstTag < 0)
        return decodeEntities(field);
    const QStringView all(field);
    QString out;
    out.reserve(field.size());
    qsizetype pos = 0;
    qsizetype open = firstTag;
    while (open >= 0) {
        const qsizetype close = open + 1 < all.size() && isTagStart(all.at(open + 1))
            ? all.indexOf(QLatin1Char('>'), open + 1)
            : -1;
        if (close < 0) {
            // A "<" that starts no tag is text.
            out += all.mid(pos, open + 1 - pos);
            pos = open + 1;
        } else {
            out += all.mid(pos, open - pos);
            if (all.mid(open, close - open + 1).compare(QLatin1String("<br>"), Qt::CaseInsensitive) == 0)
                out += QLatin1Char('\n');
            pos = close + 1;
        }
        open = all.indexOf(QLatin1Char('<'), pos);
    }
    out += all.mid(pos);
    return decodeEntities(out);
}

NgMatcher::NgMatcher(const QList<NgRule> &rules)
{
    auto p = std::make_shared<Prepared>();
    QStringList unguarded;
    for (const NgRule &rule : rules) {
        if (ngRuleProblem(rule))
            continue;
        ++m_count;
        switch (rule.kind) {
        case NgKind::Word:
            p->bodyTexts.add(rule.value, LiteralSet::kWord);
            break;
        case NgKind::Regex:
            if (const QString literal = requiredLiteral(rule.value); !literal.isEmpty()) {
                p->bodyTexts.add(literal, int(p->guarded.size()));
                p->guarded.append(QRegularExpression(rule.value));
            } else if (hasBackReference(rule.value)) {
                // A back reference counts groups: it keeps its own expression.
                p->regexes.append(QRegularExpression(rule.value));
            } else {
                unguarded.append(rule.value);
            }
            break;
        case NgKind::Name:
            p->nameTexts.add(rule.value, LiteralSet::kWord);
            break;
        case NgKind::Mail:
            p->mails.add(rule.value.trimmed());
            break;
        case NgKind::Id:
            p->ids.add(ngBareId(rule.value));
            break;
        }
    }
    p->mails.finish();
    p->ids.finish();
    // The expressions that must see every body in one, so a body is scanned once rather than
    // once a rule. Each stays in its own group, where an inline option such as "(?i)" ends.
    if (!unguarded.isEmpty()) {
        QRegularExpression combined(QStringLiteral("(?:") + unguarded.join(QStringLiteral(")|(?:")) + QLatin1Char(')'));
        if (combined.isValid()) {
            p->regexes.append(combined);
        } else {
            for (const QString &pattern : std::as_const(unguarded))
                p->regexes.append(QRegularExpression(pattern));
        }
    }
    for (QRegularExpression &re : p->guarded)
        re.optimize();
    for (QRegularExpression &re : p->regexes)
        re.optimize();
    d = std::move(p);
}

bool NgMatcher::matches(const NgSubject &subject) const
{
    if (m_count == 0)
        return false;
    if (!d->ids.isEmpty() && d->ids.contains(idView(subject.dateId)))
        return true;
    QList<int> guarded;
    if (!d->nameTexts.isEmpty()) {
        Field name(subject.name);
        if (d->nameTexts.find(name, guarded))
            return true;
    }
    // No mail rule is empty: an empty mail field matches none.
    if (!d->mails.isEmpty() && !subject.mail.isEmpty()) {
        const bool plain = !subject.mail.contains(QLatin1Char('<')) && !subject.mail.contains(QLatin1Char('&'));
        const QString mail = plain ? subject.mail : ngShownText(subject.mail);
        if (d->mails.contains(QStringView(mail).trimmed()))
            return true;
    }
    Field body(subject.body);
    if (d->bodyTexts.find(body, guarded))
        return true;
    for (int i : std::as_const(guarded)) {
        if (d->guarded.at(i).match(body.shown()).hasMatch())
            return true;
    }
    for (const QRegularExpression &re : d->regexes) {
        if (re.match(body.shown()).hasMatch())
            return true;
    }
    return false;
}
