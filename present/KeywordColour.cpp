#include "present/KeywordColour.h"

#include <QRandomGenerator>

#include <cmath>

Keyword keywordOf(const QString &text)
{
    static const QString kita[] = {QStringLiteral("ｷﾀ━"), QStringLiteral("ｷﾀ"),
                                   QStringLiteral("キター"), QStringLiteral("ｷﾀﾜｧ")};
    for (const QString &word : kita)
        if (text.contains(word))
            return Keyword::Kita;
    if (text.contains(QStringLiteral("ﾊｧﾊｧ")))
        return Keyword::HaaHaa;
    if (text.contains(QStringLiteral("アッー！")) || text.contains(QStringLiteral("ウホッ！")))
        return Keyword::Uho;
    return Keyword::None;
}

RandomSource defaultRandomSource()
{
    return [] { return QRandomGenerator::global()->generateDouble(); };
}

QString marqueeKeywordColour(Keyword keyword)
{
    switch (keyword) {
    case Keyword::Kita:
        return QStringLiteral(" color:orange;");
    case Keyword::HaaHaa:
        return QStringLiteral(" color:hotpink;");
    case Keyword::Uho:
        return QStringLiteral(" color:magenta;");
    case Keyword::None:
        break;
    }
    return QString();
}

QString pastelColourFor(double r)
{
    // nearbyint rounds halves to even in the default rounding mode.
    const long n = std::lround(std::nearbyint(100.0 * r));
    const int digit = QString::number(n).at(0).digitValue();
    if (digit >= 0 && digit <= 2)
        return QStringLiteral(" color:white;");
    if (digit <= 5)
        return QStringLiteral(" color:#FFFFCC;");
    if (digit <= 7)
        return QStringLiteral(" color:aliceblue;");
    return QStringLiteral(" color:gainsboro;");
}

PastelPicker::PastelPicker(RandomSource random)
    : m_random(random ? std::move(random) : defaultRandomSource())
{
}

QString PastelPicker::next()
{
    QString colour = pastelColourFor(m_random());
    if (colour == m_previous) {
        if (colour == QStringLiteral(" color:white;"))
            colour = QStringLiteral(" color:#FFFFCC;");
        else if (colour == QStringLiteral(" color:#FFFFCC;"))
            colour = QStringLiteral(" color:aliceblue;");
        else if (colour == QStringLiteral(" color:aliceblue;"))
            colour = QStringLiteral(" color:gainsboro;");
        else
            colour = QStringLiteral(" color:#FFFFCC;");
    }
    m_previous = colour;
    return colour;
}
