// An image control without a picture: it draws nothing, and catches mouse
// presses over its whole rectangle.
#pragma once

#include <QAccessible>
#include <QWidget>

class ImageArea : public QWidget
{
    Q_OBJECT

public:
    // role: what the area is to assistive technology; a button offers a
    // press action that clicks it.
    explicit ImageArea(QAccessible::Role role, QWidget *parent = nullptr);

    QAccessible::Role accessibleRole() const { return m_role; }

    // Lets assistive technology see image areas by their roles; call once.
    static void installAccessibility();

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position);
    // A press and release of the left button, both on the area.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QAccessible::Role m_role;
};
