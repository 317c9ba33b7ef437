#pragma once
// The keyword colour test shared by the presenters, and the marquee page's colour declarations.
// Tests run in a fixed order on the cleaned text (substring tests, case as written), so a text
// with both "ｷﾀ" and "ﾊｧﾊｧ" is a "ｷﾀ" text.

#include <QString>
#include <functional>

enum class Keyword { None, Kita, HaaHaa, Uho };

Keyword keywordOf(const QString &text);

// A uniform random number in [0, 1). Injected so tests can choose the draws.
using RandomSource = std::function<double()>;
RandomSource defaultRandomSource();

// " color:orange;", " color:hotpink;", " color:magenta;"; empty for Keyword::None.
QString marqueeKeywordColour(Keyword keyword);

// The pastel colour of one draw: the integer nearest to 100·r (halves to even), its first
// decimal digit: 0-2 white, 3-5 #FFFFCC, 6-7 aliceblue, 8-9 gainsboro.
QString pastelColourFor(double r);

// Draws pastel colours for one build, never giving the same colour twice in a row.
class PastelPicker
{
public:
    explicit PastelPicker(RandomSource random);
    QString next();

private:
    RandomSource m_random;
    QString m_previous;
};
