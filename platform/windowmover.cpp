#include "platform/windowmover.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>

void WindowMover::start(QWidget *window, Qt::MouseButton button)
{
    new WindowMover(window, button);
}

WindowMover::WindowMover(QWidget *window, Qt::MouseButton button)
    : QObject(window)
    , m_window(window)
    , m_button(button)
    , m_offset(QCursor::pos() - window->pos())
{
    // No grab of our own: the pointer stays with this window while the button
    // that pressed it is held.
    qApp->installEventFilter(this);
}

void WindowMover::finish()
{
    qApp->removeEventFilter(this);
    deleteLater();
}

bool WindowMover::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        // The release may have happened where this program could not see it.
        if (!(mouse->buttons() & m_button) || !m_window) {
            finish();
            return false;
        }
        m_window->move(mouse->globalPosition().toPoint() - m_offset);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true; // other buttons pressed during the drag do nothing
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!(mouse->buttons() & m_button))
            finish();
        return false; // the toolkit sees every release, so no press is left pending
    }
    case QEvent::ApplicationDeactivate:
        finish();
        return false;
    default:
        return false;
    }
}
