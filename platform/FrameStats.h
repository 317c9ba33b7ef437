#pragma once
// Summary of the frames a surface presented during a measurement: frames per second and the
// median and 99th percentile of the intervals between consecutive frames.

#include <QtGlobal>
#include <vector>

namespace platform {

struct FrameSummary
{
    int frames = 0;
    double fps = 0;          // frames per second of the measured span
    double medianMs = 0;     // interval between consecutive frames
    double p99Ms = 0;
    double worstMs = 0;
};

// Nearest-rank percentile (0 < p <= 100) of the values; 0 for none. Sorts a copy.
double percentile(std::vector<double> values, double p);

// frameNs: monotonic timestamps of the presented frames, in order. spanNs: the length of the
// measured span (frames per second = frames / span); when 0, the span from the first to the
// last frame is used, with frames - 1 intervals.
FrameSummary summariseFrames(const std::vector<qint64> &frameNs, qint64 spanNs = 0);

} // namespace platform
