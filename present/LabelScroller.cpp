#include "present/LabelScroller.h"

#include "present/CommentLanes.h"
#include "present/StripMotion.h"

#include <algorithm>
#include <cmath>

namespace present {

namespace {

constexpr quint32 kBlack = 0x000000;

CommentFamily familyOf(Mover mover)
{
    switch (mover) {
    case Mover::TimerLblMsg:
    case Mover::TimerLblMsgKage:
        return CommentFamily::Live;
    case Mover::TimerLblWmpMsg:
    case Mover::TimerLblWmpMsgKage:
        return CommentFamily::Replay;
    case Mover::TimerPicMsg:
        break;
    }
    return CommentFamily::Picture;
}

// How far right of its comment a moving shadow sits; 0 for movers without one.
int movingShadowOffset(Mover mover)
{
    switch (mover) {
    case Mover::TimerLblMsgKage:
        return 25;
    case Mover::TimerLblWmpMsgKage:
        return 20;
    default:
        return 0;
    }
}

} // namespace

int moverInterval(Mover mover)
{
    switch (mover) {
    case Mover::TimerLblMsg:
        return 120;
    case Mover::TimerLblMsgKage:
        return 140;
    case Mover::TimerLblWmpMsg:
        return 120;
    case Mover::TimerLblWmpMsgKage:
        return 150;
    case Mover::TimerPicMsg:
        return 100;
    }
    return 120;
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

bool LabelScroller::createLabel(CommentFamily family, qint32 i)
{
    StripComment &c = m_comments[key(family, i)];
    if (c.label)
        return false;
    if (!c.order) {
        c.family = family;
        c.index = i;
        c.order = ++m_lastOrder;
    }
    c.label = newLabel(m_templateColour);
    return true;
}

bool LabelScroller::createShadow(CommentFamily family, qint32 i)
{
    if (family == CommentFamily::Picture)
        return false;
    StripComment &c = m_comments[key(family, i)];
    if (c.shadow)
        return false;
    if (!c.order) {
        c.family = family;
        c.index = i;
        c.order = ++m_lastOrder;
    }
    c.shadow = newLabel(kBlack);
    return true;
}

bool LabelScroller::createMover(Mover mover, qint32 i)
{
    const CommentFamily family = familyOf(mover);
    StripComment &c = m_comments[key(family, i)];
    if (c.mover)
        return false;
    if (!c.order) {
        c.family = family;
        c.index = i;
        c.order = ++m_lastOrder;
    }
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

qint64 LabelScroller::laneTop(qint64 left, qint64 width, qint64 height, qint64 step, int intervalMs,
                              bool shadow) const
{
    constexpr int kShadowRight = 25;
    constexpr int kShadowDown = 20;
    LaneStrip strip;
    strip.width = m_stripWidth;
    strip.height = m_stripHeight;
    strip.laneHeight = m_measure(QStringLiteral("あ")).height() + (shadow ? kShadowDown : 0);
    LaneComment incoming{left, 0, width + (shadow ? kShadowRight : 0), height + (shadow ? kShadowDown : 0),
                         step, intervalMs};
    std::vector<LaneComment> onStrip;
    onStrip.reserve(m_comments.size());
    for (const auto &entry : m_comments) {
        const StripComment &c = entry.second;
        qint64 otherStep = 0;
        if (!c.label || !c.label->visible || !c.mover || !c.moverEnabled || !stepFromTag(c.tag, &otherStep))
            continue;
        LaneComment other{c.label->left, c.label->top, c.label->width, c.label->height, otherStep,
                          moverInterval(*c.mover)};
        if (c.shadow && c.shadow->visible) {
            other.width = std::max(other.width, c.shadow->left + c.shadow->width - other.left);
            other.height = std::max(other.height, c.shadow->top + c.shadow->height - other.top);
        }
        onStrip.push_back(other);
    }
    return chooseLaneTop(strip, incoming, onStrip);
}

bool LabelScroller::placeAndStart(StripComment &c, const StripLabel &body, int k, qint64 maeH,
                                  qint64 maeTop, bool stagger)
{
    // Everything is computed before anything changes, so a failure leaves nothing half-placed.
    const int r = randomGap(m_random());
    PlacementInput in;
    in.mainWindowWidth = m_mainWindowWidth;
    in.stripHeight = m_stripHeight;
    in.ownHeight = body.height;
    in.k = k;
    in.maeHeight = maeH;
    in.maeTop = maeTop;
    in.r = r;
    Placement p = placeComment(in);
    if (!stagger)
        p.left = in.mainWindowWidth + 1;
    double step = 0;
    if (!stepPerTick(body.width, m_stripWidth, m_intScroll, moverInterval(*c.mover), &step))
        return false;
    if (m_lanes) {
        p.top = laneTop(p.left, body.width, body.height, roundHalfEven(step), moverInterval(*c.mover),
                        bool(c.shadow));
    }
    c.label->left = p.left;
    c.label->top = p.top;
    assignTag(c, stepTag(step));
    return true;
}

bool LabelScroller::msgSet(const QString &strMsg, qint32 Index, int intCountMsg,
                           qint64 lngMaeLabelHeight, qint64 lngMaeLabelTop, bool stagger)
{
    StripComment *c = find(CommentFamily::Live, Index);
    const Mover wanted = m_outlineMode ? Mover::TimerLblMsgKage : Mover::TimerLblMsg;
    const bool ready = c && c->label && c->mover && *c->mover == wanted
        && (!m_outlineMode || c->shadow) && intCountMsg >= 1;
    if (ready) {
        // The label takes its size from its text before it is placed, so its own height decides
        // whether it fits below its predecessor.
        StripLabel sized = *c->label;
        setCaption(sized, strMsg);
        StripComment trial = *c;
        trial.label = sized;
        if (placeAndStart(trial, sized, intCountMsg, lngMaeLabelHeight, lngMaeLabelTop, stagger)) {
            if (m_outlineMode) {
                setCaption(*trial.shadow, strMsg);
                trial.shadow->top = trial.label->top + 20;
                trial.shadow->left = trial.label->left + 25;
            }
            *c = std::move(trial);
            enableMover(CommentFamily::Live, Index);
            return true;
        }
    }
    destroyComment(CommentFamily::Live, Index);
    return false;
}

bool LabelScroller::showLiveComment(const QString &text, quint32 colour, qint32 i, int k, bool stagger)
{
    qint64 maeH = 1;
    qint64 maeTop = 1;
    if (k >= 2) {
        const StripLabel *previous = label(CommentFamily::Live, i - 1);
        if (previous) {
            maeH = previous->height;
            maeTop = previous->top;
        } else if (stagger) {
            return false;
        }
    }
    if (!createLabel(CommentFamily::Live, i))
        return false;
    if (m_outlineMode)
        createShadow(CommentFamily::Live, i);
    setColour(*label(CommentFamily::Live, i), colour);
    createMover(m_outlineMode ? Mover::TimerLblMsgKage : Mover::TimerLblMsg, i);
    if (!msgSet(text, i, k, maeH, maeTop, stagger))
        return false;
    label(CommentFamily::Live, i)->visible = true;
    if (StripLabel *s = shadow(CommentFamily::Live, i))
        s->visible = true;
    return true;
}

bool LabelScroller::startReplayComment(qint32 i, const QString &text, quint32 colour, bool shadow,
                                       const ReplayPlacement &placement)
{
    if (find(CommentFamily::Replay, i))
        return false;
    createLabel(CommentFamily::Replay, i);
    StripLabel &body = *label(CommentFamily::Replay, i);
    setCaption(body, text);
    setColour(body, colour);
    body.left = placement.left;
    body.top = placement.top;
    qint64 laneShift = 0;
    qint64 step = 0;
    const int interval = moverInterval(shadow ? Mover::TimerLblWmpMsgKage : Mover::TimerLblWmpMsg);
    if (m_lanes && stepFromTag(placement.tag, &step)) {
        const qint64 top = laneTop(body.left, body.width, body.height, step, interval, shadow);
        laneShift = top - body.top;
        body.top = top;
    }
    body.visible = true;
    if (shadow) {
        createShadow(CommentFamily::Replay, i);
        StripLabel &shade = *this->shadow(CommentFamily::Replay, i);
        setCaption(shade, text);
        shade.left = placement.shadowLeft;
        shade.top = placement.shadowTop + laneShift;
        shade.visible = true;
    }
    setTag(CommentFamily::Replay, i, placement.tag);
    createMover(shadow ? Mover::TimerLblWmpMsgKage : Mover::TimerLblWmpMsg, i);
    return enableMover(CommentFamily::Replay, i);
}

bool LabelScroller::msgPicMsgSet(const QString &strMsg, qint32 Index, int intCountMsg,
                                 qint64 lngMaeLabelHeight, qint64 lngMaeLabelTop, quint32 colour)
{
    // The picture box, its two measuring labels and its mover come and go together.
    if (find(CommentFamily::Picture, Index) || intCountMsg < 1)
        return false;
    createLabel(CommentFamily::Picture, Index);
    createMover(Mover::TimerPicMsg, Index);
    StripComment &c = *find(CommentFamily::Picture, Index);

    const QStringList lines = strMsg.split(QStringLiteral("<br>"));
    QString whole = strMsg;
    whole.replace(QStringLiteral("<br>"), QStringLiteral("\r\n"));
    const QSize measured = m_measure(whole);                 // the whole picture text
    const QSize oneLine = m_measure(QStringLiteral("aaa"));  // the height of one line
    StripLabel &box = *c.label;
    box.caption = whole;
    box.colour = colour;
    box.width = measured.width() + 80;
    box.height = measured.height() + 80;
    ++box.revision;
    const qint64 pitch = oneLine.height() + 3;

    c.drawings.clear();
    qint64 yTwips = 0;
    for (const QString &line : lines) {
        const int y = int(roundHalfEven(double(yTwips) * m_dpi / 1440.0));
        c.drawings.push_back({line, 2, y + 1, true});
        c.drawings.push_back({line, 2, y + 3, true});
        c.drawings.push_back({line, 1, y + 2, true});
        c.drawings.push_back({line, 3, y + 2, true});
        c.drawings.push_back({line, 2, y + 2, false});
        yTwips += pitch;
    }

    if (!placeAndStart(c, box, intCountMsg, lngMaeLabelHeight, lngMaeLabelTop)) {
        destroyComment(CommentFamily::Picture, Index);
        return false;
    }
    box.visible = true;
    enableMover(CommentFamily::Picture, Index);
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
    const int offset = movingShadowOffset(expected);
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
        switch (mover) {
        case Mover::TimerLblMsg:
            TimerLblMsg_Timer(due.key.second);
            break;
        case Mover::TimerLblMsgKage:
            TimerLblMsgKage_Timer(due.key.second);
            break;
        case Mover::TimerLblWmpMsg:
            TimerLblWmpMsg_Timer(due.key.second);
            break;
        case Mover::TimerLblWmpMsgKage:
            TimerLblWmpMsgKage_Timer(due.key.second);
            break;
        case Mover::TimerPicMsg:
            TimerPicMsg_Timer(due.key.second);
            break;
        }
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
