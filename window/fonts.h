// The window's fonts: the faces it was designed with where the system has
// them, else free faces of the same designs, each asked for by the name the
// system knows it by.
#pragma once

#include <QFont>

namespace fonts {

// Maps the design names to free fonts from the distribution, for whatever
// else asks for them by name; call once, before any of the fonts below is
// used (and after the application is made).
void installSubstitutions();

QFont window(); // 宋体 9 pt: every control that names no font
QFont title(); // 宋体 12 pt
QFont link(); // 楷体_GB2312 9 pt, underlined
QFont phoneBox(); // Century Gothic 9 pt italic

} // namespace fonts
