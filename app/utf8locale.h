// The locale's character encoding, made UTF-8 before the toolkit starts.
#pragma once

// Where the environment names a locale whose character type is not UTF-8
// (the C locale of a bare environment, or one of a legacy encoding), names
// its UTF-8 form in the environment instead, as the toolkit would itself:
// the language's own (de_DE.UTF-8 for de_DE.ISO-8859-1) where the system has
// it, else C.UTF-8. The locale's other categories are left as they were. Qt
// 6.8 and later would make the same switch, but with a warning of four lines
// at every start, before even --version answers. Call before the toolkit
// starts, while the program has one thread.
void useUtf8Locale();
