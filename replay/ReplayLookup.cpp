#include "replay/ReplayLookup.h"

void ReplayLookup::seekTo(qint64 lookupSecond)
{
    m_shownUpTo = lookupSecond - 1;
    m_lastPlayer.reset();
}

void ReplayLookup::restart()
{
    m_shownUpTo.reset();
    m_lastPlayer.reset();
}

QList<qint64> ReplayLookup::advance(qint64 playerSecond, qint64 lookupSecond)
{
    if (m_lastPlayer
        && (playerSecond < *m_lastPlayer - 1 || playerSecond > *m_lastPlayer + m_catchUp))
        m_shownUpTo.reset();   // moved by something other than playing: a seek
    m_lastPlayer = playerSecond;
    if (!m_shownUpTo)
        m_shownUpTo = lookupSecond - 1;

    QList<qint64> seconds;
    if (lookupSecond <= *m_shownUpTo)
        return seconds;
    qint64 from = *m_shownUpTo + 1;
    if (lookupSecond - from >= m_catchUp)
        from = lookupSecond;
    for (qint64 s = from; s <= lookupSecond; ++s)
        seconds << s;
    m_shownUpTo = lookupSecond;
    return seconds;
}
