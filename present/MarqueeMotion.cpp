#include "present/MarqueeMotion.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kBodyMargin = 8;
constexpr double kForever = std::numeric_limits<double>::infinity();
} // namespace

MarqueeBox marqueeBox(const MarqueeElement &element, double viewportWidth)
{
    MarqueeBox box;
    if (element.absolute) {
        box.left = element.left.value_or(0);
        box.width = viewportWidth - box.left - element.right.value_or(0);
    } else {
        box.left = kBodyMargin;
        box.width = viewportWidth - 2 * kBodyMargin;
    }
    box.width = std::max(0.0, box.width);
    return box;
}

MarqueeTrack::MarqueeTrack(MarqueeBox box, double contentWidth, int scrollAmount,
                           int scrollDelayMs, int loop)
    : m_box(box)
    , m_contentWidth(std::max(0.0, contentWidth))
    , m_speed(scrollDelayMs > 0 ? double(std::max(0, scrollAmount)) / scrollDelayMs : 0)
    , m_loop(loop > 0 ? loop : -1)
{
}

double MarqueeTrack::runMs() const
{
    return m_speed > 0 ? (m_box.width + m_contentWidth) / m_speed : kForever;
}

double MarqueeTrack::endMs() const
{
    return m_loop < 0 ? kForever : runMs() * m_loop;
}

bool MarqueeTrack::finished(double elapsedMs) const
{
    return elapsedMs >= endMs();
}

double MarqueeTrack::revealed(double elapsedMs) const
{
    if (elapsedMs < 0)
        return 0;
    const double run = runMs();
    const double inRun = std::isfinite(run) ? std::fmod(elapsedMs, run) : elapsedMs;
    return m_speed * inRun;
}

std::optional<double> MarqueeTrack::contentLeft(double elapsedMs) const
{
    if (elapsedMs < 0 || finished(elapsedMs))
        return std::nullopt;
    return m_box.right() - revealed(elapsedMs);
}
