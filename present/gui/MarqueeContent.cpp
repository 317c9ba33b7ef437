#include "present/gui/MarqueeContent.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kLineHeight = 1.15; // line box per em: 26 px text gives the page's 30 px rows
constexpr double kCellPadding = 1;   // table cells
constexpr double kCellSpacing = 2;

QFont runFont(const QString &family, const MarqueeRun &run)
{
    QFont font(family);
    font.setPixelSize(std::max(1, run.pixelSize));
    font.setBold(run.bold);
    return font;
}

struct LineMetrics
{
    double width = 0;
    double height = 0;
    double baseline = 0; // from the line's top
};

} // namespace

const MarqueeTextShaper::Shaped &MarqueeTextShaper::shape(const QString &family, const MarqueeRun &run)
{
    const QString fontKey = QString::number(run.pixelSize) + (run.bold ? QLatin1Char('b') : QLatin1Char('n'))
        + family + QLatin1Char('\x1f');
    const QString key = fontKey + run.text;
    if (const auto it = m_shaped.constFind(key); it != m_shaped.constEnd())
        return *it;
    const QFont font = runFont(family, run);
    qsizetype indent = 0;
    while (indent < run.text.size() && run.text.at(indent) == QChar(0x00A0))
        ++indent;
    Shaped shaped = shapeText(font, QStringView(run.text).mid(indent));
    if (indent > 0) {
        auto space = m_spaceAdvance.constFind(fontKey);
        if (space == m_spaceAdvance.constEnd())
            space = m_spaceAdvance.insert(fontKey, shapeText(font, u"\u00A0").advance);
        const double lead = double(indent) * *space;
        shaped.advance += lead;
        shaped.glyphOrigin.rx() += lead;
        shaped.indent = lead;
    }
    return *m_shaped.insert(key, shaped);
}

MarqueeTextShaper::Shaped MarqueeTextShaper::shapeText(const QFont &font, QStringView text)
{
    Shaped shaped;
    const QFontMetricsF metrics(font);
    shaped.ascent = metrics.ascent();
    shaped.descent = metrics.descent();
    if (text.isEmpty())
        return shaped;
    QTextLayout layout(text.toString(), font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.isValid()) {
        shaped.advance = line.horizontalAdvance();
        shaped.glyphOrigin = QPointF(0, -line.ascent());
        shaped.glyphs = line.glyphRuns();
    }
    return shaped;
}

namespace {

LineMetrics measureLine(MarqueeTextShaper &shaper, const QString &family, const MarqueeLine &line,
                        int fallbackPixels)
{
    LineMetrics m;
    double ascent = 0, descent = 0, tallest = 0;
    for (const MarqueeRun &run : line.runs) {
        const MarqueeTextShaper::Shaped &shaped = shaper.shape(family, run);
        m.width += shaped.advance;
        ascent = std::max(ascent, shaped.ascent);
        descent = std::max(descent, shaped.descent);
        tallest = std::max(tallest, double(run.pixelSize));
    }
    if (line.runs.isEmpty())
        tallest = fallbackPixels;
    m.height = std::ceil(kLineHeight * tallest);
    m.baseline = (m.height - (ascent + descent)) / 2 + ascent;
    return m;
}

struct BlockLayout
{
    QList<LineMetrics> lines;
    double width = 0;
    double height = 0;
};

BlockLayout measureBlock(MarqueeTextShaper &shaper, const QString &family, const MarqueeBlock &block,
                         int fallbackPixels)
{
    BlockLayout b;
    for (const MarqueeLine &line : block.lines) {
        const LineMetrics m = measureLine(shaper, family, line, fallbackPixels);
        b.lines.append(m);
        b.width = std::max(b.width, m.width);
        b.height += m.height;
    }
    return b;
}

int firstPixelSize(const MarqueeElement &element)
{
    for (const MarqueeBlock &block : element.blocks)
        for (const MarqueeLine &line : block.lines)
            for (const MarqueeRun &run : line.runs)
                return run.pixelSize;
    return 16;
}

} // namespace


QString marqueeElementSignature(const MarqueeElement &element)
{
    QString key = element.tableRow ? QStringLiteral("T") : QStringLiteral("P");
    for (const MarqueeBlock &block : element.blocks) {
        key += QLatin1Char('\x1d');
        for (const MarqueeLine &line : block.lines) {
            key += QLatin1Char('\x1e');
            for (const MarqueeRun &run : line.runs)
                key += QStringLiteral("\x1f%1,%2,%3,").arg(run.pixelSize).arg(run.bold).arg(run.colour) + run.text;
        }
    }
    return key;
}

MarqueeContentImage renderMarqueeContent(const MarqueeElement &element, const QString &family, qreal dpr,
                                         MarqueeTextShaper &shaper)
{
    MarqueeContentImage out;
    const int fallback = firstPixelSize(element);
    QList<BlockLayout> blocks;
    double width = 0, height = 0;
    const double cellExtra = element.tableRow ? 2 * kCellPadding : 0;
    for (const MarqueeBlock &block : element.blocks) {
        blocks.append(measureBlock(shaper, family, block, fallback));
        width += blocks.last().width + cellExtra;
        height = std::max(height, blocks.last().height + cellExtra);
    }
    if (element.tableRow && !blocks.isEmpty()) {
        width += kCellSpacing * (blocks.size() + 1);
        height += 2 * kCellSpacing;
    }
    width = std::ceil(width);
    height = std::ceil(height);
    out.size = QSizeF(width, height);
    if (width <= 0 || height <= 0)
        return out;

    // The stagger indent is blank: the image starts where the first line's ink can start, so
    // neither the load nor every frame pays for hundreds of transparent columns.
    if (!element.tableRow && element.blocks.size() == 1) {
        double blank = std::numeric_limits<double>::infinity();
        for (const MarqueeLine &line : element.blocks.first().lines) {
            double lead = 0;
            for (const MarqueeRun &run : line.runs) {
                const MarqueeTextShaper::Shaped &shaped = shaper.shape(family, run);
                if (!shaped.glyphs.isEmpty()) {
                    blank = std::min(blank, lead + shaped.indent);
                    break;
                }
                lead += shaped.advance;
            }
        }
        if (std::isfinite(blank))
            out.imageLeft = std::max(0.0, std::floor(blank));
    }
    const double crop = out.imageLeft;
    QImage &image = out.image;
    image = QImage(QSize(int(std::ceil((width + 2 * kMarqueeInkPad - crop) * dpr)), int(std::ceil((height + 2 * kMarqueeInkPad) * dpr))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(-crop, 0);
    double x = kMarqueeInkPad + (element.tableRow ? kCellSpacing : 0);
    for (int b = 0; b < element.blocks.size(); ++b) {
        const MarqueeBlock &block = element.blocks.at(b);
        const BlockLayout &layout = blocks.at(b);
        // Cells are vertically centred in the row, as table cells are by default.
        double y = kMarqueeInkPad + (element.tableRow ? kCellSpacing + kCellPadding : 0);
        if (element.tableRow)
            y += (height - 2 * kCellSpacing - 2 * kCellPadding - layout.height) / 2;
        const double left = x + (element.tableRow ? kCellPadding : 0);
        for (int l = 0; l < block.lines.size(); ++l) {
            double runX = left;
            for (const MarqueeRun &run : block.lines.at(l).runs) {
                const MarqueeTextShaper::Shaped &shaped = shaper.shape(family, run);
                painter.setPen(QColor(QRgb(0xFF000000u | run.colour)));
                const QPointF origin = QPointF(runX, y + layout.lines.at(l).baseline) + shaped.glyphOrigin;
                for (const QGlyphRun &glyphs : shaped.glyphs)
                    painter.drawGlyphRun(origin, glyphs);
                runX += shaped.advance;
            }
            y += layout.lines.at(l).height;
        }
        x += layout.width + cellExtra + (element.tableRow ? kCellSpacing : 0);
    }
    return out;
}
