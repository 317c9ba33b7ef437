#pragma once
// One marquee's content drawn once into an image: its runs shaped, its lines and table cells
// laid out as the page's rows are, and the glyphs drawn in their colours.

#include "present/MarqueePage.h"

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>

constexpr int kMarqueeInkPad = 4; // room for glyph ink outside the advance box, on every side

// Each run's text shaped once per page load: its advance for the layout and its glyphs for the
// drawing. A response's four outline copies and its coloured text share one text, so shaping
// (the costly part of rendering a page) runs once for all five. The stagger indent (up to a few
// hundred U+00A0 at the start of a line, most of a page's characters) draws nothing: it only
// moves the text, by as many no-break-space advances, and is not shaped.
class MarqueeTextShaper
{
public:
    struct Shaped
    {
        double advance = 0;
        double ascent = 0;   // the font's, for the line box
        double descent = 0;
        QPointF glyphOrigin; // where to draw the glyphs, relative to the run's start on its baseline
        QList<QGlyphRun> glyphs;
        double indent = 0;   // advance of the leading no-break spaces, which draw nothing
    };

    const Shaped &shape(const QString &family, const MarqueeRun &run);

private:
    static Shaped shapeText(const QFont &font, QStringView text);

    QHash<QString, Shaped> m_shaped;
    QHash<QString, double> m_spaceAdvance;
};

struct MarqueeContentImage
{
    QImage image;         // content plus kMarqueeInkPad on every side, at the ratio, less the blank indent
    QSizeF size;          // the content's layout size in CSS px
    double imageLeft = 0; // the image's left edge is this far right of content left - kMarqueeInkPad
};

// Identical signatures render identically.
QString marqueeElementSignature(const MarqueeElement &element);

MarqueeContentImage renderMarqueeContent(const MarqueeElement &element, const QString &family, qreal dpr,
                                         MarqueeTextShaper &shaper);
