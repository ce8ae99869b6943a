#include "platform/pointer.h"

#include <QGuiApplication>

#include <cstdlib>
#include <memory>

#include <xcb/xcb.h>

bool buttonHeldNow(Qt::MouseButton button)
{
    const auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection) // not on an X server (the offscreen platform offers the interface too)
        return QGuiApplication::mouseButtons() & button;

    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> pointer(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr),
        &std::free);
    if (!pointer)
        return false;
    const uint16_t mask = button == Qt::LeftButton ? XCB_BUTTON_MASK_1
        : button == Qt::MiddleButton               ? XCB_BUTTON_MASK_2
        : button == Qt::RightButton                ? XCB_BUTTON_MASK_3
                                                   : 0;
    return (pointer->mask & mask) != 0;
}
