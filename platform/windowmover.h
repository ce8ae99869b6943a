// Moves a window with the pointer while a mouse button is held: the drag a
// window manager would do, for platforms and buttons where it does not.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

class WindowMover : public QObject
{
    Q_OBJECT

public:
    // Starts following the pointer at once; ends, and deletes itself, when
    // button is released.
    static void start(QWidget *window, Qt::MouseButton button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    WindowMover(QWidget *window, Qt::MouseButton button);
    void finish();

    QPointer<QWidget> m_window;
    Qt::MouseButton m_button;
    QPoint m_offset; // pointer position within the window
};
