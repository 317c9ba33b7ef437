#include "ReadRange.h"

#include <QRegularExpression>

QList<int> selectResponses(const QString &range, int count, bool outsideHost)
{
    static const QRegularExpression last(QStringLiteral("^l(\\d+)(n?)$"));
    static const QRegularExpression span(QStringLiteral("^(\\d+)(n?)(-(\\d*))?$"));
    int from = 1;
    int to = count;
    bool withFirst = false;
    if (const auto m = last.match(range); m.hasMatch()) {
        from = qMax(1, count - m.captured(1).toInt() + 1);
        withFirst = m.captured(2).isEmpty();
    } else if (const auto m = span.match(range); m.hasMatch()) {
        bool ok = false;
        from = m.captured(1).toInt(&ok);
        if (!ok || from < 1)
            from = 1;
        if (!m.captured(3).isEmpty()) {
            const QString end = m.captured(4);
            to = end.isEmpty() ? count : qMin(count, end.toInt());
            withFirst = !outsideHost && m.captured(2).isEmpty();
        } else {
            to = qMin(count, from);
        }
    }
    QList<int> numbers;
    if (withFirst && from > 1 && count >= 1)
        numbers << 1;
    for (int n = from; n <= to; ++n)
        numbers << n;
    return numbers;
}
