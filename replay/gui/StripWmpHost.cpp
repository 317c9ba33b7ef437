#include "replay/gui/StripWmpHost.h"

#include "present/gui/LabelStrip.h"

#include <limits>

namespace replay {

namespace {

bool fitsStripIndex(qint64 index)
{
    return index >= 0 && index <= std::numeric_limits<qint32>::max();
}

int clampToInt(qint64 v)
{
    return int(qBound(qint64(std::numeric_limits<int>::min()), v, qint64(std::numeric_limits<int>::max())));
}

} // namespace

int StripWmpHost::windowWidth() const
{
    return m_strip.pixelsToTwipsX(m_strip.window()->width());
}

int StripWmpHost::frameWidth() const
{
    return m_strip.pixelsToTwipsX(m_strip.width());
}

int StripWmpHost::frameHeight() const
{
    return m_strip.pixelsToTwipsY(m_strip.height());
}

std::optional<TwipsRect> StripWmpHost::wmpLabelRect(qint64 index) const
{
    if (!fitsStripIndex(index))
        return std::nullopt;
    const present::StripLabel *label = m_strip.model().label(present::CommentFamily::Replay, qint32(index));
    if (!label)
        return std::nullopt;
    return TwipsRect{clampToInt(label->left), clampToInt(label->top), label->width, label->height};
}

int StripWmpHost::newWmpLabelHeight() const
{
    return m_strip.model().emptyLabelSize().height();
}

int StripWmpHost::wmpLabelWidth(const QString &caption) const
{
    return m_strip.model().labelSize(caption).width();
}

bool StripWmpHost::startWmpComment(const WmpComment &comment)
{
    if (!fitsStripIndex(comment.index))
        return false;
    present::LabelScroller::ReplayPlacement placement;
    placement.left = comment.placement.left;
    placement.top = comment.placement.top;
    placement.shadowLeft = comment.placement.shadowLeft;
    placement.shadowTop = comment.placement.shadowTop;
    placement.tag = comment.placement.tag;
    const QColor colour(int((comment.colour >> 16) & 0xFF), int((comment.colour >> 8) & 0xFF),
                        int(comment.colour & 0xFF));
    return m_strip.startReplayComment(qint32(comment.index), comment.text, colour, comment.shadow, placement);
}

} // namespace replay
