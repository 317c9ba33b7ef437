#pragma once
// What the settings dialogs' handlers change outside the MainSettings variables: effects on the
// main window. formMain connects to these once; the dialogs emit them from their change
// handlers, which also run when start-up selects stored entries.

#include <QObject>

class SettingsEffects : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // chkCowntDown: show or hide the main window's lblCountDown.
    void countdownVisibleChanged(bool visible);
    // comboRegetTime: new interval of TimerWmp in ms (n × 1000). 0 comes from a text outside
    // "1".."4": the timer must then stop, not fire continuously as a QTimer of 0 ms would.
    void replayIntervalChanged(int milliseconds);
    // Font, size or colour of the comment templates (MainSettings::templates) changed.
    void templateLookChanged();
    // Opacity slider: whole-window alpha (40..255), or colourKey = true for no whole-window
    // alpha (only the see-through key colour, as in every view mode).
    void opacityChanged(int alpha, bool colourKey);
    // options.ini was read: the replay panel's offset in seconds.
    void replayOffsetChanged(int seconds);
    // "コメントを重ねない": comments placed from now on take free lanes (live and replay).
    void commentLanesChanged(bool on);
};
