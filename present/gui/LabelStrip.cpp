#include "present/gui/LabelStrip.h"

#include "present/DirtyBands.h"
#include "present/LabelColour.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace present {

namespace {

constexpr int kFrameMs = 16;
constexpr int kDirtyRowPx = 16;  // rows of the repainted part: a comment is 30-40 px high

QString toDisplayLines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

quint32 toRgb(const QColor &c)
{
    return (quint32(c.red()) << 16) | (quint32(c.green()) << 8) | quint32(c.blue());
}

QColor fromRgb(quint32 rgb)
{
    return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

// A clear image of this logical size at the device pixel ratio.
QImage transparentImage(QSize logical, qreal dpr)
{
    QImage image(QSize(int(std::ceil(logical.width() * dpr)), int(std::ceil(logical.height() * dpr))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

LabelStrip::LabelStrip(QWidget *parent)
    : QWidget(parent)
    , m_model([this](const QString &text) { return measure(text); },
              [this] { return m_random ? m_random() : QRandomGenerator::global()->generateDouble(); })
{
    // Nothing but the comments is painted: the strip stays see-through.
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    m_elapsed.start();
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    m_frameTimer.setInterval(kFrameMs);
    connect(&m_frameTimer, &QTimer::timeout, this, &LabelStrip::runFrame);
    m_spreadTimer.setSingleShot(true);
    m_spreadTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_spreadTimer, &QTimer::timeout, this, &LabelStrip::releaseDueComments);
    m_model.setOnLabelDestroyed([this](quint64 serial) { m_cache.remove(serial); });
    setLook(LabelLook());
}

LabelStrip::~LabelStrip()
{
    m_model.setOnLabelDestroyed(nullptr);
}

bool LabelStrip::pictureCommentsRequested()
{
    return qEnvironmentVariableIntValue("KESTRELON_PICTURE_COMMENTS") == 1;
}

void LabelStrip::setLook(const LabelLook &look)
{
    m_look = look;
    m_font = font();
    if (!look.fontFamily.isEmpty())
        m_font.setFamily(look.fontFamily);
    if (look.pointSize > 0)
        m_font.setPointSize(look.pointSize);
    m_model.setTemplateColour(toRgb(look.colour));
}

double LabelStrip::twipsToPixelsX(double twips) const
{
    return twips * logicalDpiX() / 1440.0;
}

double LabelStrip::twipsToPixelsY(double twips) const
{
    return twips * logicalDpiY() / 1440.0;
}

int LabelStrip::pixelsToTwipsX(double px) const
{
    return int(std::lround(px * 1440.0 / logicalDpiX()));
}

int LabelStrip::pixelsToTwipsY(double px) const
{
    return int(std::lround(px * 1440.0 / logicalDpiY()));
}

QSize LabelStrip::measure(const QString &text) const
{
    // A label sized to its text: every line, and one line's height when it is empty.
    const QFontMetrics metrics(m_font);
    const QRect r = metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::AlignLeft | Qt::AlignTop,
                                         toDisplayLines(text));
    const int h = std::max(r.height(), metrics.height());
    return QSize(pixelsToTwipsX(r.width()), pixelsToTwipsY(h));
}

qint64 LabelStrip::clockMs() const
{
    return m_clock ? m_clock() : m_elapsed.elapsed();
}

void LabelStrip::updateGeometry()
{
    m_model.setMainWindowWidth(pixelsToTwipsX(window()->width()));
    m_model.setStripSize(pixelsToTwipsX(width()), pixelsToTwipsY(height()));
    m_model.setDpi(logicalDpiY());
}

void LabelStrip::syncClock()
{
    m_model.advanceTo(clockMs());
}

void LabelStrip::startTicking()
{
    updateGeometry();
    if (m_model.hasMovers() && !m_frameTimer.isActive())
        m_frameTimer.start();
    update();
}

void LabelStrip::advanceTo(qint64 tMs)
{
    m_model.advanceTo(tMs);
}

bool LabelStrip::msgSet(const QString &strMsg, qint32 Index, int intCountMsg,
                        qint64 lngMaeLabelHeight, qint64 lngMaeLabelTop)
{
    syncClock();
    updateGeometry();
    const bool ok = m_model.msgSet(strMsg, Index, intCountMsg, lngMaeLabelHeight, lngMaeLabelTop);
    startTicking();
    return ok;
}

bool LabelStrip::showLiveComment(const QString &text, const QColor &colour, qint32 Index,
                                 int intCountMsg, bool stagger)
{
    syncClock();
    updateGeometry();
    bool ok = false;
    if (pictureCommentsRequested()) {
        // The picture comment takes the previous picture's geometry as the label path does.
        qint64 maeH = 1;
        qint64 maeTop = 1;
        if (intCountMsg >= 2) {
            if (const StripLabel *previous = m_model.label(CommentFamily::Picture, Index - 1)) {
                maeH = previous->height;
                maeTop = previous->top;
            }
        }
        QString lines = text;
        lines.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
        ok = m_model.msgPicMsgSet(lines, Index, intCountMsg, maeH, maeTop,
                                  labelColourFor(lines, toRgb(m_look.colour)));
    } else {
        ok = m_model.showLiveComment(text, toRgb(colour), Index, intCountMsg, stagger);
    }
    startTicking();
    return ok;
}

void LabelStrip::spreadBatch(const QList<SpreadComment> &batch, qint64 intervalMs)
{
    release(m_spread.addBatch(batch, clockMs(), intervalMs));
    armSpreadTimer();
}

void LabelStrip::releaseDueComments()
{
    release(m_spread.takeDue(clockMs()));
    armSpreadTimer();
}

void LabelStrip::release(const QList<SpreadRelease> &comments)
{
    // A comment that cannot be shown is skipped; the later ones still come.
    for (const SpreadRelease &r : comments)
        showLiveComment(r.comment.text, QColor::fromRgb(r.comment.colour), r.comment.index, r.comment.k, r.stagger);
}

void LabelStrip::armSpreadTimer()
{
    if (const std::optional<qint64> due = m_spread.nextDue())
        m_spreadTimer.start(int(std::clamp<qint64>(*due - clockMs(), 0, 60000)));
    else
        m_spreadTimer.stop();
}

bool LabelStrip::msgPicMsgSet(const QString &strMsg, qint32 Index, int intCountMsg,
                              qint64 lngMaeLabelHeight, qint64 lngMaeLabelTop)
{
    syncClock();
    updateGeometry();
    const bool ok = m_model.msgPicMsgSet(strMsg, Index, intCountMsg, lngMaeLabelHeight, lngMaeLabelTop,
                                         labelColourFor(strMsg, toRgb(m_look.colour)));
    startTicking();
    return ok;
}

bool LabelStrip::startReplayComment(qint32 Index, const QString &text, const QColor &colour,
                                    bool shadow, const LabelScroller::ReplayPlacement &placement)
{
    syncClock();
    const bool ok = m_model.startReplayComment(Index, text, toRgb(colour), shadow, placement);
    startTicking();
    return ok;
}

void LabelStrip::runFrame()
{
    syncClock();
    const qint64 now = clockMs();
    const std::vector<Shown> shown = shownOf(place(now));
    // Both lists are sorted by serial: walk them together, keeping the old and the new place of
    // every comment that moved, changed, came or went.
    std::vector<QRect> changed;
    auto was = m_shown.cbegin();
    auto is = shown.cbegin();
    while (was != m_shown.cend() || is != shown.cend()) {
        if (is == shown.cend() || (was != m_shown.cend() && was->serial < is->serial)) {
            changed.push_back((was++)->area);
        } else if (was == m_shown.cend() || is->serial < was->serial) {
            changed.push_back((is++)->area);
        } else {
            if (!(*was == *is)) {
                changed.push_back(was->area);
                changed.push_back(is->area);
            }
            ++was, ++is;
        }
    }
    if (!changed.empty()) {
        m_frameMs = now;
        const std::vector<QRect> bands = dirtyBands(changed, rect(), kDirtyRowPx);
        if (areaOf(bands) * 10 > qint64(width()) * height() * 6) {
            update();
        } else {
            QRegion region;
            region.setRects(bands.data(), int(bands.size()));
            update(region);
        }
    }
    if (!m_model.hasMovers())
        m_frameTimer.stop();
}

QImage LabelStrip::renderText(const StripLabel &l) const
{
    const int w = std::max(1, int(std::ceil(twipsToPixelsX(l.width))));
    const int h = std::max(1, int(std::ceil(twipsToPixelsY(l.height))));
    QImage image = transparentImage(QSize(w, h), devicePixelRatioF());
    QPainter p(&image);
    p.setFont(m_font);
    p.setPen(fromRgb(l.colour));
    p.drawText(QRect(0, 0, w, h), Qt::AlignLeft | Qt::AlignTop, toDisplayLines(l.caption));
    return image;
}

const QImage &LabelStrip::imageFor(const StripComment &c, const StripLabel &l)
{
    Cached &cached = m_cache[l.serial];
    if (!cached.image.isNull() && cached.revision == l.revision)
        return cached.image;

    if (c.family == CommentFamily::Picture) {
        // Four black copies around each line, then the line in its colour.
        const int w = std::max(1, int(std::ceil(twipsToPixelsX(l.width))));
        const int h = std::max(1, int(std::ceil(twipsToPixelsY(l.height))));
        QImage image = transparentImage(QSize(w, h), devicePixelRatioF());
        QPainter p(&image);
        p.setFont(m_font);
        const QColor colour = fromRgb(l.colour);
        for (const PictureDrawing &d : c.drawings) {
            p.setPen(d.outline ? QColor(Qt::black) : colour);
            p.drawText(QRect(d.x, d.y, w, h), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, d.text);
        }
        p.end();
        cached.image = std::move(image);
    } else {
        cached.image = renderText(l);
    }
    cached.revision = l.revision;
    cached.origin = QPoint();
    return cached.image;
}

const QImage &LabelStrip::compositeFor(const StripLabel &body, const StripLabel &shade,
                                       QPoint shadowOffset, QPoint *origin)
{
    Cached &cached = m_cache[body.serial];
    if (cached.image.isNull() || cached.revision != body.revision
        || cached.shadowRevision != shade.revision || cached.shadowOffset != shadowOffset) {
        const QImage front = renderText(body);
        const QImage back = renderText(shade);
        const QRect bodyRect(QPoint(0, 0), front.deviceIndependentSize().toSize());
        const QRect shadeRect(shadowOffset, back.deviceIndependentSize().toSize());
        const QRect bounds = bodyRect.united(shadeRect);
        QImage image = transparentImage(bounds.size(), devicePixelRatioF());
        QPainter p(&image);
        p.drawImage(shadeRect.topLeft() - bounds.topLeft(), back);
        p.drawImage(bodyRect.topLeft() - bounds.topLeft(), front);
        p.end();
        cached.image = std::move(image);
        cached.revision = body.revision;
        cached.shadowRevision = shade.revision;
        cached.shadowOffset = shadowOffset;
        cached.origin = -bounds.topLeft();
    }
    *origin = cached.origin;
    return cached.image;
}

std::vector<LabelStrip::Placed> LabelStrip::place(qint64 tMs) const
{
    const double sx = logicalDpiX() / 1440.0;
    const double sy = logicalDpiY() / 1440.0;
    std::vector<Placed> out;
    const auto order = m_model.paintOrder();
    out.reserve(order.size());
    for (const auto &[c, l] : order) {
        if (!c->label)
            continue;
        const StripLabel &body = *c->label;
        const bool withShadow = c->shadow && c->shadow->visible && body.visible;
        // A comment and its shadow are drawn as one image, at the comment's place in the order.
        if (withShadow && l != &body)
            continue;
        // A shadow slides with its comment.
        const double slide = m_model.drawLeft(*c, body, tMs) - double(body.left);
        Placed p;
        p.comment = c;
        p.label = l;
        p.at = QPoint(int(std::lround((double(l->left) + slide) * sx)), int(std::lround(double(l->top) * sy)));
        p.area = QRect(p.at, QSize(int(std::ceil(l->width * sx)), int(std::ceil(l->height * sy))));
        if (withShadow) {
            // The offset comes from the twips between the two, so it does not flicker with the
            // rounding of each frame's position (and the composite is not rendered again).
            p.shade = &*c->shadow;
            p.shadeOffset = QPoint(int(std::lround(double(p.shade->left - body.left) * sx)),
                                   int(std::lround(double(p.shade->top - body.top) * sy)));
            p.area = p.area.united(p.area.translated(p.shadeOffset));
        }
        out.push_back(p);
    }
    return out;
}

std::vector<LabelStrip::Shown> LabelStrip::shownOf(const std::vector<Placed> &placed) const
{
    const QRect strip = rect();
    std::vector<Shown> out;
    out.reserve(placed.size());
    for (const Placed &p : placed) {
        if (p.area.intersects(strip))
            out.push_back(Shown{p.label->serial, p.label->revision, p.shade ? p.shade->revision : 0,
                                p.area});
    }
    std::sort(out.begin(), out.end(), [](const Shown &a, const Shown &b) { return a.serial < b.serial; });
    return out;
}

void LabelStrip::draw(QPainter &painter, const Placed &p)
{
    if (!p.shade) {
        painter.drawImage(p.at, imageFor(*p.comment, *p.label));
        return;
    }
    QPoint origin;
    const QImage &image = compositeFor(*p.label, *p.shade, p.shadeOffset, &origin);
    painter.drawImage(p.at - origin, image);
}

void LabelStrip::paintComments(QPainter &painter, qint64 tMs)
{
    const QRect strip = rect();
    for (const Placed &p : place(tMs)) {
        if (p.area.intersects(strip))  // off the strip: not even rendered yet
            draw(painter, p);
    }
}

void LabelStrip::paintEvent(QPaintEvent *event)
{
    // A whole repaint shows the present. A partial one (a frame's moving comments, or a bit
    // exposed by the window system) draws at the instant the rest of the window still shows,
    // or comments would tear at the edges of the region.
    const QRegion &region = event->region();
    const bool whole = QRegion(rect()).subtracted(region).isEmpty();
    const qint64 tMs = whole ? clockMs() : m_frameMs.value_or(m_shownMs);
    m_frameMs.reset();
    const std::vector<Placed> placed = place(tMs);
    QPainter painter(this);
    if (whole) {
        const QRect strip = rect();
        for (const Placed &p : placed) {
            if (p.area.intersects(strip))
                draw(painter, p);
        }
    } else {
        // Rect by rect: a painter clipped to one rect blits on the raster engine's fast path.
        for (const QRect &band : region) {
            painter.setClipRect(band);
            for (const Placed &p : placed) {
                if (p.area.intersects(band))
                    draw(painter, p);
            }
        }
    }
    m_shown = shownOf(placed);
    m_shownMs = tMs;
}

void LabelStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateGeometry();
}

} // namespace present
