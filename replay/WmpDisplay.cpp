#include "replay/WmpDisplay.h"

#include "present/LabelColour.h"
#include "present/NgRules.h"
#include "present/ResponseText.h"

#include <QRandomGenerator>
#include <cmath>

namespace {

// The leading whole number of a text, 0 when there is none: how a combo's text is read.
int leadingNumber(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype n = 0;
    while (n < t.size() && n < 9 && t.at(n).isDigit() && t.at(n).unicode() < 128)
        ++n;
    return t.left(n).toInt();
}

int roundHalfEven(double v)
{
    return int(std::nearbyint(v));
}

} // namespace

std::optional<qint64> wmpSecondOf(double positionSeconds)
{
    if (!std::isfinite(positionSeconds) || std::fabs(positionSeconds) > 1e15)
        return std::nullopt;
    return qint64(std::nearbyint(positionSeconds));   // default rounding: to nearest, ties to even
}

std::optional<QString> wmpMovieNameCaption(int playState, const QString &sourceAddress)
{
    if (playState != kWmpReady)
        return std::nullopt;
    return sourceAddress;
}

WmpDisplay::WmpDisplay(const PastLog &log, WmpLabelHost &host)
    : m_log(log)
    , m_host(host)
    , m_random([] { return QRandomGenerator::global()->generateDouble(); })
{
}

WmpTickResult WmpDisplay::tick(int playState, double positionSeconds, const WmpSettings &settings)
{
    if (playState != kWmpPlaying)
        return {};
    const std::optional<qint64> player = wmpSecondOf(positionSeconds);
    const std::optional<qint64> lookup = wmpSecondOf(positionSeconds + settings.offsetSeconds);
    if (!player || !lookup)
        return {};
    WmpTickResult result;
    for (const qint64 second : m_lookup.advance(*player, *lookup)) {
        const WmpTickResult r = showWmpResAt(QString::number(second), settings);
        if (r.lblResNo)
            result.lblResNo = r.lblResNo;
        result.started += r.started;
        result.callSetImage = result.callSetImage || r.callSetImage;
    }
    return result;
}

QList<qsizetype> WmpDisplay::collectWmpBatch(const QString &second, const QString &comboMaxWmp,
                                             const NgMatcher *ng) const
{
    // Entries before the first one stamped with this second cannot match, so the walk starts
    // there. Nothing yields inside the walk: it is short, and a yield would let another tick
    // run in the middle of this one.
    QList<qsizetype> batch;
    const int cap = leadingNumber(comboMaxWmp);
    const qsizetype count = qMin<qsizetype>(m_log.lngDatResCount, m_log.strDatResTime.size());
    const bool filtering = ng && !ng->isEmpty() && m_log.strDatResDate.size() >= count
        && m_log.strDatResMail.size() >= count;
    bool inRun = false;
    for (qsizetype i = m_log.firstIndexOfTime(second); i >= 0 && i < count; ++i) {
        if (m_log.strDatResTime.at(i) == second) {
            inRun = true;
            if (!filtering
                || !ng->matches(NgSubject{m_log.strDatResName.at(i), m_log.strDatResMail.at(i),
                                          m_log.strDatResDate.at(i), m_log.strDatRes.at(i)}))
                batch.append(i);
        } else if (inRun) {
            break;
        }
        if (batch.size() > cap)
            break;
    }
    return batch;
}

WmpTickResult WmpDisplay::showWmpResAt(const QString &second, const WmpSettings &settings)
{
    WmpTickResult result;
    const QList<qsizetype> batch = collectWmpBatch(second, settings.comboMaxWmp, settings.ng);
    if (batch.isEmpty())
        return result;
    result.lblResNo = m_log.strDatResNo.at(batch.last());

    int k = 0;
    for (qsizetype entry : batch) {
        ++k;
        const QString resNo = m_log.strDatResNo.at(entry);
        // The label strip's cleaning: lines as CR LF, dat image addresses, no indent.
        CleaningInput input;
        input.body = m_log.strDatRes.at(entry);
        input.maxRows = settings.intMaxRow;
        input.k = k;
        const CleanedResponse cleaned = cleanResponseText(input, {ImageLinkForm::DatAddresses, true, false});
        if (cleaned.hadImages) {
            appendImages(m_images, resNo, cleaned.imageUrls);
            result.callSetImage = true;
        }

        if (m_lngWmpLabelIndex == 0)
            m_lngWmpLabelIndex = 1;
        const qint64 i = m_lngWmpLabelIndex;

        WmpPlacementInput in;
        in.k = k;
        in.prev = m_host.wmpLabelRect(i - 1);
        if (k > 1) {
            if (!in.prev)
                break;   // the comment just started is gone: the tick ends, as on any failure
            in.gapBase = in.prev->height;
        }
        in.r = roundHalfEven(m_random() * 100);
        in.windowWidth = m_host.windowWidth();
        in.frameWidth = m_host.frameWidth();
        in.frameHeight = m_host.frameHeight();
        in.ownHeight = m_host.newWmpLabelHeight();
        in.ownWidth = m_host.wmpLabelWidth(cleaned.text);
        in.shadow = settings.blnIsOutLineModeOn;
        in.intScroll = settings.intScroll;
        const std::optional<WmpPlacement> placement = placeWmpLabel(in);
        if (!placement)
            break;

        WmpComment comment;
        comment.index = i;
        comment.ordinal = k;
        comment.resNo = resNo;
        comment.text = cleaned.text;
        comment.colour = labelColourFor(cleaned.text, settings.varFontColor);
        comment.shadow = settings.blnIsOutLineModeOn;
        comment.placement = *placement;
        // A failed creation still uses up its index, so a half-created element never blocks
        // the indexes of later ticks.
        ++m_lngWmpLabelIndex;
        if (!m_host.startWmpComment(comment))
            break;
        ++result.started;
    }
    return result;
}
