#pragma once
// Reads the marquee pages the builders write into plain data the marquee surface draws: the main
// page (absolutely placed <Marquee> elements of styled text with "<br>" line breaks) and the mini
// page (one <Marquee> holding a one-row table of cells with nested <font> styles).
//
// Text only: nothing in a page becomes active content. Tags other than those below are dropped
// with their text kept; the contents of script, style and similar elements are dropped;
// attributes other than the styling ones are ignored; character references are decoded.
// Understood: html/body (bgcolor), marquee (loop, scrollamount, scrolldelay, style), font
// (color, size, style), b/strong, br, table/tr/td/th (cells side by side), nobr (no effect: lines
// never wrap). Text outside every marquee is not shown.

#include <QList>
#include <QString>
#include <memory>
#include <optional>

using MarqueeRgb = quint32; // 0xRRGGBB

struct MarqueeTextStyle
{
    int pixelSize = 16;
    bool bold = false;
    MarqueeRgb colour = 0x000000;
};

struct MarqueeRun
{
    QString text;          // whitespace collapsed; U+00A0 from "&nbsp;" kept as is
    int pixelSize = 16;
    bool bold = false;
    MarqueeRgb colour = 0x000000;
};

struct MarqueeLine
{
    QList<MarqueeRun> runs;
};

// One table cell, or the whole content of a marquee without a table.
struct MarqueeBlock
{
    QList<MarqueeLine> lines;
};

struct MarqueeElement
{
    int scrollAmount = 6;
    int scrollDelayMs = 85;
    int loop = -1;            // runs; -1 runs for ever
    bool absolute = false;    // position:absolute
    std::optional<int> top;   // CSS px
    std::optional<int> right;
    std::optional<int> left;
    bool tableRow = false;      // the content is a table: blocks are its cells
    QList<MarqueeBlock> blocks; // laid out side by side
};

struct MarqueePage
{
    std::optional<MarqueeRgb> background; // body bgcolor
    QList<MarqueeElement> marquees;
};

MarqueePage parseMarqueePage(const QString &html);

class MarqueeMarkupParser;

// Reads the content of one marquee from pieces of markup, as parseMarqueePage reads what stands
// between "<marquee ...>" and "</marquee>": the builders hand each response's text to the
// surface this way instead of writing a page and reading it back. Each piece starts from the
// style given with it and leaves no element of its own open behind it; a piece that closes the
// marquee ends the reading.
class MarqueeContentReader
{
public:
    // element: the marquee's own attributes (speed, loop, position), no content yet.
    explicit MarqueeContentReader(const MarqueeElement &element);
    ~MarqueeContentReader();
    MarqueeContentReader(const MarqueeContentReader &) = delete;
    MarqueeContentReader &operator=(const MarqueeContentReader &) = delete;

    void read(const QString &markup, const MarqueeTextStyle &style);
    // The content is a table; its cells lie side by side.
    void beginTable();
    void beginCell();
    void endCell();
    MarqueeElement finish();

private:
    std::unique_ptr<MarqueeMarkupParser> m_parser;
};

// "#RGB", "#RRGGBB" or a colour name; nullopt when not understood.
std::optional<MarqueeRgb> parseCssColour(const QString &text);
// "26px", "26" (a unitless length is pixels, as in quirks mode); nullopt otherwise.
std::optional<int> parseCssPixels(const QString &text);
// Decodes character references (&nbsp; &amp; &lt; &gt; &quot; &apos; &#N; &#xN;).
QString decodeEntities(const QString &text);
