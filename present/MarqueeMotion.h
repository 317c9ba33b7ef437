#pragma once
// Where a scrolling marquee's content is at a given time, the way browsers run a right-to-left
// marquee: the content enters with its left edge at the box's right edge and moves
// scrollamount CSS px every scrolldelay ms (continuously, scrollamount / scrolldelay px per ms)
// until its right edge has passed the box's left edge; a run covers box width + content width.
// Positions come from elapsed time, never from accumulated steps.

#include "present/MarqueePage.h"

struct MarqueeBox
{
    double left = 0;
    double width = 0;
    double right() const { return left + width; }
};

// The box of a marquee in a viewport of the given width. An absolutely placed marquee without
// a width fills the viewport less its left and right offsets; one in the flow sits inside the
// body's 8 px margin.
MarqueeBox marqueeBox(const MarqueeElement &element, double viewportWidth);

class MarqueeTrack
{
public:
    MarqueeTrack() = default;
    MarqueeTrack(MarqueeBox box, double contentWidth, int scrollAmount, int scrollDelayMs, int loop);

    // Left edge of the content at elapsedMs after the page was shown; nullopt once the runs are
    // over (nothing to draw) and before time 0.
    std::optional<double> contentLeft(double elapsedMs) const;
    bool finished(double elapsedMs) const;
    // Time one run takes; infinite when the marquee does not move.
    double runMs() const;
    // Time at which the last run ends; infinite for a marquee that runs for ever.
    double endMs() const;
    // How far the content has come in from the box's right edge during the current run.
    double revealed(double elapsedMs) const;

    const MarqueeBox &box() const { return m_box; }
    double contentWidth() const { return m_contentWidth; }
    double pixelsPerMs() const { return m_speed; }

private:
    MarqueeBox m_box;
    double m_contentWidth = 0;
    double m_speed = 0; // px per ms
    int m_loop = 1;     // -1 for ever
};
