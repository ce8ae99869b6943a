// Reduction of the phone-number text to its fortune number.
#pragma once

#include <optional>
#include <string_view>

namespace Mod_date {

// The fortune number of a phone text (UTF-8): its last four characters (the
// whole text when shorter) read as a decimal number n, then reduced in binary64
// steps: q = n / 80, f = trunc(q), p = (q - f) * 80, result trunc(p). Because
// q is rounded, the result is n mod 80 for some n and one less for others.
//
// Returns no number for an empty text, or when any of those last four
// characters is not an ASCII digit 0-9.
std::optional<double> FortuneNumber(std::string_view phoneText) noexcept;

} // namespace Mod_date
