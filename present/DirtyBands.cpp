#include "present/DirtyBands.h"

#include <algorithm>

namespace present {

std::vector<QRect> dirtyBands(const std::vector<QRect> &rects, const QRect &bounds, int rowHeight,
                              int joinGap)
{
    std::vector<QRect> out;
    if (bounds.isEmpty() || rowHeight <= 0)
        return out;
    const int rows = (bounds.height() + rowHeight - 1) / rowHeight;
    // Spans [left, right) of each row.
    std::vector<std::vector<std::pair<int, int>>> spans(static_cast<size_t>(rows));
    for (const QRect &r : rects) {
        const QRect c = r.intersected(bounds);
        if (c.isEmpty())
            continue;
        const int first = (c.top() - bounds.top()) / rowHeight;
        const int last = (c.bottom() - bounds.top()) / rowHeight;
        for (int row = first; row <= last; ++row)
            spans[size_t(row)].emplace_back(c.left(), c.right() + 1);
    }
    std::vector<std::pair<int, int>> merged;
    std::vector<std::pair<int, int>> previous;  // the spans of the last row emitted
    for (int row = 0; row < rows; ++row) {
        auto &rowSpans = spans[size_t(row)];
        merged.clear();
        std::sort(rowSpans.begin(), rowSpans.end());
        for (const auto &s : rowSpans) {
            if (!merged.empty() && s.first <= merged.back().second + joinGap)
                merged.back().second = std::max(merged.back().second, s.second);
            else
                merged.push_back(s);
        }
        const int top = bounds.top() + row * rowHeight;
        const int height = std::min(rowHeight, bounds.bottom() + 1 - top);
        // A row with the same spans as the one above it extends that one's rects downwards.
        if (!merged.empty() && merged == previous && !out.empty()
            && out.back().bottom() + 1 == top) {
            for (size_t i = out.size() - merged.size(); i < out.size(); ++i)
                out[i].setBottom(top + height - 1);
            continue;
        }
        for (const auto &s : merged)
            out.emplace_back(s.first, top, s.second - s.first, height);
        previous = merged;
    }
    return out;
}

qint64 areaOf(const std::vector<QRect> &rects)
{
    qint64 area = 0;
    for (const QRect &r : rects)
        area += qint64(r.width()) * r.height();
    return area;
}

} // namespace present
