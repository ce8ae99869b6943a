// The two calls that start a window drag as if its caption had been pressed:
// release the mouse capture, then send the window "left button down on the
// caption". Here they are carried out by the toolkit: a system move where the
// platform offers one, otherwise a move that follows the pointer.
#pragma once

#include <QtGlobal>

class QWidget;

namespace ModmovForm {

constexpr qint32 WM_NCLBUTTONDOWN = 161; // 0xA1
constexpr qint32 HTCAPTION = 2;

// Releases any mouse grab held by a widget of this program. Returns nonzero.
qint32 ReleaseCapture();

// Understands one message: WM_NCLBUTTONDOWN with HTCAPTION starts moving the
// window of hwnd with the pointer, until the mouse button now held is
// released. Returns 0.
qint32 SendMessage(QWidget *hwnd, qint32 wMsg, qint32 wParam, qint32 lParam);

} // namespace ModmovForm
