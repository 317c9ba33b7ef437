// Placing new comments on the strip: live comments by the previous one's geometry, replay
// comments where the replay path puts them, painted comments with their drawings; with
// "コメントを重ねない" each takes a free lane instead of the given top.

#include "present/LabelScroller.h"

#include "present/CommentLanes.h"
#include "present/StripMotion.h"

#include <algorithm>

namespace present {

qint64 LabelScroller::laneTop(qint64 left, qint64 width, qint64 height, qint64 step, int intervalMs,
                              bool shadow) const
{
    constexpr int kShadowRight = 25;
    constexpr int kShadowDown = 20;
    LaneStrip strip;
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

} // namespace present
