#pragma once
// Which seconds of the past log one replay tick looks up. The lookup remembers the last second
// it handed out, so a second is shown once however the ticks fall (a late tick catches up on
// the seconds it missed; two ticks in one second show it once). A seek of the player starts
// again from the new position; so does a jump of the player's position that a tick cannot
// explain (more than the catch-up limit ahead, or more than a second back). A change of the
// offset moves only the lookup second: back, nothing is shown again until the log reaches what
// was shown; ahead by more than the catch-up limit, the seconds jumped over are not shown.

#include <QList>
#include <optional>

class ReplayLookup
{
public:
    // Most seconds one tick catches up on: the tick interval and some slack for a late tick.
    void setCatchUpSeconds(int seconds) { m_catchUp = qMax(1, seconds); }
    int catchUpSeconds() const { return m_catchUp; }

    // The player was moved: the next tick shows from lookupSecond (the new position with the
    // offset) up to its own second.
    void seekTo(qint64 lookupSecond);
    // Forgets what was shown: the next tick shows its own second only.
    void restart();

    // The lookup seconds this tick shows, in order, for the player's whole second and the
    // lookup second (position plus offset, rounded).
    QList<qint64> advance(qint64 playerSecond, qint64 lookupSecond);

private:
    int m_catchUp = 3;
    std::optional<qint64> m_lastPlayer;
    std::optional<qint64> m_shownUpTo;
};
