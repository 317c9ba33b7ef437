// How the marquee surface moves from one frame to the next: which part of it to repaint, or to
// scroll in the backing store when every row has moved by the same whole pixels.
#include "present/gui/MarqueeSurface.h"

#include "present/DirtyBands.h"
#include "present/gui/MarqueeContent.h"

#include <QRegion>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kFrameMs = 16;    // the shortest time between frames
constexpr int kDirtyRowPx = 8;  // rows of the repainted part: the page's rows are 30 px apart

} // namespace

void MarqueeSurface::restartTimer()
{
    // The next frame is due when some row's whole-pixel place next changes (just after, so the
    // timer's lateness cannot land it before): a row of one pixel per 17 ms then moves one pixel
    // every frame, never two frames with nothing to show and then a double step. Faster rows
    // get a frame every kFrameMs.
    const double elapsed = std::max(0.0, double(elapsedMs()));
    std::optional<double> due;
    for (const Group &group : std::as_const(m_groups)) {
        const MarqueeTrack &track = m_items.at(group.members.first()).track;
        if (elapsed >= group.endMs || track.pixelsPerMs() <= 0)
            continue;
        double wait = 0;
        if (const auto left = track.contentLeft(elapsed))
            wait = (*left - (std::floor(*left + 0.5) - 0.5)) / track.pixelsPerMs();
        due = std::min(due.value_or(wait), wait);
    }
    if (!due)
        m_frameTimer.stop();
    else
        m_frameTimer.start(std::max(kFrameMs, int(std::ceil(*due)) + 1));
}

void MarqueeSurface::onFrame()
{
    const double elapsed = double(elapsedMs());
    if (scrollFrame(elapsed)) {
        restartTimer();
        return;
    }
    // Rows move sideways only: a group's old and new place make one rect. The part repainted is
    // these rects in rows of the surface, each row's spans merged (DirtyBands.h).
    std::vector<QRect> moved;
    moved.reserve(size_t(m_groups.size()));
    for (const Group &group : std::as_const(m_groups)) {
        const QRect r = groupBounds(group, elapsed).united(groupBounds(group, m_drawnElapsed));
        if (!r.isEmpty())
            moved.push_back(r);
    }
    const std::vector<QRect> bands = present::dirtyBands(moved, rect(), kDirtyRowPx);
    QRegion dirty;
    dirty.setRects(bands.data(), int(bands.size()));
    m_frameElapsed = elapsed;
    if (!dirty.isEmpty())
        update(dirty);
    restartTimer();
}

QRect MarqueeSurface::groupBounds(const Group &group, double elapsed) const
{
    if (elapsed < 0 || elapsed >= group.endMs)
        return QRect();
    QRectF bounds;
    for (int m : group.members) {
        const Item &item = m_items.at(m);
        if (item.imageSize.isEmpty())
            continue;
        const auto left = item.track.contentLeft(elapsed);
        if (!left)
            continue;
        const QSizeF size = item.imageSize;
        const double x = std::round(*left) - kMarqueeInkPad + item.imageLeft;
        const double from = std::max<double>(x, item.track.box().left);
        // Not clipped at the box's right edge: the merged image of a group is not either.
        const double to = x + size.width();
        if (to > from)
            bounds |= QRectF(from, item.top - kMarqueeInkPad, to - from, size.height());
    }
    if (bounds.isEmpty())
        return QRect();
    return bounds.toAlignedRect().adjusted(-1, -1, 1, 1);
}


bool MarqueeSurface::scrollFrame(double elapsed)
{
    // The backing store must hold exactly the frame at m_drawnElapsed: not while a whole
    // repaint or the last frame's repaint is still to come. A fractional pixel ratio would
    // turn whole CSS pixels into a shift of fractional device pixels.
    if (!testAttribute(Qt::WA_OpaquePaintEvent) || m_wholePending || m_frameElapsed
        || m_dpr != std::round(m_dpr) || !isVisible())
        return false;
    std::optional<int> shift;
    double innerLeft = -1e9, innerRight = 1e9; // where no member's box clips
    std::vector<QRect> moved, redrawn;
    for (const Group &group : std::as_const(m_groups)) {
        const QRect before = groupBounds(group, m_drawnElapsed);
        const QRect after = groupBounds(group, elapsed);
        if (before.isEmpty() && after.isEmpty())
            continue;
        if (before.isEmpty() || after.isEmpty() || mergesBy(group, elapsed)) {
            // Comes in or runs out; or its copies merge into one image at this frame's paint,
            // whose blend rounds differently from the copies drawn one by one: drawn again.
            redrawn.push_back(before.united(after));
            continue;
        }
        for (int m : group.members) {
            const MarqueeTrack &track = m_items.at(m).track;
            const auto from = track.contentLeft(m_drawnElapsed);
            const auto to = track.contentLeft(elapsed);
            if (!from || !to)
                return false;
            const int dx = int(std::round(*to) - std::round(*from));
            if (dx > 0 || (shift && *shift != dx))
                return false; // a loop starting over, or rows at different speeds
            shift = dx;
            innerLeft = std::max(innerLeft, track.box().left);
            innerRight = std::min(innerRight, track.box().right());
        }
        moved.push_back(before.united(after));
    }
    if (!shift)
        return false;
    const int dx = *shift;
    QRegion repaint;
    if (dx != 0) {
        // Each band of moving rows is scrolled between the innermost box edges; what lies
        // outside those edges, and the columns the shift uncovers, are drawn again.
        const int left = int(std::ceil(innerLeft));
        const int right = int(std::floor(innerRight)) - 1;
        for (const QRect &band : present::dirtyBands(moved, rect(), kDirtyRowPx)) {
            const QRect inner(QPoint(std::max(band.left(), left), band.top()),
                              QPoint(std::min(band.right(), right), band.bottom()));
            if (inner.width() <= -dx) {
                repaint += band;
                continue;
            }
            // Copies inside the backing store at once; where Qt cannot (something overlaps
            // the surface) it repaints the rect instead, which draws the same.
            scroll(dx, 0, inner);
            repaint += QRegion(band).subtracted(inner.translated(dx, 0) & inner);
        }
        ++m_scrolledFrames;
    }
    // A row that comes in or runs out was shifted with the rest; its old place is wider by the
    // shift.
    for (const QRect &r : redrawn)
        repaint += r.adjusted(dx - 1, 0, 1 - dx, 0) & rect();
    m_drawnElapsed = elapsed;
    m_frameElapsed = elapsed;
    if (!repaint.isEmpty())
        update(repaint);
    return true;
}
