#pragma once
// PictureListbox: the small pop-up that shows a thread entry's whole title under the pointer
// after a click on the thread list, and hides itself when TimerList (1500 ms) ticks.

#include <QFrame>

class QLabel;
class QTimer;

class ThreadTitlePopup : public QFrame
{
    Q_OBJECT
public:
    // parent is the main window; the pop-up lies over its other controls.
    explicit ThreadTitlePopup(QWidget *parent);

    // Shows title at listTopLeft (in the parent) + the pointer's y over the list (whole twips)
    // + 300 twips, kept inside the parent's width, and restarts TimerList.
    void showTitle(const QString &title, QPoint listTopLeft, int mouseYTwips);
    void TimerList_Timer();

    QLabel *lblList = nullptr;
    QTimer *TimerList = nullptr;
};
