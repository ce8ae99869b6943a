// The locale the environment names, read once at start-up, and its character
// type made UTF-8 before the toolkit starts.
#pragma once

#include <string>
#include <string_view>

// The environment's locale as the toolkit applies it when it starts: whether
// the system has all of it, and the encoding of its character type. Where the
// system lacks the character type's locale, that encoding is the one its name
// says after the dot (zh_CN.GB18030), since that is what its user's terminal
// shows.
struct EnvironmentLocale
{
    bool loaded = false;
    std::string codeset;
};

// Applies the environment's locale, as the toolkit will, and says what it is.
EnvironmentLocale applyEnvironmentLocale();

// Whether a codeset, as nl_langinfo(CODESET) or a locale's name spells it, is
// UTF-8.
bool isUtf8(std::string_view codeset);

// Where the environment names a locale whose character type is not UTF-8
// (the C locale of a bare environment, one of a legacy encoding, or one the
// system lacks), names its UTF-8 form in the environment instead, as the
// toolkit would itself: the language's own (de_DE.UTF-8 for de_DE.ISO-8859-1)
// where the system has it, else C.UTF-8. The locale's other categories are
// left as they were. Qt 6.8 and later would make the same switch, but with a
// warning of four lines at every start, before even --version answers. Call
// before the toolkit starts, while the program has one thread.
void useUtf8Locale(const EnvironmentLocale &environment);
