// The pointer's buttons as they are now, not as the events handled so far
// say: a press that is handled late (the program was busy) may come after its
// button was released.
#pragma once

#include <Qt>

// Whether button is held down now. On X11 the display server is asked; on
// other platforms, which cannot be asked, the toolkit's state is taken.
bool buttonHeldNow(Qt::MouseButton button);
