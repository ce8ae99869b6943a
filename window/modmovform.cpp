#include "window/modmovform.h"

#include "platform/pointer.h"
#include "platform/windowmover.h"

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
    // A press handled after its release is a click, not a drag: a move
    // started then would follow the pointer with no button to end it.
    if (button == Qt::NoButton || !buttonHeldNow(button))
        return 0;
    QWindow *handle = window->windowHandle();
    // On Wayland the compositor moves the window, and only it can. The
    // protocol leaves open which button's release ends that move, and GNOME's
    // compositor ends it only on the left button's (or on the button it uses
    // for resizing): started from another button, it would never end there.
    // So on Wayland only the left button drags.
    if (QGuiApplication::platformName().startsWith(QLatin1StringView("wayland"))) {
        if (button == Qt::LeftButton && handle)
            handle->startSystemMove();
        return 0;
    }
    // On X11 the window manager's move ends when the left button is
    // released, so started from another button it would never end: other
    // buttons get our own move there.
    if (button == Qt::LeftButton && handle && handle->startSystemMove())
        return 0;
    WindowMover::start(window, button);
    return 0;
}

} // namespace ModmovForm
