#pragma once
// The measuring window of kharness: a frameless, see-through 1920 x 1080 top-level window like
// the main window's comment strip, surfaces that timestamp each paint they finish, and the
// measured span (warm-up, then frames, CPU and memory over the span).

#include <QJsonObject>
#include <QPaintEvent>
#include <QWidget>

#include <functional>
#include <vector>

#include <sys/types.h>

namespace harness {

qint64 monotonicNs();

template <class Surface>
class TimedSurface : public Surface
{
public:
    using Surface::Surface;
    std::vector<qint64> frames; // end of each paint while recording
    bool recording = false;
    std::function<void()> onPainted;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        Surface::paintEvent(event);
        if (recording)
            frames.push_back(monotonicNs());
        if (onPainted)
            onPainted();
    }
};

class HarnessWindow : public QWidget
{
public:
    HarnessWindow();
    QWidget *stripArea() { return this; }
    // Shows the window and runs events until it is exposed (at most 5 s).
    void showAndWait();
};

// The X server whose CPU time measureSpan also reports over the same span (0: none).
void setXServerPid(pid_t pid);

// Runs events for a second of warm-up, then for `seconds` with recording on; returns fps,
// interval median / p99 / worst, CPU seconds per second (and the X server's, when its pid was
// set), RSS and PSS at the end. beforeSpan runs right before the span starts (extra recorders).
QJsonObject measureSpan(std::vector<qint64> &frames, bool &recording, double seconds,
                        const std::function<void()> &beforeSpan = {});

// Runs the event loop for ms milliseconds.
void runEvents(int ms);

} // namespace harness
