#include "present/NgRules.h"

#include "platform/AtomicFile.h"
#include "platform/ProgramFolder.h"
#include "present/MarqueePage.h"

#include <QFile>

namespace {

struct KindName
{
    NgKind kind;
    const char *name;
};

constexpr KindName kKinds[] = {
    {NgKind::Word, "word"}, {NgKind::Regex, "regex"}, {NgKind::Name, "name"},
    {NgKind::Mail, "mail"}, {NgKind::Id, "id"},
};

QString ruleLine(const NgRule &rule)
{
    return ngKindName(rule.kind) + QLatin1Char('\t') + rule.value;
}

// An id rule may be written as the date field shows it, "ID:" included.
QString bareId(const QString &value)
{
    const QString trimmed = value.trimmed();
    return trimmed.startsWith(QLatin1String("ID:")) ? trimmed.mid(3).trimmed() : trimmed;
}

bool isTagStart(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        || c == QLatin1Char('/') || c == QLatin1Char('!');
}

bool containsAny(const QString &text, const QStringList &needles)
{
    for (const QString &needle : needles) {
        if (text.contains(needle))
            return true;
    }
    return false;
}

// "\1", "\g{1}", "\k<name>", "(?P=name)": the pattern refers to its own groups.
bool hasBackReference(const QString &pattern)
{
    for (qsizetype i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern.at(i) == QLatin1Char('\\')) {
            const QChar next = pattern.at(i + 1);
            if (next.isDigit() || next == QLatin1Char('g') || next == QLatin1Char('k'))
                return true;
            ++i;
        }
    }
    return pattern.contains(QLatin1String("(?P="));
}

} // namespace

QString ngKindName(NgKind kind)
{
    for (const KindName &k : kKinds) {
        if (k.kind == kind)
            return QString::fromLatin1(k.name);
    }
    return QString();
}

std::optional<NgKind> ngKindFromName(const QString &name)
{
    for (const KindName &k : kKinds) {
        if (name == QLatin1String(k.name))
            return k.kind;
    }
    return std::nullopt;
}

std::optional<QString> ngRuleProblem(const NgRule &rule)
{
    const QString value = rule.kind == NgKind::Id ? bareId(rule.value)
        : rule.kind == NgKind::Mail                 ? rule.value.trimmed()
                                                    : rule.value;
    // An empty word or name would hide every response.
    if (value.isEmpty())
        return QStringLiteral("値がありません");
    if (rule.kind == NgKind::Regex) {
        const QRegularExpression re(rule.value);
        if (!re.isValid())
            return QStringLiteral("正規表現の誤り: ") + re.errorString();
    }
    return std::nullopt;
}

NgRuleFile NgRuleFile::parse(const QString &text)
{
    NgRuleFile file;
    QString all = text;
    if (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);
    QStringList lines = all.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // after the final line end
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        NgFileLine entry{line, std::nullopt};
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#'))) {
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            const std::optional<NgKind> kind = tab < 0 ? std::nullopt : ngKindFromName(line.left(tab).trimmed());
            QString reason;
            if (tab < 0) {
                reason = QStringLiteral("種類と値の間にタブがありません");
            } else if (!kind) {
                reason = QStringLiteral("種類が不明です: ") + line.left(tab).trimmed();
            } else {
                const NgRule rule{*kind, line.mid(tab + 1)};
                if (const std::optional<QString> problem = ngRuleProblem(rule))
                    reason = *problem;
                else
                    entry.rule = rule;
            }
            if (!entry.rule)
                file.problems.append({n + 1, line, reason});
        }
        file.lines.append(entry);
    }
    return file;
}

NgRuleFile NgRuleFile::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return NgRuleFile();
    return parse(QString::fromUtf8(file.readAll()));
}

QList<NgRule> NgRuleFile::rules() const
{
    QList<NgRule> out;
    for (const NgFileLine &line : lines) {
        if (line.rule)
            out.append(*line.rule);
    }
    return out;
}

int NgRuleFile::lineOfRule(int ruleIndex) const
{
    int seen = 0;
    for (int n = 0; n < lines.size(); ++n) {
        if (lines.at(n).rule && seen++ == ruleIndex)
            return n;
    }
    return -1;
}

void NgRuleFile::setRule(int ruleIndex, const NgRule &rule)
{
    const int n = lineOfRule(ruleIndex);
    if (n >= 0)
        lines[n] = {ruleLine(rule), rule};
}

void NgRuleFile::addRule(const NgRule &rule)
{
    lines.append({ruleLine(rule), rule});
}

void NgRuleFile::removeRule(int ruleIndex)
{
    const int n = lineOfRule(ruleIndex);
    if (n >= 0)
        lines.removeAt(n);
}

QString NgRuleFile::text() const
{
    QString out;
    for (const NgFileLine &line : lines)
        out += line.text + QLatin1Char('\n');
    return out;
}

bool NgRuleFile::save(const QString &path) const
{
    return platform::replaceFile(path, text().toUtf8(), platform::Durability::Synced);
}

QString ngRulesFilePath()
{
    return platform::programPath(QStringLiteral("ngrules.txt"));
}

QString ngProblemsMessage(const QList<NgLineProblem> &problems)
{
    if (problems.isEmpty())
        return QString();
    QString text = QStringLiteral("NG設定の次の行は読めないので使いません。");
    for (const NgLineProblem &p : problems)
        text += QStringLiteral("\r\n") + QString::number(p.line) + QStringLiteral("行目: ") + p.reason;
    return text;
}

QString idOfDateField(const QString &dateId)
{
    const qsizetype at = dateId.indexOf(QLatin1String("ID:"));
    if (at < 0)
        return QString();
    const qsizetype start = at + 3;
    qsizetype end = start;
    while (end < dateId.size() && !dateId.at(end).isSpace() && dateId.at(end) != QLatin1Char('<'))
        ++end;
    return dateId.mid(start, end - start);
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
    QStringList bodyPatterns;
    for (const NgRule &rule : rules) {
        if (ngRuleProblem(rule))
            continue;
        ++m_count;
        switch (rule.kind) {
        case NgKind::Word:
            bodyPatterns.append(QRegularExpression::escape(rule.value));
            break;
        case NgKind::Regex:
            // A back reference counts groups; it keeps its own expression.
            if (hasBackReference(rule.value))
                m_regexes.append(QRegularExpression(rule.value));
            else
                bodyPatterns.append(rule.value);
            break;
        case NgKind::Name:
            m_names.append(rule.value);
            break;
        case NgKind::Mail:
            m_mails.insert(rule.value.trimmed());
            break;
        case NgKind::Id:
            m_ids.insert(bareId(rule.value));
            break;
        }
    }
    // Every word and regular expression of the body in one expression, so a body is scanned
    // once rather than once a rule. Each stays in its own group, where an inline option such as
    // "(?i)" ends with the group.
    if (!bodyPatterns.isEmpty()) {
        QRegularExpression combined(QStringLiteral("(?:") + bodyPatterns.join(QStringLiteral(")|(?:"))
                                    + QLatin1Char(')'));
        if (combined.isValid()) {
            m_regexes.append(combined);
        } else {
            for (const QString &pattern : bodyPatterns)
                m_regexes.append(QRegularExpression(pattern));
        }
    }
    for (QRegularExpression &re : m_regexes)
        re.optimize();
}

bool NgMatcher::matches(const NgSubject &subject) const
{
    if (m_count == 0)
        return false;
    // The cheap fields first; the body is decoded only when a body rule needs it.
    if (!m_ids.isEmpty() && m_ids.contains(idOfDateField(subject.dateId)))
        return true;
    if (!m_names.isEmpty() && containsAny(ngShownText(subject.name), m_names))
        return true;
    if (!m_mails.isEmpty() && m_mails.contains(ngShownText(subject.mail).trimmed()))
        return true;
    if (m_regexes.isEmpty())
        return false;
    const QString body = ngShownText(subject.body);
    for (const QRegularExpression &re : m_regexes) {
        if (re.match(body).hasMatch())
            return true;
    }
    return false;
}
