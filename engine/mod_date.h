// The fortune table: a verdict and a meaning for each fortune number 1 to 80,
// and a fallback row for every other value.
#pragma once

#include <string_view>

namespace Mod_date {

// The verdict ("吉", "凶", ...) of the row whose key equals number, or the
// fallback verdict when no key does (0, above 80, negative, fractional, NaN).
std::string_view FortuneVerdict(double number) noexcept;

// The meaning of the same row as FortuneVerdict selects.
std::string_view FortuneText(double number) noexcept;

} // namespace Mod_date
