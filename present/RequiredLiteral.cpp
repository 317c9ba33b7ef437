#include "present/RequiredLiteral.h"

#include <cstring>

namespace {

bool isAsciiAlnum(QChar c)
{
    return c.unicode() < 128 && c.isLetterOrNumber();
}

// Past the class that starts at "[" (POSIX names such as "[:alpha:]" inside); -1 if unclosed.
qsizetype skipClass(const QString &p, qsizetype i)
{
    qsizetype j = i + 1;
    if (j < p.size() && p.at(j) == QLatin1Char('^'))
        ++j;
    if (j < p.size() && p.at(j) == QLatin1Char(']'))
        ++j;
    for (; j < p.size(); ++j) {
        const QChar c = p.at(j);
        if (c == QLatin1Char('\\')) {
            ++j;
        } else if (c == QLatin1Char('[') && j + 1 < p.size() && p.at(j + 1) == QLatin1Char(':')) {
            const qsizetype end = p.indexOf(QLatin1String(":]"), j + 2);
            if (end < 0)
                return -1;
            j = end + 1;
        } else if (c == QLatin1Char(']')) {
            return j + 1;
        }
    }
    return -1;
}

// Past the group that starts at "("; -1 if unclosed.
qsizetype skipGroup(const QString &p, qsizetype i)
{
    int depth = 0;
    for (qsizetype j = i; j < p.size(); ++j) {
        const QChar c = p.at(j);
        if (c == QLatin1Char('\\')) {
            ++j;
        } else if (c == QLatin1Char('[')) {
            j = skipClass(p, j);
            if (j < 0)
                return -1;
            --j;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')') && --depth == 0) {
            return j + 1;
        }
    }
    return -1;
}

} // namespace

// The longest text every match of the pattern contains: a run of plain characters at its top
// level, outside groups and classes, less any character a quantifier makes optional. Empty when
// there is none, or when the pattern uses what this reading does not follow (alternation at the
// top level, inline options, verbs, quoting): the expression then runs on every body.
QString requiredLiteral(const QString &p)
{
    QString best;
    QString run;
    const auto endRun = [&] {
        if (run.size() > best.size())
            best = run;
        run.clear();
    };
    const auto dropLast = [&] {
        if (!run.isEmpty())
            run.chop(run.size() >= 2 && run.back().isLowSurrogate() ? 2 : 1);
    };
    const auto isOneOf = [](QChar c, const char *set) { return c.unicode() != 0 && c.unicode() < 128 && std::strchr(set, char(c.unicode())); };
    for (qsizetype i = 0; i < p.size();) {
        const QChar c = p.at(i);
        if (c == QLatin1Char('|')) {
            return QString();
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 >= p.size() || p.at(i + 1) == QLatin1Char('Q'))
                return QString();
            const QChar e = p.at(i + 1);
            if (e.unicode() < 128 && !isAsciiAlnum(e)) {
                run += e;
                i += 2;
                continue;
            }
            // A class, an anchor, a reference or a coded character: it and whatever argument
            // follows it ("\x{41}", "\k<n>", "\pL") are not plain text.
            endRun();
            i += 2;
            while (i < p.size() && (isAsciiAlnum(p.at(i)) || isOneOf(p.at(i), "{}<>'+-,_")))
                ++i;
        } else if (c == QLatin1Char('[')) {
            endRun();
            i = skipClass(p, i);
            if (i < 0)
                return QString();
        } else if (c == QLatin1Char('(')) {
            if (i + 1 < p.size() && p.at(i + 1) == QLatin1Char('*'))
                return QString();
            if (i + 2 < p.size() && p.at(i + 1) == QLatin1Char('?') && !isOneOf(p.at(i + 2), ":=!<P'#|>"))
                return QString();
            endRun();
            i = skipGroup(p, i);
            if (i < 0)
                return QString();
        } else if (c == QLatin1Char('?') || c == QLatin1Char('*')) {
            dropLast();
            endRun();
            ++i;
        } else if (c == QLatin1Char('{')) {
            dropLast();
            endRun();
            const qsizetype close = p.indexOf(QLatin1Char('}'), i);
            i = close < 0 ? p.size() : close + 1;
        } else if (c == QLatin1Char('+') || isOneOf(c, ".^$)")) {
            endRun();
            ++i;
        } else {
            run += c;
            ++i;
        }
    }
    endRun();
    return best;
}

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
