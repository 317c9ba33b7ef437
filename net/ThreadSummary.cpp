#include "net/ThreadSummary.h"

#include <QRegularExpression>

namespace {

constexpr qint64 kSecondsPerHour = 3600;
constexpr qint64 kFutureKeySlack = 86400;

} // namespace

ThreadSummary summariseThread(const QString &entry, const QString &address)
{
    ThreadSummary t;
    t.address = address;

    // "<n>: " is the list's own numbering, not part of the title.
    static const QRegularExpression numbering(QStringLiteral("^\\d+: "));
    QString title = entry;
    title.remove(numbering);
    static const QRegularExpression count(QStringLiteral("\\s*\\((\\d{1,9})\\)\\s*$"));
    const QRegularExpressionMatch m = count.match(title);
    if (m.hasMatch()) {
        t.count = m.captured(1).toInt();
        title.truncate(m.capturedStart());
    }
    t.title = title.trimmed();

    // ".../<key>/l50": the segment before the last one.
    const QStringList segments = address.split(QLatin1Char('/'));
    if (segments.size() >= 2) {
        bool ok = false;
        const qint64 key = segments.at(segments.size() - 2).toLongLong(&ok);
        if (ok && key > 0)
            t.key = key;
    }
    return t;
}

QList<ThreadSummary> summariseThreads(const QStringList &entries, const QStringList &addresses)
{
    QList<ThreadSummary> out;
    const qsizetype n = qMin(entries.size(), addresses.size());
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        out << summariseThread(entries.at(i), addresses.at(i));
    return out;
}

std::optional<double> momentumPerHour(const ThreadSummary &thread, qint64 nowSeconds)
{
    if (thread.count < 0 || thread.key <= 0 || thread.key > nowSeconds + kFutureKeySlack)
        return std::nullopt;
    const qint64 age = qMax<qint64>(1, nowSeconds - thread.key);
    return double(thread.count) * kSecondsPerHour / double(age);
}

QString momentumText(std::optional<double> momentum)
{
    if (!momentum)
        return QString();
    // Busy threads in whole responses; quiet ones with enough places to tell them apart.
    const int decimals = *momentum >= 100 ? 0 : *momentum >= 1 ? 1 : 2;
    return QString::number(*momentum, 'f', decimals);
}

QString momentumToolTip(std::optional<double> momentum)
{
    return momentum ? QStringLiteral("勢い：") + momentumText(momentum) + QStringLiteral("/時") : QString();
}
