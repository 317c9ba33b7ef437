#pragma once
// NG rules: responses the user does not want to see. The file ngrules.txt (program folder,
// UTF-8) holds one rule a line, a kind, a tab and a value:
//   word   the body contains the value
//   regex  the body matches the value (QRegularExpression)
//   name   the name contains the value
//   mail   the mail field is the value ("age" does not hide "sage")
//   id     the ID of the date field ("ID:xxxx") is the value ("ID:" before it is optional)
// Bodies, names and mail fields are compared as the views show them: markup removed, "<br>" as
// a line break, character references decoded. Blank lines and lines starting with "#" are
// comments. A line that cannot be read (no tab, unknown kind, empty value, a regular expression
// that does not compile) is a problem reported with its line number and skipped; the other
// rules still apply.

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <optional>
#include <memory>

enum class NgKind { Word, Regex, Name, Mail, Id };

struct NgRule
{
    NgKind kind = NgKind::Word;
    QString value;

    friend bool operator==(const NgRule &a, const NgRule &b) { return a.kind == b.kind && a.value == b.value; }
};

// "word", "regex", "name", "mail", "id"
QString ngKindName(NgKind kind);
std::optional<NgKind> ngKindFromName(const QString &name);

// An id rule's value without the "ID:" it may be written with.
QString ngBareId(const QString &value);

// Why the rule cannot be used (an empty value, a regular expression that does not compile), or
// nothing when it is good.
std::optional<QString> ngRuleProblem(const NgRule &rule);

struct NgLineProblem
{
    int line = 0;    // from 1
    QString text;    // the line as written
    QString reason;
};

// One line of the file: a rule, or text kept as written (comments, blank and bad lines), so that
// editing the rules never loses what the user wrote around them.
struct NgFileLine
{
    QString text;
    std::optional<NgRule> rule;
};

class NgRuleFile
{
public:
    static NgRuleFile parse(const QString &text);
    // A missing or unreadable file holds no rules and no problems.
    static NgRuleFile load(const QString &path);

    QList<NgFileLine> lines;
    QList<NgLineProblem> problems;

    QList<NgRule> rules() const;
    // The rule lines: replacing, adding and removing rules keeps every other line in place.
    void setRule(int ruleIndex, const NgRule &rule);
    void addRule(const NgRule &rule);
    void removeRule(int ruleIndex);

    // One line each, "\n" after each.
    QString text() const;
    // Written in UTF-8, replacing the file atomically; false (old file kept) on failure.
    bool save(const QString &path) const;

private:
    int lineOfRule(int ruleIndex) const;
};

// The rules file in the program folder.
QString ngRulesFilePath();

// The message telling the user which lines were skipped (empty when there are none).
QString ngProblemsMessage(const QList<NgLineProblem> &problems);

// One response as the rules see it: the fields of a dat line (name, mail, date and ID, body),
// bodies with their markup as fetched.
struct NgSubject
{
    QString name;
    QString mail;
    QString dateId;
    QString body;
};

// The "ID:" of a date field, without the prefix; empty when it has none.
QString idOfDateField(const QString &dateId);

// The shown text of a field: "<br>" becomes a line break, other markup is removed, character
// references are decoded.
QString ngShownText(const QString &field);

// The good rules, prepared for matching many responses.
class NgMatcher
{
public:
    NgMatcher() = default;
    explicit NgMatcher(const QList<NgRule> &rules);

    bool isEmpty() const { return m_count == 0; }
    int ruleCount() const { return m_count; }
    bool matches(const NgSubject &subject) const;

private:
    struct Prepared;
    int m_count = 0;
    std::shared_ptr<const Prepared> d;
};
