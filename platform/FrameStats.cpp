#include "platform/FrameStats.h"

#include <algorithm>
#include <cmath>

namespace platform {

double percentile(std::vector<double> values, double p)
{
    if (values.empty() || p <= 0)
        return 0;
    std::sort(values.begin(), values.end());
    // Nearest rank: the smallest value with at least p% of the values at or below it.
    const double rank = std::ceil(std::min(p, 100.0) / 100.0 * double(values.size()));
    const std::size_t index = std::size_t(std::max(1.0, rank)) - 1;
    return values[std::min(index, values.size() - 1)];
}

FrameSummary summariseFrames(const std::vector<qint64> &frameNs, qint64 spanNs)
{
    FrameSummary s;
    s.frames = int(frameNs.size());
    std::vector<double> intervals;
    for (std::size_t i = 1; i < frameNs.size(); ++i)
        intervals.push_back(double(frameNs[i] - frameNs[i - 1]) / 1e6);
    if (spanNs > 0) {
        s.fps = double(s.frames) / (double(spanNs) / 1e9);
    } else if (frameNs.size() >= 2 && frameNs.back() > frameNs.front()) {
        s.fps = double(intervals.size()) / (double(frameNs.back() - frameNs.front()) / 1e9);
    }
    if (!intervals.empty()) {
        s.medianMs = percentile(intervals, 50);
        s.p99Ms = percentile(intervals, 99);
        s.worstMs = *std::max_element(intervals.begin(), intervals.end());
    }
    return s;
}

} // namespace platform
