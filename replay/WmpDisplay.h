#pragma once
// The replay display: on each tick of TimerWmp, the responses stamped with the video's current
// second (moved by the offset) become comments on the strip. It keeps no clock; what it has
// shown is the lookup's memory (ReplayLookup). The caller drives it with the player's state and
// position, so tests script both.

#include "present/ImageLists.h"
#include "replay/PastLog.h"
#include "replay/ReplayLookup.h"
#include "replay/WmpPlacement.h"

class NgMatcher;

#include <QString>
#include <functional>
#include <optional>

// The settings the display reads at each tick.
struct WmpSettings
{
    QString comboMaxWmp = QStringLiteral("1");   // selected text of ComboMaxWmp
    const NgMatcher *ng = nullptr;              // responses it matches are left out
    int intMaxRow = 1;                          // 1 to 4, 10 for "全て"
    bool blnIsOutLineModeOn = false;
    int intScroll = 5;
    quint32 varFontColor = 0xFFFFFF;            // 0xRRGGBB
    int offsetSeconds = 0;                      // added to the position before the lookup
};

// Everything the strip needs to create and start one replay comment.
struct WmpComment
{
    qint64 index = 0;        // lblWmpMsg / lblWmpMsgKage / mover index
    int ordinal = 0;         // k, from 1 within its tick
    QString resNo;
    QString text;
    quint32 colour = 0;      // 0xRRGGBB
    bool shadow = false;     // create lblWmpMsgKage(index) and use TimerLblWmpMsgKage(index)
    WmpPlacement placement;
};

// The strip, as the display sees it. Implemented by the main window (or a fake in tests).
class WmpLabelHost
{
public:
    virtual ~WmpLabelHost() = default;
    virtual int windowWidth() const = 0;
    virtual int frameWidth() const = 0;
    virtual int frameHeight() const = 0;
    // lblWmpMsg(index), nothing when it is not loaded (never created, or unloaded by its mover).
    virtual std::optional<TwipsRect> wmpLabelRect(qint64 index) const = 0;
    // Height of a freshly created lblWmpMsg (a copy of element 0) before its caption is set.
    virtual int newWmpLabelHeight() const = 0;
    // Width lblWmpMsg takes with this caption.
    virtual int wmpLabelWidth(const QString &caption) const = 0;
    // Creates, places and starts the comment; false when it could not be created.
    virtual bool startWmpComment(const WmpComment &comment) = 0;
};

// Play states of the player.
constexpr int kWmpPlaying = 3;
constexpr int kWmpReady = 10;

// The position in whole seconds as the display looks it up: nearest, halves to even.
// Nothing for a position that is not a finite number.
std::optional<qint64> wmpSecondOf(double positionSeconds);

struct WmpTickResult
{
    std::optional<QString> lblResNo;  // new caption of lblResNo (the last response matched)
    int started = 0;                  // comments started this tick
    bool callSetImage = false;        // hand varWmpImageResNo / varWmpImageUrl to setImage
};

class WmpDisplay
{
public:
    // log and host must outlive the display.
    WmpDisplay(const PastLog &log, WmpLabelHost &host);

    // Uniform random numbers in [0, 1) for the vertical gap; the default is Qt's global source.
    void setRandomSource(std::function<double()> random) { m_random = std::move(random); }

    // TimerWmp's tick: while the player plays, shows the responses of the seconds the lookup
    // hands out for the position plus the offset.
    WmpTickResult tick(int playState, double positionSeconds, const WmpSettings &settings);

    // The responses stamped with second (decimal text of whole seconds) become comments.
    WmpTickResult showWmpResAt(const QString &second, const WmpSettings &settings);

    // Entries of the first run stamped with second, at most comboMaxWmp + 1 of them.
    // Entries the NG rules match are left out before the cap counts.
    QList<qsizetype> collectWmpBatch(const QString &second, const QString &comboMaxWmp,
                                     const NgMatcher *ng = nullptr) const;

    // Index of the next comment (0 until the first comment; it then starts at 1).
    qint64 lngWmpLabelIndex() const { return m_lngWmpLabelIndex; }
    const ImageLists &images() const { return m_images; }
    ReplayLookup &lookup() { return m_lookup; }

private:
    const PastLog &m_log;
    WmpLabelHost &m_host;
    std::function<double()> m_random;
    qint64 m_lngWmpLabelIndex = 0;
    ImageLists m_images;   // varWmpImageResNo, varWmpImageUrl; only grow
    ReplayLookup m_lookup;
};

// The player notification: the caption lblMovieName takes, or nothing when it stays.
std::optional<QString> wmpMovieNameCaption(int playState, const QString &sourceAddress);
