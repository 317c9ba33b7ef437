#include "present/gui/MarqueeSurface.h"

#include "platform/Cp932.h"
#include "present/gui/MarqueeContent.h"

#include <QBackingStore>
#include <QPaintEngine>
#include <QFile>
#include <QFontDatabase>
#include <QHash>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kBodyMargin = 8;

QString defaultFontFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const QString &preferred : {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP"),
                                     QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                                     QStringLiteral("Noto Sans JP")}) {
        if (families.contains(preferred))
            return preferred;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

// Draws the columns of the image at topLeft that fall between clipLeft and clipRight: only those
// are blended, not the whole image under a clip.
void blitColumns(QPainter &painter, const QImage &image, QPointF topLeft, double clipLeft, double clipRight)
{
    const QSizeF size = image.deviceIndependentSize();
    const double from = std::max(topLeft.x(), clipLeft);
    const double to = std::min(topLeft.x() + size.width(), clipRight);
    if (to <= from)
        return;
    const double dpr = image.devicePixelRatio();
    const QRectF source((from - topLeft.x()) * dpr, 0, (to - from) * dpr, image.height());
    painter.drawImage(QRectF(from, topLeft.y(), to - from, size.height()), image, source);
}

bool rowIsBlank(const QImage &image, int y)
{
    const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    return std::all_of(row, row + image.width(), [](QRgb p) { return qAlpha(p) == 0; });
}

} // namespace

MarqueeSurface::MarqueeSurface(QWidget *parent)
    : QWidget(parent)
    , m_fontFamily(defaultFontFamily())
    , m_flowTopMargin(kBodyMargin)
{
    m_monotonic.start();
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    m_frameTimer.setSingleShot(true); // each frame sets when the next is due
    connect(&m_frameTimer, &QTimer::timeout, this, &MarqueeSurface::onFrame);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(false);
    navigate(QStringLiteral("about:blank"));
}

MarqueeSurface::~MarqueeSurface() = default;

void MarqueeSurface::navigate(const QString &address)
{
    if (address.compare(QStringLiteral("about:blank"), Qt::CaseInsensitive) == 0) {
        load(QString(), QStringLiteral("about:blank"));
        return;
    }
    const QUrl url(address);
    const QString path = url.isLocalFile() ? url.toLocalFile() : address;
    QFile file(path);
    QString html;
    if (file.open(QIODevice::ReadOnly))
        html = platform::decodeCp932(file.readAll());
    load(html, address);
}

void MarqueeSurface::showRows(const QString &path, const MarqueePage &rows)
{
    display(rows, path);
}

void MarqueeSurface::writeDocument(const QString &html)
{
    load(html, m_location);
}

void MarqueeSurface::setColourKey(std::optional<QRgb> key)
{
    m_colourKey = key;
    updateOpaquePainting();
    repaintWhole();
}

void MarqueeSurface::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_shownAt = qint64(now());
    if (m_imagesDropped)
        layout(); // the page starts again: members are drawn on their own until they enter
    restartTimer();
    repaintWhole(); // every row may stand elsewhere by the new clock
}

void MarqueeSurface::setFontFamily(const QString &family)
{
    m_fontFamily = family;
    layout();
}

void MarqueeSurface::setFlowTopMargin(double px)
{
    m_flowTopMargin = px;
    layout();
}

double MarqueeSurface::now() const
{
    return double(m_clock ? m_clock() : m_monotonic.elapsed());
}

qint64 MarqueeSurface::elapsedMs() const
{
    return qint64(now()) - m_shownAt;
}

void MarqueeSurface::load(const QString &html, const QString &location)
{
    display(parseMarqueePage(html), location);
}

void MarqueeSurface::display(const MarqueePage &page, const QString &location)
{
    m_page = page;
    m_location = location;
    m_shownAt = qint64(now());
    updateOpaquePainting();
    layout();
    emit documentComplete(location);
}

void MarqueeSurface::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_imagesDropped) {
        layout(); // regrouping needs every member's image
        return;
    }
    // Boxes follow the viewport width; the content images stay.
    const double viewport = width();
    for (int i = 0; i < m_items.size(); ++i) {
        const MarqueeElement &element = m_page.marquees.at(i);
        Item &item = m_items[i];
        item.track = MarqueeTrack(::marqueeBox(element, viewport), item.contentSize.width(),
                                  element.scrollAmount, element.scrollDelayMs, element.loop);
    }
    buildGroups();
    restartTimer();
    repaintWhole(); // Qt repaints a resized widget anyway; frames must not scroll before that
}

void MarqueeSurface::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateOpaquePainting(); // the window it shows in may only now be known
    repaintWhole();         // what the window held before the surface was hidden is stale
}

bool MarqueeSurface::fillsBackground() const
{
    const QRgb background = m_page.background.value_or(0xFFFFFF);
    return !m_colourKey || (*m_colourKey & 0xFFFFFFu) != (background & 0xFFFFFFu);
}

void MarqueeSurface::updateOpaquePainting()
{
    // A keyed-out background leaves its pixels clear. That is only the whole picture in a
    // see-through window; in an opaque one the parent's background must show there instead.
    setAttribute(Qt::WA_OpaquePaintEvent,
                 fillsBackground() || window()->testAttribute(Qt::WA_TranslucentBackground));
}

void MarqueeSurface::repaintWhole()
{
    m_wholePending = true;
    update();
}

void MarqueeSurface::layout()
{
    m_dpr = devicePixelRatioF();
    m_items.clear();
    m_imagesDropped = false;
    QHash<QString, MarqueeContentImage> rendered; // identical contents render once
    MarqueeTextShaper shaper;
    double flowTop = m_flowTopMargin;
    for (const MarqueeElement &element : std::as_const(m_page.marquees)) {
        Item item;
        item.signature = marqueeElementSignature(element);
        auto it = rendered.constFind(item.signature);
        if (it == rendered.constEnd())
            it = rendered.insert(item.signature, renderMarqueeContent(element, m_fontFamily, m_dpr, shaper));
        item.image = it->image;
        item.imageSize = it->image.deviceIndependentSize();
        item.contentSize = it->size;
        item.imageLeft = it->imageLeft;
        item.track = MarqueeTrack(::marqueeBox(element, width()), item.contentSize.width(),
                                  element.scrollAmount, element.scrollDelayMs, element.loop);
        if (element.absolute) {
            item.top = element.top.value_or(0);
        } else {
            item.top = flowTop;
            flowTop += item.contentSize.height();
        }
        m_items.append(item);
    }
    buildGroups();
    restartTimer();
    repaintWhole();
}

void MarqueeSurface::buildGroups()
{
    m_groups.clear();
    for (int i = 0; i < m_items.size(); ++i) {
        const Item &item = m_items.at(i);
        const MarqueeElement &element = m_page.marquees.at(i);
        // Join the previous group when this marquee moves exactly with it: same content, speed
        // and left edge, run once, offset by at most a few pixels.
        if (!m_groups.isEmpty() && element.loop == 1) {
            Group &group = m_groups.last();
            const int first = group.members.first();
            const Item &head = m_items.at(first);
            const MarqueeElement &headElement = m_page.marquees.at(first);
            if (headElement.loop == 1 && head.signature == item.signature
                && headElement.scrollAmount == element.scrollAmount
                && headElement.scrollDelayMs == element.scrollDelayMs
                && head.track.box().left == item.track.box().left
                && std::abs(head.top - item.top) <= 2
                && std::abs(head.track.box().right() - item.track.box().right()) <= 2) {
                group.members.append(i);
                group.endMs = std::max(group.endMs, item.track.endMs());
                continue;
            }
        }
        m_groups.append(Group{{i}, QImage(), QPointF(), item.track.endMs()});
    }
}

bool MarqueeSurface::mergesBy(const Group &group, double elapsed) const
{
    if (group.composed || group.members.size() < 2)
        return false;
    const Item &head = m_items.at(group.members.first());
    return !head.image.isNull() && head.track.revealed(elapsed) >= head.contentSize.width();
}

void MarqueeSurface::composeEntered(double elapsed)
{
    for (Group &group : m_groups) {
        if (!mergesBy(group, elapsed))
            continue;
        compose(group);
        // Identical texts share one image: it is freed when the last group holding it merges.
        for (int m : std::as_const(group.members))
            m_items[m].image = QImage();
        m_imagesDropped = true;
    }
}

void MarqueeSurface::compose(Group &group)
{
    group.composed = true;
    const Item &head = m_items.at(group.members.first());
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (int m : std::as_const(group.members)) {
        const Item &item = m_items.at(m);
        const double dx = item.track.box().right() - head.track.box().right();
        const double dy = item.top - head.top;
        minX = std::min(minX, dx), maxX = std::max(maxX, dx);
        minY = std::min(minY, dy), maxY = std::max(maxY, dy);
    }
    const QSizeF logical = head.imageSize + QSizeF(maxX - minX, maxY - minY);
    QImage composite(QSize(int(std::ceil(logical.width() * m_dpr)), int(std::ceil(logical.height() * m_dpr))),
                     QImage::Format_ARGB32_Premultiplied);
    composite.setDevicePixelRatio(m_dpr);
    composite.fill(Qt::transparent);
    QPainter painter(&composite);
    for (int m : std::as_const(group.members)) {
        const Item &item = m_items.at(m);
        painter.drawImage(QPointF(item.track.box().right() - head.track.box().right() - minX,
                                  item.top - head.top - minY),
                          item.image);
    }
    painter.end();
    // Blank rows above and below the ink (the pad, the line box's leading) are left out: every
    // frame blends each composite whole, and these rows would cost as much as ink.
    int first = 0, last = composite.height() - 1;
    while (first <= last && rowIsBlank(composite, first))
        ++first;
    while (last > first && rowIsBlank(composite, last))
        --last;
    if (first > last)
        return;
    group.composite = composite.copy(0, first, composite.width(), last - first + 1);
    group.composite.setDevicePixelRatio(m_dpr);
    group.offset = QPointF(minX, minY + first / m_dpr);
}

std::optional<QRectF> MarqueeSurface::marqueeContentRect(int index) const
{
    if (index < 0 || index >= m_items.size())
        return std::nullopt;
    const Item &item = m_items.at(index);
    const auto left = item.track.contentLeft(double(elapsedMs()));
    if (!left)
        return std::nullopt;
    return QRectF(QPointF(*left, item.top), item.contentSize);
}

QRectF MarqueeSurface::marqueeBox(int index) const
{
    if (index < 0 || index >= m_items.size())
        return QRectF();
    const Item &item = m_items.at(index);
    return QRectF(item.track.box().left, item.top, item.track.box().width, item.contentSize.height());
}

void MarqueeSurface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // A render into another device (a grab of the window) leaves the window's own pixels, and
    // what the frames know of them, as they were; it shows the present.
    QBackingStore *store = window()->backingStore();
    const bool toWindow = store && painter.paintEngine()
        && painter.paintEngine()->paintDevice() == store->paintDevice();
    // A whole repaint (load, resize, expose) shows the present. A partial one (a frame's moving
    // rows, or a bit exposed by the window system) draws at the instant the rest of the surface
    // still shows, or rows would tear at the edges of the region. Whole is as far as can be
    // seen: the main window's surface reaches below its frame.
    const bool whole = !toWindow || visibleRegion().subtracted(event->region()).isEmpty();
    const double elapsed = whole ? double(elapsedMs()) : m_frameElapsed.value_or(m_drawnElapsed);
    if (toWindow) {
        m_drawnElapsed = elapsed;
        m_frameElapsed.reset();
        m_wholePending = m_wholePending && !whole;
    }
    const bool fill = fillsBackground();
    if (!fill && testAttribute(Qt::WA_OpaquePaintEvent)) {
        // Keyed out in a see-through window: the pixels under the rows are clear.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect &r : event->region())
            painter.fillRect(r, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (whole) {
        paintPage(painter, event->rect(), qint64(elapsed));
        return;
    }
    // Band by band: a painter clipped to one rect blits on the raster engine's fast path, one
    // clipped to a region of many rects does not. Each band draws only the groups that reach it.
    prepareToDraw(painter, elapsed);
    const QColor background = pageBackground();
    std::vector<std::pair<QRect, const Group *>> drawn;
    for (const Group &group : std::as_const(m_groups)) {
        const QRect r = groupBounds(group, elapsed);
        if (!r.isEmpty())
            drawn.emplace_back(r, &group);
    }
    for (const QRect &band : event->region()) {
        painter.setClipRect(band);
        if (fill)
            painter.fillRect(band, background);
        for (const auto &[bounds, group] : drawn) {
            if (bounds.intersects(band))
                drawGroup(painter, *group, elapsed, band);
        }
    }
}

void MarqueeSurface::prepareToDraw(QPainter &painter, double elapsed)
{
    if (!qFuzzyCompare(painter.device()->devicePixelRatioF(), m_dpr)) {
        m_dpr = painter.device()->devicePixelRatioF();
        layout();
    }
    composeEntered(elapsed);
}

QColor MarqueeSurface::pageBackground() const
{
    return QColor(0xFF000000u | m_page.background.value_or(0xFFFFFF));
}

void MarqueeSurface::paintPage(QPainter &painter, const QRect &area, qint64 elapsedMs)
{
    prepareToDraw(painter, double(elapsedMs));
    if (fillsBackground())
        painter.fillRect(area, pageBackground());
    for (const Group &group : std::as_const(m_groups))
        drawGroup(painter, group, double(elapsedMs), area);
}

void MarqueeSurface::drawGroup(QPainter &painter, const Group &group, double elapsed,
                               const QRect &area) const
{
    if (elapsed < 0 || elapsed >= group.endMs)
        return;
    const Item &head = m_items.at(group.members.first());
    // The merged image is exact once every member has fully entered its box: from then on only
    // the shared left edge clips them. Before that each member is clipped at its own right edge.
    if (!group.composed) {
        for (int m : group.members)
            drawItem(painter, m_items.at(m), elapsed, area);
        return;
    }
    if (group.composite.isNull())
        return; // no ink
    const double headLeft = head.track.box().right() - head.track.revealed(elapsed);
    const double x = std::round(headLeft) - kMarqueeInkPad + head.imageLeft + group.offset.x();
    const double y = head.top - kMarqueeInkPad + group.offset.y();
    blitColumns(painter, group.composite, QPointF(x, y), std::max<double>(head.track.box().left, area.left()),
                area.right() + 1.0);
}

void MarqueeSurface::drawItem(QPainter &painter, const Item &item, double elapsed,
                              const QRect &area) const
{
    if (item.image.isNull())
        return;
    const auto left = item.track.contentLeft(elapsed);
    if (!left)
        return;
    const double x = std::round(*left) - kMarqueeInkPad + item.imageLeft;
    const double y = item.top - kMarqueeInkPad;
    blitColumns(painter, item.image, QPointF(x, y), std::max<double>(item.track.box().left, area.left()),
                std::min<double>(item.track.box().right(), area.right() + 1.0));
}
