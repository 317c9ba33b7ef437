#pragma once
// The part of a surface to repaint when many small things move: the rects each moving thing
// covered and covers now, turned into rows of a fixed height, each row's spans merged. The result
// is y-x banded (rows top to bottom, spans left to right, none touching), as a region built from
// rects must be, and a painter can clip to each rect in turn: a clip of one rect keeps the raster
// engine on its fast path, a clip of a region of many rects does not.
//
// Rows over-cover each rect by less than a row's height above and below; spans closer than
// `joinGap` pixels are merged into one.

#include <QRect>

#include <vector>

namespace present {

std::vector<QRect> dirtyBands(const std::vector<QRect> &rects, const QRect &bounds, int rowHeight,
                              int joinGap = 8);

// Total area of non-overlapping rects.
qint64 areaOf(const std::vector<QRect> &rects);

} // namespace present
