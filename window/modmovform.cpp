#include "modmovform.h"

#include "windowmover.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace ModmovForm {

qint32 ReleaseCapture()
{
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    return 1;
}

qint32 SendMessage(QWidget *hwnd, qint32 wMsg, qint32 wParam, qint32)
{
    if (wMsg != WM_NCLBUTTONDOWN || wParam != HTCAPTION || !hwnd)
        return 0;
    QWidget *window = hwnd->window();
    const Qt::MouseButtons held = QGuiApplication::mouseButtons();
    const Qt::MouseButton button = held & Qt::LeftButton ? Qt::LeftButton
        : held & Qt::RightButton                         ? Qt::RightButton
        : held & Qt::MiddleButton                        ? Qt::MiddleButton
                                                         : Qt::NoButton;
    if (button == Qt::NoButton)
        return 0;
    // On X11 a system move ends only when the left button is released, so
    // started from another button it would never end: other buttons get our
    // own move there. Wayland compositors end it on the release of whichever
    // button started it, and do not let a program place its own window.
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1StringView("wayland"));
    QWindow *handle = window->windowHandle();
    if ((button == Qt::LeftButton || wayland) && handle && handle->startSystemMove())
        return 0;
    WindowMover::start(window, button);
    return 0;
}

} // namespace ModmovForm
