#include "net/NextThreadSearch.h"

#include <QHash>
#include <QRegularExpression>

namespace {

constexpr int kFullThread = 1000;
constexpr double kNextNumberBonus = 0.15;

// "一" .. "九十九"; 0 for anything else.
int kanjiNumber(const QString &text)
{
    static const QString digits = QStringLiteral("一二三四五六七八九");
    const qsizetype ten = text.indexOf(QChar(0x5341)); // 十
    if (ten < 0)
        return text.size() == 1 ? int(digits.indexOf(text.at(0))) + 1 : 0;
    const QString tens = text.left(ten);
    const QString ones = text.mid(ten + 1);
    const int t = tens.isEmpty() ? 1 : (tens.size() == 1 ? int(digits.indexOf(tens.at(0))) + 1 : 0);
    const int o = ones.isEmpty() ? 0 : (ones.size() == 1 ? int(digits.indexOf(ones.at(0))) + 1 : -100);
    return t > 0 && o >= 0 ? t * 10 + o : 0;
}

int romanNumber(const QString &text)
{
    static const QHash<QString, int> values{{QStringLiteral("i"), 1},    {QStringLiteral("ii"), 2},
                                            {QStringLiteral("iii"), 3},  {QStringLiteral("iv"), 4},
                                            {QStringLiteral("v"), 5},    {QStringLiteral("vi"), 6},
                                            {QStringLiteral("vii"), 7},  {QStringLiteral("viii"), 8},
                                            {QStringLiteral("ix"), 9},   {QStringLiteral("x"), 10}};
    return values.value(text, 0);
}

int numberOf(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (ok)
        return n;
    const int kanji = kanjiNumber(text);
    return kanji > 0 ? kanji : romanNumber(text);
}

// Series markers, strongest first; group 1 is the number. The text is NFKC-folded and
// lower-cased, so full-width digits and "ＰＡＲＴ" are plain ASCII here and "Ⅱ" is "ii".
const QList<QRegularExpression> &seriesMarkers()
{
    static const QList<QRegularExpression> markers{
        QRegularExpression(QStringLiteral("part\\s*\\.?\\s*(\\d+)")),
        QRegularExpression(QStringLiteral("[★☆#]\\s*(\\d+)")),
        QRegularExpression(QStringLiteral("その\\s*(\\d+|[一二三四五六七八九十]+|[ivx]+(?![a-z]))")),
        QRegularExpression(QStringLiteral("(\\d+)\\s*(?:スレ目|枚目|本目|杯目|号館|代目|回目)")),
    };
    return markers;
}

QHash<QString, int> pairCounts(const QString &stem)
{
    QHash<QString, int> pairs;
    for (qsizetype i = 0; i + 1 < stem.size(); ++i)
        ++pairs[stem.mid(i, 2)];
    return pairs;
}

} // namespace

SeriesTitle seriesTitle(const QString &title)
{
    SeriesTitle out;
    QString text = title.normalized(QString::NormalizationForm_KC).toLower();
    bool marked = false;
    for (const QRegularExpression &marker : seriesMarkers()) {
        const QRegularExpressionMatch m = marker.match(text);
        if (!m.hasMatch())
            continue;
        if (!out.number) {
            const int n = numberOf(m.captured(1));
            if (n > 0)
                out.number = n;
        }
        text.remove(marker);
        marked = true;
    }
    // A bare number at the end is the series number only when no marker said otherwise: in
    // "ニュース7 part5" the 7 belongs to the programme's name.
    if (!marked) {
        static const QRegularExpression trailing(QStringLiteral("(\\d+)\\s*$"));
        const QRegularExpressionMatch m = trailing.match(text);
        if (m.hasMatch()) {
            out.number = m.captured(1).toInt();
            text.truncate(m.capturedStart());
        }
    }
    static const QRegularExpression space(QStringLiteral("\\s+"));
    text.remove(space);
    out.stem = text;
    return out;
}

double titleSimilarity(const QString &stemA, const QString &stemB)
{
    if (stemA == stemB)
        return 1.0;
    if (stemA.size() < 2 || stemB.size() < 2)
        return 0.0;
    const QHash<QString, int> a = pairCounts(stemA);
    const QHash<QString, int> b = pairCounts(stemB);
    int shared = 0;
    for (auto it = a.cbegin(); it != a.cend(); ++it)
        shared += qMin(it.value(), b.value(it.key(), 0));
    return 2.0 * shared / double((stemA.size() - 1) + (stemB.size() - 1));
}

std::optional<qsizetype> pickNextThread(const ThreadSummary &finished, const QList<ThreadSummary> &threads)
{
    const SeriesTitle was = seriesTitle(finished.title);
    const int wasNumber = was.number.value_or(1);
    std::optional<qsizetype> best;
    double bestScore = 0;
    for (qsizetype i = 0; i < threads.size(); ++i) {
        const ThreadSummary &t = threads.at(i);
        if (t.count < 0 || t.count >= kFullThread || t.key <= finished.key)
            continue;
        const SeriesTitle candidate = seriesTitle(t.title);
        const double similarity = titleSimilarity(was.stem, candidate.stem);
        if (similarity < kNextThreadThreshold)
            continue;
        double score = similarity;
        if (candidate.number) {
            if (*candidate.number == wasNumber + 1)
                score += kNextNumberBonus;
            else if (*candidate.number <= wasNumber)
                score -= kNextNumberBonus;
        }
        if (!best || score > bestScore || (score == bestScore && t.key < threads.at(*best).key)) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}
