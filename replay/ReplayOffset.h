#pragma once
// The replay offset: seconds added to the player's position before the past log is looked up,
// set on the replay panel or by the arrow keys in the strip's window.

#include <QString>
#include <Qt>

constexpr int kReplayOffsetMin = -600;
constexpr int kReplayOffsetMax = 600;

inline int clampReplayOffset(int seconds)
{
    return qBound(kReplayOffsetMin, seconds, kReplayOffsetMax);
}

// The change a key makes: left and right arrow -1 and +1, with Shift -10 and +10; 0 for any
// other key or with any other modifier held.
inline int replayOffsetStep(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers others = modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (others != Qt::NoModifier || (key != Qt::Key_Left && key != Qt::Key_Right))
        return 0;
    const int step = modifiers.testFlag(Qt::ShiftModifier) ? 10 : 1;
    return key == Qt::Key_Left ? -step : step;
}

// What the panel shows briefly after a key changed the offset: "ずれ補正：+3秒".
inline QString replayOffsetFlash(int seconds)
{
    return QStringLiteral("ずれ補正：") + (seconds > 0 ? QStringLiteral("+") : QString())
        + QString::number(seconds) + QStringLiteral("秒");
}
