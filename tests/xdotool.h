// For the end-to-end tests: xdotool, whose pointer and key input reaches the
// programs on the X server as a user's does.
#pragma once

#include "run.h"

inline QString xdotool(const QStringList &arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}
