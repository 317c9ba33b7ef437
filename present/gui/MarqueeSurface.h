#pragma once
// WebScroll: the surface that shows the marquee pages (the main window's outlined rows and the
// mini window's one-row table). The live views hand it the rows their builders made; a page
// given only as text (about:blank, a file by address, a written document) is read with
// parseMarqueePage (present/MarqueePage.h). It draws text only: no script, no links, no images,
// nothing active.
//
// Drawing: each marquee's content is rendered once into a premultiplied ARGB image; marquees
// that share their text and motion (the four outline copies and the coloured text of one
// response) are also merged into one image once all of them have fully entered their boxes, so
// a frame is one blit per response; their own images are then dropped (a 200-response page keeps
// about a quarter of the pixels), and rendered again only when the page is laid out anew (resize,
// font, pixel ratio, clock). Positions come from one clock (elapsed time since the page
// was shown); the frame timer runs only while something moves.
//
// Frames: every row of one page moves with the same speed from the same instant, so from one
// frame to the next the ink only shifts left by whole pixels. Where it does, a frame moves the
// pixels already in the window's backing store (QWidget::scroll, a copy) and draws only the
// columns that come in at the box's edges; blending every row again is left for frames where
// the rows do not move together (different speeds, a loop starting over, a fractional pixel
// ratio, or a surface the window's own background shows through). See MarqueeFrames.cpp.

#include "present/MarqueeMotion.h"
#include "present/MarqueePage.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class MarqueeSurface : public QWidget
{
    Q_OBJECT
public:
    // Milliseconds from any fixed origin; must not go backwards.
    using Clock = std::function<qint64()>;

    explicit MarqueeSurface(QWidget *parent = nullptr);
    ~MarqueeSurface() override;

    // "about:blank" shows an empty white page; anything else is a page file (a path or a file:
    // address) read as CP932. A file that cannot be read shows an empty page.
    void navigate(const QString &address);
    // Shows the page just written to path from the rows its builder made alongside it (the page
    // as parseMarqueePage would read it from the file): nothing is read back. The location
    // becomes path as with navigate.
    void showRows(const QString &path, const MarqueePage &rows);
    // Replaces the document with this text (as writing into the browser's document does).
    void writeDocument(const QString &html);
    QString locationURL() const { return m_location; }

    // A page background of this colour is not painted, so the window shows through it
    // (view mode "モード２" keys out #003366). nullopt paints every background.
    void setColourKey(std::optional<QRgb> key);
    std::optional<QRgb> colourKey() const { return m_colourKey; }

    void setClock(Clock clock);
    void setFontFamily(const QString &family);
    QString fontFamily() const { return m_fontFamily; }
    // Where the first marquee in the flow (not absolutely placed) starts: the body's top margin,
    // 8 px by default. The mini window uses the 15 px its shifted layout was measured against.
    void setFlowTopMargin(double px);

    const MarqueePage &page() const { return m_page; }
    int marqueeCount() const { return int(m_items.size()); }
    // Where marquee i's content is now (CSS px in the surface); nullopt once it has run out.
    std::optional<QRectF> marqueeContentRect(int index) const;
    // The box marquee i scrolls in (its text is clipped to it).
    QRectF marqueeBox(int index) const;
    // True while the frame timer runs (something is still moving).
    bool isAnimating() const { return m_frameTimer.isActive(); }
    // Frames that moved the pixels already shown rather than drawing the rows again.
    int scrolledFrames() const { return m_scrolledFrames; }
    // Milliseconds since the page was shown, by the clock.
    qint64 elapsedMs() const;

    // Draws the page as it stands at elapsedMs into the painter (used by paintEvent; benchmarks
    // call it directly).
    void paintPage(QPainter &painter, const QRect &area, qint64 elapsedMs);

signals:
    void documentComplete(const QString &address);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct Item
    {
        MarqueeTrack track;
        double top = 0;
        QSizeF contentSize;
        QImage image;      // as rendered (present/gui/MarqueeContent.h), at m_dpr; null once merged
        QSizeF imageSize;  // the image's size in CSS px, kept when the image is dropped
        double imageLeft = 0;
        QString signature; // identical signatures render identically
    };
    // Marquees drawn together: one response's outline copies and text.
    struct Group
    {
        QList<int> members;
        QImage composite;   // members merged, null for a single member or before they have entered
        QPointF offset;     // composite's top left relative to members[0]'s image top left
        double endMs = 0;
        bool composed = false;
    };

    void load(const QString &html, const QString &location);
    void display(const MarqueePage &page, const QString &location);
    void layout();
    void buildGroups();
    // True when group's members are merged at the next paint at elapsed: all have entered.
    bool mergesBy(const Group &group, double elapsed) const;
    // Merges the groups whose members have all entered by elapsed and drops their own images.
    void composeEntered(double elapsed);
    void compose(Group &group);
    void restartTimer();
    void onFrame();
    // Moves what the backing store shows to elapsed by scrolling it; false (nothing done) when
    // this frame's rows do not all move by one whole-pixel shift.
    bool scrollFrame(double elapsed);
    // Whether the page's background is painted, rather than the window showing through.
    bool fillsBackground() const;
    QColor pageBackground() const;
    // Renders again for the painter's pixel ratio if it changed, and merges what has entered.
    void prepareToDraw(QPainter &painter, double elapsed);
    // The surface paints every pixel of its paint events (the page background, or clear pixels
    // where a see-through window shows through), which lets Qt scroll it in the backing store.
    void updateOpaquePainting();
    void repaintWhole();
    // What group draws at elapsed, in widget pixels (a slight over-estimate); empty when nothing.
    QRect groupBounds(const Group &group, double elapsed) const;
    double now() const;
    void drawItem(QPainter &painter, const Item &item, double elapsed, const QRect &area) const;
    void drawGroup(QPainter &painter, const Group &group, double elapsed, const QRect &area) const;

    MarqueePage m_page;
    QString m_location;
    std::optional<QRgb> m_colourKey;
    QString m_fontFamily;
    double m_flowTopMargin;
    Clock m_clock;
    QElapsedTimer m_monotonic;
    qint64 m_shownAt = 0;
    qreal m_dpr = 1;
    QList<Item> m_items;
    QList<Group> m_groups;
    bool m_imagesDropped = false;  // some item's image was dropped: re-render to regroup
    QTimer m_frameTimer;
    // Frames repaint only the rows that move: the union of where each group was last drawn and
    // where it is now. Every partial paint must then draw at the same instant as the rest of
    // the screen shows, so the frame's time is kept for the paint it asked for.
    std::optional<double> m_frameElapsed;
    double m_drawnElapsed = 0;  // the instant the backing store shows
    bool m_wholePending = false;  // a whole repaint is asked for: scrolling would be wasted
    int m_scrolledFrames = 0;
};
