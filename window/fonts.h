// The window's fonts, by the names it was designed with. On systems without
// those fonts, substitution maps each name to a free font of the same design.
#pragma once

#include <QFont>

namespace fonts {

// Maps the design names to free fonts from the distribution; call once,
// before any of the fonts below is used.
void installSubstitutions();

QFont window(); // 宋体 9 pt: every control that names no font
QFont title(); // 宋体 12 pt
QFont link(); // 楷体_GB2312 9 pt, underlined
QFont phoneBox(); // Century Gothic 9 pt italic

} // namespace fonts
