#include "TestSupport.h"
#include "present/NgRules.h"

#include <gtest/gtest.h>

namespace {

NgSubject subject(const QString &name, const QString &mail, const QString &date, const QString &body)
{
    return NgSubject{name, mail, date, body};
}

} // namespace

TEST(NgRules, EachKindMatchesTheFieldAsShown)
{
    const NgSubject plain = subject(QStringLiteral("名無しさん"), QStringLiteral("sage"),
                                    QStringLiteral("2024/01/01(月) 21:00:00.00 ID:Ab12Cd"),
                                    QStringLiteral(" 普通の感想 <br> 二行目 "));
    struct Case
    {
        const char *name;
        QString rule;    // the file line
        NgSubject response;
        bool hidden;
    };
    const Case cases[] = {
        {"word in body", QStringLiteral("word\t感想"), plain, true},
        {"word absent", QStringLiteral("word\t宣伝"), plain, false},
        // Entity references are decoded before comparing, as the views show them.
        {"word after decoding", QStringLiteral("word\t<参考>"),
         subject({}, {}, {}, QStringLiteral("見て &lt;参考&gt; ここ")), true},
        {"word not inside markup", QStringLiteral("word\thref"),
         subject({}, {}, {}, QStringLiteral("<a href=\"../test/read.cgi/x/1/2\">&gt;&gt;2</a> そう")), false},
        {"word across a line break", QStringLiteral("regex\t一行目\\n二行目"),
         subject({}, {}, {}, QStringLiteral("一行目<br>二行目")), true},
        {"regex", QStringLiteral("regex\t^\\s*普通.*感想"), plain, true},
        {"regex no match", QStringLiteral("regex\t^宣伝"), plain, false},
        {"name contains, markup removed", QStringLiteral("name\t名無し◆trip"),
         subject(QStringLiteral("名無し</b>◆trip<b>"), {}, {}, {}), true},
        {"name other", QStringLiteral("name\tコテ"), plain, false},
        {"mail", QStringLiteral("mail\tsage"), plain, true},
        {"mail is exact", QStringLiteral("mail\tage"), subject({}, QStringLiteral("sage"), {}, {}), false},
        {"id", QStringLiteral("id\tAb12Cd"), plain, true},
        {"id written with its prefix", QStringLiteral("id\tID:Ab12Cd"), plain, true},
        {"id is exact", QStringLiteral("id\tAb12"), plain, false},
        {"id before BE", QStringLiteral("id\tXy9"),
         subject({}, {}, QStringLiteral("2024/01/01 ID:Xy9 BE:123-2BP(1000)"), {}), true},
        {"response without id", QStringLiteral("id\tAb12Cd"), subject({}, {}, QStringLiteral("あぼーん"), {}), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const NgRuleFile file = NgRuleFile::parse(c.rule);
        ASSERT_TRUE(file.problems.isEmpty()) << file.problems.value(0).reason.toStdString();
        EXPECT_EQ(NgMatcher(file.rules()).matches(c.response), c.hidden);
    }
}

TEST(NgRules, BadLinesAreReportedOnceWithTheirNumberAndTheOthersApply)
{
    const QString text = QStringLiteral("\xFEFF# comment\r\n"
                                        "\r\n"
                                        "word\t宣伝\r\n"
                                        "colour\tred\r\n"
                                        "regex\t(unclosed\r\n"
                                        "no tab here\n"
                                        "word\t\n"
                                        "id\tID:\n"
                                        "name\tコテ\n");
    const NgRuleFile file = NgRuleFile::parse(text);
    ASSERT_EQ(file.problems.size(), 5);
    QList<int> lines;
    for (const NgLineProblem &p : file.problems)
        lines << p.line;
    EXPECT_EQ(lines, (QList<int>{4, 5, 6, 7, 8}));
    EXPECT_EQ(file.rules(), (QList<NgRule>{{NgKind::Word, QStringLiteral("宣伝")}, {NgKind::Name, QStringLiteral("コテ")}}));
    const QString message = ngProblemsMessage(file.problems);
    EXPECT_TRUE(message.contains(QStringLiteral("5行目"))) << message.toStdString();
    EXPECT_EQ(message.count(QStringLiteral("行目")), 5);

    const NgMatcher matcher(file.rules());
    EXPECT_TRUE(matcher.matches(subject({}, {}, {}, QStringLiteral("宣伝です"))));
    EXPECT_FALSE(matcher.matches(subject({}, {}, {}, QStringLiteral("red"))));
}

TEST(NgRules, EditingKeepsTheOtherLinesAndAMissingFileHasNoRules)
{
    testsupport::TempProgramFolder home;
    const QString path = ngRulesFilePath();
    EXPECT_EQ(path, home.file(QStringLiteral("ngrules.txt")));
    const NgRuleFile none = NgRuleFile::load(path);
    EXPECT_TRUE(none.lines.isEmpty());
    EXPECT_TRUE(none.problems.isEmpty());
    EXPECT_TRUE(NgMatcher(none.rules()).isEmpty());

    NgRuleFile file = NgRuleFile::parse(QStringLiteral("# mine\nword\ta\nbad line\nid\tB\n"));
    file.setRule(1, {NgKind::Mail, QStringLiteral("sage")});
    file.removeRule(0);
    file.addRule({NgKind::Regex, QStringLiteral("x+")});
    ASSERT_TRUE(file.save(path));
    EXPECT_EQ(testsupport::readBytes(path), QByteArray("# mine\nbad line\nmail\tsage\nregex\tx+\n"));
    EXPECT_EQ(NgRuleFile::load(path).rules().size(), 2);
}

// The matcher reads fields as fetched where it can and looks only where a rule's text may be:
// its answer must be the plain one (each rule against the shown text) for bodies where tags,
// references and quantifiers could fool those shortcuts.
TEST(NgRules, BodyRulesAnswerAsEachRuleAgainstTheShownText)
{
    const QStringList words = {QStringLiteral("spam"), QStringLiteral("宣伝"), QStringLiteral(">>5"),
                               QStringLiteral("&"), QStringLiteral("a\"b"), QStringLiteral("r")};
    const QStringList patterns = {
        QStringLiteral("https?://ad\\.example/\\w+"), QStringLiteral("ab?c"), QStringLiteral("x{2}yz"),
        QStringLiteral("fo|bar"), QStringLiteral("(?i)QUUX"), QStringLiteral("[[:digit:]]]z"),
        QStringLiteral("\\x{41}BC"), QStringLiteral("p(?:q)?r"), QStringLiteral("😀?smile"),
        QStringLiteral("\\d+円"), QStringLiteral("(a)\\1b"),
    };
    const QStringList bodies = {
        QStringLiteral("sp<b>am"), QStringLiteral("<a href=\"spam\">x</a>"), QStringLiteral("&lt;br&gt;spa&#109;"),
        QStringLiteral("宣<br>伝"), QStringLiteral("宣&#20253;"), QStringLiteral("&gt;&gt;5 です"), QStringLiteral("&gt;>5"),
        QStringLiteral("&amp;amp;"), QStringLiteral("a&quot;b"), QStringLiteral("see http://ad.example/x"),
        QStringLiteral("htt<i>p://ad.example/y</i>"), QStringLiteral("ac"), QStringLiteral("xxyz"), QStringLiteral("xyz"),
        QStringLiteral("for"), QStringLiteral("quux"), QStringLiteral("1]z"), QStringLiteral("ABC"), QStringLiteral("pr"),
        QStringLiteral("smile"), QStringLiteral("100円"), QStringLiteral("aab"), QStringLiteral("&#x41;BC"),
        QStringLiteral("s<br>pam"), QStringLiteral("<br>spam<br>"), QStringLiteral("&<b>#115;pam"),
        QStringLiteral("&amp;宣伝<br>"), QStringLiteral("&lt;b&gt;r"), QStringLiteral("x<br>y"), QString(),
    };
    QList<NgRule> many;
    for (const QString &w : words)
        many.append({NgKind::Word, w});
    for (const QString &p : patterns)
        many.append({NgKind::Regex, p});
    for (const QString &body : bodies) {
        const QString shown = ngShownText(body);
        bool any = false;
        for (const NgRule &rule : std::as_const(many)) {
            const bool expected = rule.kind == NgKind::Word ? shown.contains(rule.value)
                                                            : QRegularExpression(rule.value).match(shown).hasMatch();
            any = any || expected;
            EXPECT_EQ(NgMatcher({rule}).matches(subject({}, {}, {}, body)), expected)
                << rule.value.toStdString() << " / " << body.toStdString();
        }
        // All at once: more texts than are looked for one character at a time.
        EXPECT_EQ(NgMatcher(many).matches(subject({}, {}, {}, body)), any) << body.toStdString();
    }
}
