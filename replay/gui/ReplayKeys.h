#pragma once
// The replay offset's keys in the strip's window: left and right arrow, with or without Shift,
// pressed while replay mode is on. Widgets that use the arrows themselves (text and number
// boxes, lists, trees, sliders, combo boxes) keep them.
//
// An application event filter: a button that has the focus would otherwise turn the arrows
// into focus moves before the window sees them.

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace replay {

class ReplayKeys : public QObject
{
    Q_OBJECT
public:
    // window is asked for at each key (it may be re-parented); active says whether replay mode
    // is on; step receives the change of the offset.
    ReplayKeys(std::function<QWidget *()> window, std::function<bool()> active, std::function<void(int)> step,
               QObject *parent = nullptr);
    ~ReplayKeys() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<QWidget *()> m_window;
    std::function<bool()> m_active;
    std::function<void(int)> m_step;
};

} // namespace replay
