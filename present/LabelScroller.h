#pragma once
// The comments sliding across the strip: text labels with their optional shadow copies (live
// comments and replay comments) and painted picture comments, each moved by its own mover at its
// own interval. The per-comment labels and timers of the window are plain records here; the
// strip draws them and drives every mover from one clock through advanceTo().
//
// Lengths are twips, times milliseconds. Text sizes come from a measuring callback, so nothing
// here needs a font.

#include <QSize>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <map>
#include <optional>
#include <queue>
#include <vector>

namespace present {

// Which arrays a comment's elements belong to: lblMsg/lblMsgKage, lblWmpMsg/lblWmpMsgKage, or
// PictureMsg (measured through the strip's text measure). Each family has its own index space.
enum class CommentFamily { Live, Replay, Picture };

// The mover timer arrays.
enum class Mover { TimerLblMsg, TimerLblMsgKage, TimerLblWmpMsg, TimerLblWmpMsgKage, TimerPicMsg };

// Tick interval of a mover: 120, 140, 120, 150 and 100 ms.
int moverInterval(Mover mover);

// One label or picture box on the strip.
struct StripLabel
{
    quint64 serial = 0;    // unique for the whole run; keys the drawing cache
    quint64 revision = 0;  // grows whenever the caption, colour or picture changes
    QString caption;       // line breaks as "\r\n"
    quint32 colour = 0;    // 0xRRGGBB
    qint64 left = 0;
    qint64 top = 0;
    int width = 0;
    int height = 0;
    quint64 z = 0;         // stacking order: larger is in front
    bool visible = false;
};

// One string drawing of a picture comment, in pixels from its top-left corner.
struct PictureDrawing
{
    QString text;
    int x = 0;
    int y = 0;
    bool outline = false;  // black outline copy; false: the text colour
};

struct StripComment
{
    CommentFamily family = CommentFamily::Live;
    qint32 index = 0;
    quint64 order = 0;                 // creation order; breaks ties between ticks due together
    std::optional<StripLabel> label;   // lblMsg(i), lblWmpMsg(i) or PictureMsg(i)
    std::optional<StripLabel> shadow;  // lblMsgKage(i) or lblWmpMsgKage(i)
    QString tag;                       // the step as decimal text
    std::optional<qint64> step;        // the tag read as a step when it was set; none if unreadable
    std::optional<Mover> mover;
    bool moverEnabled = false;
    qint64 nextTickMs = 0;             // when the mover fires next
    std::vector<PictureDrawing> drawings;  // picture comments: the strings painted, in order
};

class LabelScroller
{
public:
    // Size of a text in the comment font, in twips (width, height).
    using Measure = std::function<QSize(const QString &text)>;
    // A uniform random number in [0, 1).
    using Random = std::function<double()>;

    LabelScroller(Measure measure, Random random);

    // Geometry read at placement: the main window's width and the strip's size, in twips; the
    // vertical resolution converts twips to pixels for picture drawings.
    void setMainWindowWidth(int twips) { m_mainWindowWidth = twips; }
    void setStripSize(int widthTwips, int heightTwips);
    void setDpi(double dpi) { m_dpi = dpi > 0 ? dpi : 96.0; }
    int stripWidth() const { return m_stripWidth; }
    int stripHeight() const { return m_stripHeight; }

    // Settings read at placement: intScroll (seconds to cross) and the shadow-text mode.
    void setScroll(int intScroll) { m_intScroll = intScroll; }
    void setOutlineMode(bool on) { m_outlineMode = on; }
    bool outlineMode() const { return m_outlineMode; }
    // "コメントを重ねない": new comments (live, replay and picture) take a free lane instead of
    // the specified top; their left and speed stay as specified.
    void setLanes(bool on) { m_lanes = on; }
    bool lanes() const { return m_lanes; }
    // Colour of the template label (element 0), which created labels take.
    void setTemplateColour(quint32 rgb) { m_templateColour = rgb; }

    // --- Elements by index -------------------------------------------------------------------
    // Creating an element that exists already fails (as loading an existing control element).
    bool createLabel(CommentFamily family, qint32 i);
    bool createShadow(CommentFamily family, qint32 i);   // black; Live and Replay only
    bool createMover(Mover mover, qint32 i);             // disabled; its family follows the array
    // Removes every element of comment i.
    void destroyComment(CommentFamily family, qint32 i);

    StripLabel *label(CommentFamily family, qint32 i);
    StripLabel *shadow(CommentFamily family, qint32 i);
    const StripComment *comment(CommentFamily family, qint32 i) const;
    void setCaption(StripLabel &label, const QString &caption);  // sizes the label to its text
    void setColour(StripLabel &label, quint32 rgb);
    void setTag(CommentFamily family, qint32 i, const QString &tag);
    // Enables a created mover: its first tick comes one interval after the current time.
    bool enableMover(CommentFamily family, qint32 i);

    // --- The operations of the main window -----------------------------------------------------
    // Places live comment i (its lblMsg(i), and in shadow mode lblMsgKage(i), and the matching
    // mover exist), sets its caption and step and starts its mover. On failure the comment's
    // elements are removed, so no mover is left running for a label that cannot be shown, and
    // false is returned (the caller ends its batch).
    // stagger false starts every comment just outside the window (a batch spread over time)
    // instead of 3000 x k out.
    bool msgSet(const QString &strMsg, qint32 Index, int intCountMsg, qint64 lngMaeLabelHeight,
                qint64 lngMaeLabelTop, bool stagger = true);
    // Creates, colours, places and shows live comment i (the k-th of its fetch), taking the
    // previous comment's geometry from lblMsg(i - 1) for k >= 2, and starts its mover. Without
    // stagger (a batch spread over time) a previous comment that has already gone counts as none.
    bool showLiveComment(const QString &text, quint32 colour, qint32 i, int k, bool stagger = true);

    // Replay comment i, placed by the replay path: creates lblWmpMsg(i) (and lblWmpMsgKage(i)
    // with shadow) with the given captions, positions and step Tag, creates its mover (150 ms
    // with shadow, else 120 ms), enables it and shows the labels. False, with nothing left
    // behind, when comment i exists already.
    struct ReplayPlacement
    {
        qint64 left = 0;
        qint64 top = 0;
        qint64 shadowLeft = 0;
        qint64 shadowTop = 0;
        QString tag;
    };
    bool startReplayComment(qint32 i, const QString &text, quint32 colour, bool shadow,
                            const ReplayPlacement &placement);
    // Size a label takes with this caption, and a freshly created one before its caption is set
    // (a copy of element 0).
    QSize labelSize(const QString &caption) const { return m_measure(caption); }
    QSize emptyLabelSize() const { return m_measure(QString()); }

    // Painted comment i (lines separated by "<br>"): created, placed, drawn and started. The
    // colour is the one the text's keywords choose. False (and nothing left behind) on failure.
    bool msgPicMsgSet(const QString &strMsg, qint32 Index, int intCountMsg, qint64 lngMaeLabelHeight,
                      qint64 lngMaeLabelTop, quint32 colour);

    // Mover ticks. A tick for a comment whose label is gone drops its orphaned mover.
    void TimerLblMsg_Timer(qint32 Index);
    void TimerLblMsgKage_Timer(qint32 Index);
    void TimerLblWmpMsg_Timer(qint32 Index);
    void TimerLblWmpMsgKage_Timer(qint32 Index);
    void TimerPicMsg_Timer(qint32 Index);

    // --- The clock ---------------------------------------------------------------------------
    // Runs every tick due up to time nowMs, in time order (ties in creation order).
    void advanceTo(qint64 nowMs);
    qint64 now() const { return m_now; }
    // True while some mover is enabled (the strip keeps ticking only then).
    bool hasMovers() const;
    // Left at which to draw a label at time tMs: its tick position moved on smoothly towards
    // the next tick's, never past it.
    double drawLeft(const StripComment &c, const StripLabel &l, qint64 tMs) const;

    // --- Reading ------------------------------------------------------------------------------
    qsizetype commentCount() const { return qsizetype(m_comments.size()); }
    qsizetype commentCount(CommentFamily family) const;
    const std::map<std::pair<int, qint32>, StripComment> &comments() const { return m_comments; }
    // Visible labels back to front.
    std::vector<std::pair<const StripComment *, const StripLabel *>> paintOrder() const;

    // Called with the serial of every label that is destroyed (to drop its cached picture).
    void setOnLabelDestroyed(std::function<void(quint64)> callback) { m_onDestroyed = std::move(callback); }

private:
    using Key = std::pair<int, qint32>;
    static Key key(CommentFamily f, qint32 i) { return {int(f), i}; }
    StripComment *find(CommentFamily f, qint32 i);
    // Comment i, registered in creation order on first use.
    StripComment &slot(CommentFamily family, qint32 i);
    // A label or shadow of a comment, created unless it exists already.
    bool createPart(std::optional<StripLabel> &part, quint32 colour);
    // Sets the tag and the step read from it (once, not on every tick and frame).
    static void assignTag(StripComment &c, const QString &tag);
    StripLabel newLabel(quint32 colour);
    void bringToFront(StripLabel &l) { l.z = ++m_lastZ; }
    void tick(CommentFamily family, qint32 i, Mover expected);
    void schedule(const StripComment &c);
    bool placeAndStart(StripComment &c, const StripLabel &body, int k, qint64 maeH, qint64 maeTop,
                       bool stagger = true);
    // The lane top for a comment of this size starting at left with this step; shadowed
    // comments take the shadow's offset into their size.
    qint64 laneTop(qint64 left, qint64 width, qint64 height, qint64 step, int intervalMs, bool shadow) const;

    Measure m_measure;
    Random m_random;
    int m_mainWindowWidth = 0;
    int m_stripWidth = 0;
    int m_stripHeight = 0;
    double m_dpi = 96.0;
    int m_intScroll = 5;
    bool m_outlineMode = false;
    bool m_lanes = false;
    quint32 m_templateColour = 0xFFFFFF;

    std::map<Key, StripComment> m_comments;
    quint64 m_lastSerial = 0;
    quint64 m_lastZ = 0;
    qint64 m_now = 0;

    // Pending ticks: (due time, creation order, comment). Entries that no longer match the comment's
    // own next tick are stale and skipped.
    struct Due
    {
        qint64 at;
        quint64 order;
        Key key;
        bool operator>(const Due &o) const { return at != o.at ? at > o.at : order > o.order; }
    };
    std::priority_queue<Due, std::vector<Due>, std::greater<Due>> m_due;
    quint64 m_lastOrder = 0;
    std::function<void(quint64)> m_onDestroyed;
};

} // namespace present
