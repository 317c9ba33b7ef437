#pragma once
// Lanes for comments that must not pile up: a new comment takes the highest lane where it never
// touches a comment already there (the faster of two comments closes the gap between them; the
// slower one must be gone first). A comment ahead is then clear of the new one when that comes
// into view, even while the one ahead has not yet come wholly into view itself (new comments
// start right of the strip, under the side panel). When every lane is busy it tries half a lane
// between two lanes, and failing that takes the lane that frees first. Lengths in twips, times
// in milliseconds.
//
// Comments move in whole steps once a tick, so the tests allow a comment to be up to one step
// ahead or behind its straight line.

#include <QtGlobal>
#include <vector>

namespace present {

struct LaneComment
{
    qint64 left = 0;
    qint64 top = 0;
    qint64 width = 0;   // with the shadow copy, when there is one
    qint64 height = 0;
    qint64 step = 0;    // twips a tick
    int intervalMs = 120;

    double speed() const { return intervalMs > 0 ? double(step) / intervalMs : 0.0; }
};

struct LaneStrip
{
    qint64 height = 0;
    qint64 laneHeight = 0;  // a one-line comment, from the font
};

// True when the new comment, starting where it stands now, never overlaps the other one (both
// assumed to be in the same band of the strip).
bool laneCompatible(const LaneComment &other, const LaneComment &incoming);

// The top for the incoming comment (its left, size and step set; its top ignored).
qint64 chooseLaneTop(const LaneStrip &strip, const LaneComment &incoming,
                     const std::vector<LaneComment> &onStrip);

} // namespace present
