// The system colours the window's design names (window text, button face and
// text, the box and check-box faces it does not colour itself), as a light
// desktop scheme gives them. The window is a skin: its colours are the
// design's, whatever scheme the desktop has, dark and high-contrast ones
// included, so that the text on the design's fixed back colours stays
// readable. Windows of their own (context menus, tooltips) follow the desktop.
#pragma once

#include <QPalette>

namespace colours {

// Every role of every group set, so that none follows the desktop's palette.
QPalette light();

} // namespace colours
