#include "replay/gui/ReplayKeys.h"

#include "replay/ReplayOffset.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace replay {

namespace {

bool usesArrowsItself(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
        || qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QAbstractSlider *>(w)
        || qobject_cast<const QComboBox *>(w) || qobject_cast<const QTextEdit *>(w)
        || qobject_cast<const QPlainTextEdit *>(w);
}

} // namespace

ReplayKeys::ReplayKeys(std::function<QWidget *()> window, std::function<bool()> active,
                       std::function<void(int)> step, QObject *parent)
    : QObject(parent)
    , m_window(std::move(window))
    , m_active(std::move(active))
    , m_step(std::move(step))
{
    qApp->installEventFilter(this);
}

ReplayKeys::~ReplayKeys()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool ReplayKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const int delta = replayOffsetStep(key->key(), key->modifiers());
    if (delta == 0 || !m_active())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    QWidget *window = m_window();
    if (!window || widget->window() != window || usesArrowsItself(widget))
        return false;
    m_step(delta);
    return true;
}

} // namespace replay
