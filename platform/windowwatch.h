// Ends the program when its window is destroyed by another client, as an X
// client may do to any window (xdotool windowclose, a desktop's tool): the
// toolkit goes on without it, and the program would run on with no window,
// for good. Wayland lets no client destroy another's surface.
#pragma once

class QWidget;

void quitWhenDestroyedFromOutside(QWidget *window);
