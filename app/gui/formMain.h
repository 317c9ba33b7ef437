#pragma once
// The main window: owns the thread state, the response record, the sockets, the timers and the
// display surfaces. Other windows reach it through its public operations.

#include <QWidget>

class formMain : public QWidget
{
    Q_OBJECT
public:
    explicit formMain(QWidget *parent = nullptr);
    ~formMain() override;
};
