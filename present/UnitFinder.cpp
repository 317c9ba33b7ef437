#include "present/UnitFinder.h"

#include <QtAlgorithms>

#include <algorithm>

void UnitFinder::add(char16_t u)
{
    if (std::find(m_units.begin(), m_units.end(), u) != m_units.end())
        return;
    m_units.push_back(u);
#if defined(__SSE2__)
    for (size_t j = 0; j < 8; ++j)
        m_needles[j] = _mm_set1_epi16(short(m_units[j % m_units.size()]));
#endif
    if (m_units.size() > 8 && m_table.empty()) {
        m_table.assign(65536 / 64, 0);
        for (char16_t v : m_units)
            m_table[v / 64] |= quint64(1) << (v % 64);
    } else if (!m_table.empty()) {
        m_table[u / 64] |= quint64(1) << (u % 64);
    }
}

qsizetype UnitFinder::next(QStringView text, qsizetype from) const
{
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = from;
    if (!m_table.empty()) {
        for (; i < n; ++i) {
            if (m_table[p[i] / 64] & (quint64(1) << (p[i] % 64)))
                return i;
        }
        return -1;
    }
#if defined(__SSE2__)
    // The units are repeated to fill four or eight needles, so no loop runs over them; two
    // blocks of eight are tested per step.
    const bool four = m_units.size() <= 4;
    const auto hits = [&](const __m128i v) {
        __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, m_needles[0]), _mm_cmpeq_epi16(v, m_needles[1])),
                                   _mm_or_si128(_mm_cmpeq_epi16(v, m_needles[2]), _mm_cmpeq_epi16(v, m_needles[3])));
        if (!four) {
            hit = _mm_or_si128(hit, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, m_needles[4]), _mm_cmpeq_epi16(v, m_needles[5])),
                                                 _mm_or_si128(_mm_cmpeq_epi16(v, m_needles[6]), _mm_cmpeq_epi16(v, m_needles[7]))));
        }
        return hit;
    };
    for (; i + 16 <= n; i += 16) {
        const __m128i a = hits(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i)));
        const __m128i b = hits(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 8)));
        if (const uint mask = uint(_mm_movemask_epi8(a)) | (uint(_mm_movemask_epi8(b)) << 16))
            return i + qCountTrailingZeroBits(mask) / 2;
    }
    if (i + 8 <= n) {
        if (const int mask = _mm_movemask_epi8(hits(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i)))))
            return i + qCountTrailingZeroBits(uint(mask)) / 2;
        i += 8;
    }
#endif
    for (; i < n; ++i) {
        if (std::find(m_units.begin(), m_units.end(), p[i]) != m_units.end())
            return i;
    }
    return -1;
}
