#include "app/gui/ThreadTitlePopup.h"

#include "platform/Twips.h"
#include "platform/gui/PlainText.h"

#include <QLabel>
#include <QTimer>

#include <algorithm>

ThreadTitlePopup::ThreadTitlePopup(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("PictureListbox"));
    setAttribute(Qt::WA_StyledBackground);
    lblList = platform::plainTextLabel(new QLabel(this));
    lblList->move(3, 2);
    hide();
    TimerList = new QTimer(this);
    TimerList->setInterval(1500);
    connect(TimerList, &QTimer::timeout, this, &ThreadTitlePopup::TimerList_Timer);
}

void ThreadTitlePopup::showTitle(const QString &title, QPoint listTopLeft, int mouseYTwips)
{
    TimerList->stop();
    lblList->setText(title);
    lblList->adjustSize();
    resize(lblList->width() + twipsToPixels(110, logicalDpiX()), lblList->height() + 4);
    const int top = listTopLeft.y() + twipsToPixels(mouseYTwips + 300, logicalDpiY());
    // The list sits at the window's right edge: a long title opens towards the left.
    int left = listTopLeft.x();
    const int room = parentWidget()->width();
    if (left + width() > room)
        left = std::max(0, room - width());
    move(left, top);
    show();
    raise();
    TimerList->start();
}

void ThreadTitlePopup::TimerList_Timer()
{
    hide();
    TimerList->stop();
}
