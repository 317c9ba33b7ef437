#pragma once
// A title picture with its pressed face laid over it (picMin/PicMinOn, picClose/PicCloseON):
// the pressed face shows from mouse down to mouse up, and activated() is emitted only when the
// button is released strictly inside the picture.

#include "platform/ChromeRules.h"

#include <QPixmap>
#include <QWidget>

class ChromePicture : public QWidget
{
    Q_OBJECT
public:
    ChromePicture(const QPixmap &picture, const QPixmap &pressed, QWidget *parent = nullptr);

    // True while the pressed face is shown.
    bool pressedShown() const { return m_rule.pressedShown(); }

signals:
    void activated();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPixmap m_picture;
    QPixmap m_pressed;
    PressRule m_rule;
};
