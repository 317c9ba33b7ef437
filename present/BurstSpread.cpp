#include "present/BurstSpread.h"

namespace present {

QList<SpreadRelease> BurstSpread::addBatch(const QList<SpreadComment> &batch, qint64 now, qint64 intervalMs)
{
    QList<SpreadRelease> out;
    int k = 0;
    for (const Waiting &w : m_waiting) {
        SpreadComment left = w.comment;
        left.k = ++k;
        out.append({left, true});
    }
    m_waiting.clear();
    const qsizetype n = batch.size();
    for (qsizetype j = 0; j < n; ++j)
        m_waiting.push_back({now + intervalMs * j / n, batch.at(j)});
    out += takeDue(now);
    return out;
}

QList<SpreadRelease> BurstSpread::takeDue(qint64 now)
{
    QList<SpreadRelease> out;
    while (!m_waiting.empty() && m_waiting.front().due <= now) {
        out.append({m_waiting.front().comment, false});
        m_waiting.pop_front();
    }
    return out;
}

std::optional<qint64> BurstSpread::nextDue() const
{
    if (m_waiting.empty())
        return std::nullopt;
    return m_waiting.front().due;
}

} // namespace present
