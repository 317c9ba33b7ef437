#pragma once
// The common ground of the viewer windows: each is a top-level window that makes what is costly
// (its browser control, or the board it re-opens) the first time it is shown, and lays its
// controls out again on every resize. Header only: the windows built into the program and those
// of the browser module both derive from it.

#include <QScreen>
#include <QWidget>

class ViewerWindow : public QWidget
{
public:
    explicit ViewerWindow(QWidget *parent)
        : QWidget(parent, Qt::Window)
    {
    }

protected:
    // Runs inside the show event, before the first paint: on the first show, and on the first
    // show after loadAgainOnShow().
    virtual void firstShown() {}
    // Runs on every resize, the first one included (which may come before firstShown).
    virtual void layoutControls() {}
    // The next show runs firstShown again (a window whose closing unloads it).
    void loadAgainOnShow() { m_shown = false; }
    // Vertical dots per inch of the window's screen, which the twips layouts convert with.
    double screenDpi() const
    {
        const QScreen *s = screen();
        return s ? s->logicalDotsPerInchY() : 96.0;
    }

    void showEvent(QShowEvent *event) override
    {
        QWidget::showEvent(event);
        if (m_shown)
            return;
        m_shown = true;
        firstShown();
    }
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        layoutControls();
    }

private:
    bool m_shown = false;
};
