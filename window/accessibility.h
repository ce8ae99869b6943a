// What assistive technology is told of the window's own kinds of control:
// image areas by the role they play, the announcer as a notification.
#pragma once

// Installs the accessibility factory for them; call once, before any is made.
void installAccessibility();
