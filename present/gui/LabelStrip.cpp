#include "present/gui/LabelStrip.h"

#include "present/LabelColour.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QRandomGenerator>

#include <cmath>

namespace present {

namespace {

constexpr int kFrameMs = 16;

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
    connect(&m_frameTimer, &QTimer::timeout, this, &LabelStrip::onFrame);
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
                                 int intCountMsg)
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
        ok = m_model.showLiveComment(text, toRgb(colour), Index, intCountMsg);
    }
    startTicking();
    return ok;
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

void LabelStrip::TimerLblMsg_Timer(qint32 Index)
{
    m_model.TimerLblMsg_Timer(Index);
    update();
}

void LabelStrip::TimerLblMsgKage_Timer(qint32 Index)
{
    m_model.TimerLblMsgKage_Timer(Index);
    update();
}

void LabelStrip::TimerLblWmpMsg_Timer(qint32 Index)
{
    m_model.TimerLblWmpMsg_Timer(Index);
    update();
}

void LabelStrip::TimerLblWmpMsgKage_Timer(qint32 Index)
{
    m_model.TimerLblWmpMsgKage_Timer(Index);
    update();
}

void LabelStrip::TimerPicMsg_Timer(qint32 Index)
{
    m_model.TimerPicMsg_Timer(Index);
    update();
}

void LabelStrip::onFrame()
{
    syncClock();
    update();
    if (!m_model.hasMovers())
        m_frameTimer.stop();
}

QImage LabelStrip::renderText(const StripLabel &l) const
{
    const qreal dpr = devicePixelRatioF();
    const int w = std::max(1, int(std::ceil(twipsToPixelsX(l.width))));
    const int h = std::max(1, int(std::ceil(twipsToPixelsY(l.height))));
    QImage image(QSize(int(std::ceil(w * dpr)), int(std::ceil(h * dpr))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
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
        const qreal dpr = devicePixelRatioF();
        const int w = std::max(1, int(std::ceil(twipsToPixelsX(l.width))));
        const int h = std::max(1, int(std::ceil(twipsToPixelsY(l.height))));
        QImage image(QSize(int(std::ceil(w * dpr)), int(std::ceil(h * dpr))),
                     QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(Qt::transparent);
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
        const qreal dpr = devicePixelRatioF();
        QImage image(QSize(int(std::ceil(bounds.width() * dpr)), int(std::ceil(bounds.height() * dpr))),
                     QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(Qt::transparent);
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

void LabelStrip::paintComments(QPainter &painter, qint64 tMs)
{
    const QRect strip = rect();
    for (const auto &[c, l] : m_model.paintOrder()) {
        if (!c->label)
            continue;
        const StripLabel &body = *c->label;
        const bool withShadow = c->shadow && c->shadow->visible && body.visible;
        // A comment and its shadow are drawn as one image, at the comment's place in the order.
        if (withShadow && l != &body)
            continue;
        // A shadow slides with its comment.
        const double slide = m_model.drawLeft(*c, body, tMs) - double(body.left);
        const QPoint at(int(std::lround(twipsToPixelsX(double(l->left) + slide))),
                        int(std::lround(twipsToPixelsY(double(l->top)))));
        QRect area(at, QSize(int(std::ceil(twipsToPixelsX(l->width))),
                             int(std::ceil(twipsToPixelsY(l->height)))));
        if (!withShadow) {
            if (area.intersects(strip))
                painter.drawImage(at, imageFor(*c, *l));
            continue;
        }
        // The offset comes from the twips between the two, so it does not flicker with the
        // rounding of each frame's position (and the composite is not rendered again).
        const StripLabel &shade = *c->shadow;
        const QPoint offset(int(std::lround(twipsToPixelsX(double(shade.left - body.left)))),
                            int(std::lround(twipsToPixelsY(double(shade.top - body.top)))));
        area = area.united(area.translated(offset));
        if (!area.intersects(strip))
            continue;  // off the strip: not even rendered yet
        QPoint origin;
        const QImage &image = compositeFor(body, shade, offset, &origin);
        painter.drawImage(at - origin, image);
    }
}

void LabelStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintComments(painter, clockMs());
}

void LabelStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateGeometry();
}

} // namespace present
