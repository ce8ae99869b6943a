// An image control without a picture: it draws nothing, and reports mouse
// presses of any button over its whole rectangle.
#pragma once

#include <QAccessible>
#include <QWidget>

class ImageArea : public QWidget
{
    Q_OBJECT

public:
    // role: what the area is to assistive technology (see accessibility.h).
    explicit ImageArea(QAccessible::Role role, QWidget *parent = nullptr);

    QAccessible::Role accessibleRole() const { return m_role; }

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QAccessible::Role m_role;
};
