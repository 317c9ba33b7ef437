#include "present/LabelScroller.h"

#include "present/StripMotion.h"

#include <algorithm>
#include <cmath>

namespace present {

namespace {

constexpr quint32 kBlack = 0x000000;

// Each mover array: the comments it moves, its tick interval, and how far right of its comment
// it keeps a moving shadow (0: none).
struct MoverTraits
{
    Mover mover;
    CommentFamily family;
    int intervalMs;
    int shadowOffset;
};

constexpr MoverTraits kMovers[] = {
    {Mover::TimerLblMsg, CommentFamily::Live, 120, 0},
    {Mover::TimerLblMsgKage, CommentFamily::Live, 140, 25},
    {Mover::TimerLblWmpMsg, CommentFamily::Replay, 120, 0},
    {Mover::TimerLblWmpMsgKage, CommentFamily::Replay, 150, 20},
    {Mover::TimerPicMsg, CommentFamily::Picture, 100, 0},
};

const MoverTraits &traits(Mover mover)
{
    for (const MoverTraits &t : kMovers) {
        if (t.mover == mover)
            return t;
    }
    return kMovers[0];
}

CommentFamily familyOf(Mover mover)
{
    return traits(mover).family;
}

} // namespace

int moverInterval(Mover mover)
{
    return traits(mover).intervalMs;
}

LabelScroller::LabelScroller(Measure measure, Random random)
    : m_measure(std::move(measure))
    , m_random(std::move(random))
{
}

void LabelScroller::setStripSize(int widthTwips, int heightTwips)
{
    m_stripWidth = widthTwips;
    m_stripHeight = heightTwips;
}

StripComment *LabelScroller::find(CommentFamily f, qint32 i)
{
    auto it = m_comments.find(key(f, i));
    return it == m_comments.end() ? nullptr : &it->second;
}

const StripComment *LabelScroller::comment(CommentFamily family, qint32 i) const
{
    auto it = m_comments.find(key(family, i));
    return it == m_comments.end() ? nullptr : &it->second;
}

StripLabel *LabelScroller::label(CommentFamily family, qint32 i)
{
    StripComment *c = find(family, i);
    return c && c->label ? &*c->label : nullptr;
}

StripLabel *LabelScroller::shadow(CommentFamily family, qint32 i)
{
    StripComment *c = find(family, i);
    return c && c->shadow ? &*c->shadow : nullptr;
}

StripLabel LabelScroller::newLabel(quint32 colour)
{
    StripLabel l;
    l.serial = ++m_lastSerial;
    l.colour = colour;
    const QSize size = m_measure(QString());
    l.width = size.width();
    l.height = size.height();
    bringToFront(l);
    return l;
}

StripComment &LabelScroller::slot(CommentFamily family, qint32 i)
{
    StripComment &c = m_comments[key(family, i)];
    if (!c.order) {
        c.family = family;
        c.index = i;
        c.order = ++m_lastOrder;
    }
    return c;
}

bool LabelScroller::createLabel(CommentFamily family, qint32 i)
{
    return createPart(slot(family, i).label, m_templateColour);
}

bool LabelScroller::createShadow(CommentFamily family, qint32 i)
{
    return family != CommentFamily::Picture && createPart(slot(family, i).shadow, kBlack);
}

bool LabelScroller::createPart(std::optional<StripLabel> &part, quint32 colour)
{
    if (part)
        return false;
    part = newLabel(colour);
    return true;
}

bool LabelScroller::createMover(Mover mover, qint32 i)
{
    const CommentFamily family = familyOf(mover);
    StripComment &c = slot(family, i);
    if (c.mover)
        return false;
    c.mover = mover;
    c.moverEnabled = false;
    return true;
}

void LabelScroller::destroyComment(CommentFamily family, qint32 i)
{
    auto it = m_comments.find(key(family, i));
    if (it == m_comments.end())
        return;
    const StripComment gone = std::move(it->second);
    m_comments.erase(it);
    if (m_onDestroyed) {
        if (gone.label)
            m_onDestroyed(gone.label->serial);
        if (gone.shadow)
            m_onDestroyed(gone.shadow->serial);
    }
}

void LabelScroller::setCaption(StripLabel &l, const QString &caption)
{
    l.caption = caption;
    const QSize size = m_measure(caption);
    l.width = size.width();
    l.height = size.height();
    ++l.revision;
}

void LabelScroller::setColour(StripLabel &l, quint32 rgb)
{
    if (l.colour != rgb) {
        l.colour = rgb;
        ++l.revision;
    }
}

void LabelScroller::setTag(CommentFamily family, qint32 i, const QString &tag)
{
    if (StripComment *c = find(family, i))
        assignTag(*c, tag);
}

void LabelScroller::assignTag(StripComment &c, const QString &tag)
{
    c.tag = tag;
    qint64 step = 0;
    c.step = stepFromTag(tag, &step) ? std::optional<qint64>(step) : std::nullopt;
}

void LabelScroller::schedule(const StripComment &c)
{
    m_due.push(Due{c.nextTickMs, c.order, key(c.family, c.index)});
}

bool LabelScroller::enableMover(CommentFamily family, qint32 i)
{
    StripComment *c = find(family, i);
    if (!c || !c->mover)
        return false;
    if (c->moverEnabled)
        return true;
    c->moverEnabled = true;
    c->nextTickMs = m_now + moverInterval(*c->mover);
    schedule(*c);
    return true;
}

void LabelScroller::tick(CommentFamily family, qint32 i, Mover expected)
{
    StripComment *c = find(family, i);
    if (!c || !c->mover || *c->mover != expected)
        return;
    if (!c->label) {
        // A mover whose label is gone would fire for ever: drop it.
        destroyComment(family, i);
        return;
    }
    if (!c->step)
        return;  // the tick fails; the mover keeps firing
    const qint64 step = *c->step;
    StripLabel &l = *c->label;
    l.left -= step;
    const int offset = traits(expected).shadowOffset;
    if (offset && c->shadow) {
        c->shadow->left = l.left + offset;
        bringToFront(*c->shadow);
    }
    bringToFront(l);
    if (l.left + l.width < 0)
        destroyComment(family, i);
}

void LabelScroller::TimerLblMsg_Timer(qint32 Index)
{
    tick(CommentFamily::Live, Index, Mover::TimerLblMsg);
}

void LabelScroller::TimerLblMsgKage_Timer(qint32 Index)
{
    tick(CommentFamily::Live, Index, Mover::TimerLblMsgKage);
}

void LabelScroller::TimerLblWmpMsg_Timer(qint32 Index)
{
    tick(CommentFamily::Replay, Index, Mover::TimerLblWmpMsg);
}

void LabelScroller::TimerLblWmpMsgKage_Timer(qint32 Index)
{
    tick(CommentFamily::Replay, Index, Mover::TimerLblWmpMsgKage);
}

void LabelScroller::TimerPicMsg_Timer(qint32 Index)
{
    tick(CommentFamily::Picture, Index, Mover::TimerPicMsg);
}

void LabelScroller::advanceTo(qint64 nowMs)
{
    while (!m_due.empty() && m_due.top().at <= nowMs) {
        const Due due = m_due.top();
        m_due.pop();
        StripComment *c = find(CommentFamily(due.key.first), due.key.second);
        if (!c || !c->mover || !c->moverEnabled || c->nextTickMs != due.at || c->order != due.order)
            continue;  // stale entry
        m_now = due.at;
        const Mover mover = *c->mover;
        c->nextTickMs = due.at + moverInterval(mover);
        schedule(*c);
        // What the mover's own handler (TimerLblMsg_Timer and the others) does.
        tick(familyOf(mover), due.key.second, mover);
    }
    m_now = std::max(m_now, nowMs);
}

bool LabelScroller::hasMovers() const
{
    for (const auto &entry : m_comments) {
        if (entry.second.moverEnabled && entry.second.label)
            return true;
    }
    return false;
}

double LabelScroller::drawLeft(const StripComment &c, const StripLabel &l, qint64 tMs) const
{
    if (!c.moverEnabled || !c.mover)
        return double(l.left);
    // Slide from this tick's position towards the next one's.
    if (!c.step)
        return double(l.left);
    const qint64 step = *c.step;
    const int interval = moverInterval(*c.mover);
    const qint64 sinceTick = tMs - (c.nextTickMs - interval);
    const double fraction = std::clamp(double(sinceTick) / interval, 0.0, 1.0);
    return double(l.left) - fraction * double(step);
}

qsizetype LabelScroller::commentCount(CommentFamily family) const
{
    return std::count_if(m_comments.begin(), m_comments.end(),
                         [family](const auto &e) { return e.second.family == family; });
}

std::vector<std::pair<const StripComment *, const StripLabel *>> LabelScroller::paintOrder() const
{
    std::vector<std::pair<const StripComment *, const StripLabel *>> out;
    out.reserve(m_comments.size() * 2);
    for (const auto &entry : m_comments) {
        const StripComment &c = entry.second;
        if (c.label && c.label->visible)
            out.emplace_back(&c, &*c.label);
        if (c.shadow && c.shadow->visible)
            out.emplace_back(&c, &*c.shadow);
    }
    std::sort(out.begin(), out.end(),
              [](const auto &a, const auto &b) { return a.second->z < b.second->z; });
    return out;
}

} // namespace present
