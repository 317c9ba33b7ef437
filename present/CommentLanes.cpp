#include "present/CommentLanes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace present {

namespace {

constexpr qint64 kFirstTop = 1;  // the top row of the specified placement

bool sharesBand(const LaneComment &a, qint64 top, qint64 height)
{
    return a.top < top + height && top < a.top + a.height;
}

// Latest time at which a comment may still be on the strip: its right end passes the left edge
// (a tick late at most, and a step behind its line).
double removalBound(const LaneComment &c)
{
    const double v = c.speed();
    if (v <= 0)
        return std::numeric_limits<double>::infinity();
    return double(c.left + c.width + c.step) / v + c.intervalMs;
}

// The comment ahead (further left) stays clear of the one behind it while both are on the strip.
// Ticks may put the one ahead a step behind its line and the one behind a step ahead of it.
bool staysClear(const LaneComment &ahead, const LaneComment &behind)
{
    const double end = removalBound(ahead);
    auto gapAt = [&](double t) {
        const double aheadRight = double(ahead.left + ahead.width + ahead.step) - ahead.speed() * t;
        const double behindLeft = double(behind.left - behind.step) - behind.speed() * t;
        return behindLeft - aheadRight;
    };
    if (gapAt(0) < 0)
        return false;
    if (behind.speed() <= ahead.speed())
        return true;
    return std::isinf(end) ? false : gapAt(end) >= 0;
}

bool bandFree(const LaneComment &incoming, qint64 top, const std::vector<LaneComment> &onStrip)
{
    LaneComment placed = incoming;
    placed.top = top;
    for (const LaneComment &other : onStrip) {
        if (sharesBand(other, top, incoming.height) && !laneCompatible(other, placed))
            return false;
    }
    return true;
}

} // namespace

bool laneCompatible(const LaneComment &other, const LaneComment &incoming)
{
    if (other.left + other.width <= incoming.left)
        return staysClear(other, incoming);
    if (incoming.left + incoming.width <= other.left)
        return staysClear(incoming, other);
    return false;
}

qint64 chooseLaneTop(const LaneStrip &strip, const LaneComment &incoming,
                     const std::vector<LaneComment> &onStrip)
{
    const qint64 lane = std::max<qint64>(1, strip.laneHeight);
    auto fits = [&](qint64 top) { return top == kFirstTop || top + incoming.height <= strip.height; };

    for (qint64 top = kFirstTop; fits(top); top += lane) {
        if (bandFree(incoming, top, onStrip))
            return top;
    }
    for (qint64 top = kFirstTop + lane / 2; top != kFirstTop && fits(top); top += lane) {
        if (bandFree(incoming, top, onStrip))
            return top;
    }
    // Every band is busy: the lane whose comments are all gone soonest.
    qint64 best = kFirstTop;
    double bestFree = std::numeric_limits<double>::infinity();
    for (qint64 top = kFirstTop; fits(top); top += lane) {
        double freeAt = 0;
        for (const LaneComment &other : onStrip) {
            if (sharesBand(other, top, incoming.height))
                freeAt = std::max(freeAt, removalBound(other));
        }
        if (freeAt < bestFree) {
            bestFree = freeAt;
            best = top;
        }
    }
    return best;
}

} // namespace present
