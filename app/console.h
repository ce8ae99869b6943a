// The program's texts on the terminal it was started from (--help, --version,
// why no window opens), in the encoding of the user's locale, which need not
// be UTF-8 (GB18030, say), or in English alone where that encoding cannot
// show Chinese (the C locale's ASCII, a Latin one).
#pragma once

#include <cstdio>
#include <string_view>

namespace console {

// Writes in codeset, the encoding of the locale the environment names (as
// applyEnvironmentLocale() says it), whatever character type the program
// later sets for itself.
void useEncoding(std::string_view codeset);

// Writes one of the program's texts: bilingual, in UTF-8, as the encoding
// shows it, or else its English alone.
void write(std::FILE *stream, std::string_view bilingual, std::string_view english);

// Writes a text from elsewhere (the toolkit's messages), with what the
// encoding cannot show replaced.
void writeForeign(std::FILE *stream, std::string_view utf8);

// Flushes standard output. A write that failed (a full disk, a closed
// terminal) is said on standard error, and makes it return false.
bool flushOutput();

} // namespace console
