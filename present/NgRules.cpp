#include "present/NgRules.h"

#include "platform/AtomicFile.h"
#include "platform/ProgramFolder.h"

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

} // namespace

QString ngBareId(const QString &value)
{
    const QString trimmed = value.trimmed();
    return trimmed.startsWith(QLatin1String("ID:")) ? trimmed.mid(3).trimmed() : trimmed;
}

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
    const QString value = rule.kind == NgKind::Id ? ngBareId(rule.value)
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
