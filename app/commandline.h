// What the command line asks for, read before any window is made (and so
// without a display). Only --help and --version are the program's own; the
// toolkit's options (-platform xcb and the like) are left to the toolkit.
#pragma once

#include <QStringList>

namespace commandline {

enum class Request { OpenWindow, Help, Version };

// The first of --help and --version given (either spelt with one dash or
// two), or the window. arguments begin with the program's name.
Request requested(const QStringList &arguments);

// Whether a platform or a display is named, where the toolkit looks for one:
// in its options -platform and -display (also spelt with two dashes), each
// followed by its value, or in the environment.
bool someDisplayNamed(int argc, const char *const *argv);

} // namespace commandline
