#pragma once
// The drawing surface of the comment strip Frame1 in the label view: draws every comment of a
// LabelScroller (text labels, their shadow copies and picture comments) and drives all movers
// from one clock. Each comment's text is rendered once into a premultiplied ARGB image and only
// blitted per frame; between ticks the drawing slides on smoothly towards the next tick's
// position. The frame timer runs only while something moves.
//
// A frame repaints only where comments were and are now (rows of the strip, see DirtyBands.h),
// unless that is most of the strip: the window then clears, and the window system receives,
// a fraction of the strip. Anything else that changes the comments asks for a whole repaint.
//
// The strip paints nothing but comments: its key colour (255, 250, 250) stays unpainted, so the
// window is see-through there.

#include "present/BurstSpread.h"
#include "present/LabelScroller.h"

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace present {

// Look of the template label (element 0): font family, size in points and comment colour
// (varFontColor). Shadows are always black.
struct LabelLook
{
    QString fontFamily;
    int pointSize = 18;
    QColor colour = QColor(192, 192, 255);
};

class LabelStrip : public QWidget
{
    Q_OBJECT
public:
    explicit LabelStrip(QWidget *parent = nullptr);
    ~LabelStrip() override;

    static QColor keyColour() { return QColor(255, 250, 250); }
    // KESTRELON_PICTURE_COMMENTS=1 in the environment shows live comments as picture comments
    // (msgPicMsgSet) instead of text labels: a developer option, nothing else selects them.
    static bool pictureCommentsRequested();

    LabelScroller &model() { return m_model; }
    void setLook(const LabelLook &look);
    const LabelLook &look() const { return m_look; }
    void setScroll(int intScroll) { m_model.setScroll(intScroll); }
    void setOutlineMode(bool on) { m_model.setOutlineMode(on); }
    // Uniform random numbers in [0, 1) for the gaps between stacked comments.
    void setRandomSource(std::function<double()> random) { m_random = std::move(random); }

    // The operations of the main window; each brings the movers up to the present first, reads
    // the window's and the strip's size, and starts the frame clock when something moves.
    bool msgSet(const QString &strMsg, qint32 Index, int intCountMsg, qint64 lngMaeLabelHeight,
                qint64 lngMaeLabelTop);
    // One comment of a fetch: creates its label (and shadow), colour and mover, places and shows
    // it. With the developer option it becomes a picture comment instead.
    bool showLiveComment(const QString &text, const QColor &colour, qint32 Index, int intCountMsg,
                         bool stagger = true);
    // "まとめて流さない": a fetch's comments enter one after another over intervalMs (see
    // BurstSpread); a timer releases them at their time of the strip's clock.
    void spreadBatch(const QList<SpreadComment> &batch, qint64 intervalMs);
    // Shows the spread comments whose time has come (the timer's handler; tests that drive the
    // clock call it themselves).
    void releaseDueComments();
    bool hasSpreadComments() const { return !m_spread.isEmpty(); }
    // Painted comment (lines separated by "<br>"), coloured by its keywords.
    bool msgPicMsgSet(const QString &strMsg, qint32 Index, int intCountMsg, qint64 lngMaeLabelHeight,
                      qint64 lngMaeLabelTop);
    // A replay comment placed by the replay path (see LabelScroller::startReplayComment).
    bool startReplayComment(qint32 Index, const QString &text, const QColor &colour, bool shadow,
                            const LabelScroller::ReplayPlacement &placement);

    // After changing the model directly (the replay path creates and enables its own comments):
    // brings geometry up to date and starts the clock if something moves.
    void startTicking();
    // Before changing the model directly: runs the ticks due up to now, so a new mover's first
    // tick counts from the present.
    void syncClock();
    bool isTicking() const { return m_frameTimer.isActive(); }
    qint64 clockMs() const;
    // Replaces the clock (tests and benchmarks drive time by hand); nullptr returns to real time.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // Draws every visible comment at time tMs (one frame). Used by paintEvent and benchmarks.
    void paintComments(QPainter &painter, qint64 tMs);
    // Runs one frame now: the movers up to the clock, and a repaint of what moved. The frame
    // timer calls it; benchmarks drive it by hand.
    void runFrame();
    // Runs the movers up to time tMs without drawing.
    void advanceTo(qint64 tMs);

    // Twips of this screen: pixels = twips x dpi / 1440.
    double twipsToPixelsX(double twips) const;
    double twipsToPixelsY(double twips) const;
    int pixelsToTwipsX(double px) const;
    int pixelsToTwipsY(double px) const;
    qsizetype cachedImageCount() const { return m_cache.size(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Cached
    {
        quint64 revision = 0;
        quint64 shadowRevision = 0;  // composites: the shadow's revision ...
        QPoint shadowOffset;         // ... and its place relative to the comment, in pixels
        QPoint origin;               // the comment's top-left within the image
        QImage image;
    };
    // One comment as drawn at an instant: the label drawn (with its shadow baked in when it has
    // one showing), where, and the pixels it covers.
    struct Placed
    {
        const StripComment *comment = nullptr;
        const StripLabel *label = nullptr;
        const StripLabel *shade = nullptr;
        QPoint at;
        QPoint shadeOffset;
        QRect area;
    };
    // What is on the window: each drawn label's area and the revisions it was drawn from.
    struct Shown
    {
        quint64 serial = 0;
        quint64 revision = 0;
        quint64 shadeRevision = 0;
        QRect area;
        bool operator==(const Shown &o) const
        {
            return serial == o.serial && revision == o.revision && shadeRevision == o.shadeRevision
                && area == o.area;
        }
    };
    std::vector<Placed> place(qint64 tMs) const;
    std::vector<Shown> shownOf(const std::vector<Placed> &placed) const;
    void draw(QPainter &painter, const Placed &p);
    QSize measure(const QString &text) const;
    const QImage &imageFor(const StripComment &c, const StripLabel &l);
    // The comment with its shadow baked in behind it; origin receives the comment's place in it.
    const QImage &compositeFor(const StripLabel &body, const StripLabel &shade, QPoint shadowOffset,
                               QPoint *origin);
    QImage renderText(const StripLabel &l) const;
    void updateGeometry();
    void release(const QList<SpreadRelease> &comments);
    void armSpreadTimer();

    LabelScroller m_model;
    LabelLook m_look;
    QFont m_font;
    std::function<double()> m_random;
    std::function<qint64()> m_clock;
    QElapsedTimer m_elapsed;
    QTimer m_frameTimer;
    BurstSpread m_spread;
    QTimer m_spreadTimer;
    QHash<quint64, Cached> m_cache;
    // What the last paint left on the window (by serial), the instant it drew, and the instant
    // a frame's partial repaint must draw at: every part of the window shows the same instant.
    std::vector<Shown> m_shown;
    qint64 m_shownMs = 0;
    std::optional<qint64> m_frameMs;
};

} // namespace present
