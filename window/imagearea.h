// An image control without a picture: it draws nothing, and catches mouse
// presses over its whole rectangle.
#pragma once

#include <QWidget>

class ImageArea : public QWidget
{
    Q_OBJECT

public:
    explicit ImageArea(QWidget *parent = nullptr);

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position);
    // A press and release of the left button, both on the area.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
