#pragma once

#include <QStringView>

#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// UTF-16 units looked for together in one pass: eight at a time with SSE2 while there are at
// most eight of them, through a table of one bit per unit beyond that.
class UnitFinder
{
public:
    bool isEmpty() const { return m_units.empty(); }

    void add(char16_t u);

    // The first position from "from" on holding one of the units, or -1.
    qsizetype next(QStringView text, qsizetype from) const;

private:
    std::vector<char16_t> m_units;
    std::vector<quint64> m_table;
#if defined(__SSE2__)
    __m128i m_needles[8];
#endif
};
