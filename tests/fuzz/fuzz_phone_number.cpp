// The phone text's reduction to a fortune number, and the table's rows for
// it: any bytes, as the box's text is handed over (UTF-8).
#include "engine/fortunenumber.h"
#include "engine/mod_date.h"

#include "fuzz.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<double> number = Mod_date::FortuneNumber(text);
    // A number exactly for a text whose last four characters (or all, if
    // fewer) are ASCII digits.
    const std::string_view tail = text.substr(text.size() - std::min<std::size_t>(4, text.size()));
    const bool digits = !text.empty()
        && std::all_of(tail.cbegin(), tail.cend(), [](char c) { return c >= '0' && c <= '9'; });
    FUZZ_ASSERT(number.has_value() == digits);
    if (number) {
        FUZZ_ASSERT(!Mod_date::FortuneVerdict(*number).empty());
        FUZZ_ASSERT(!Mod_date::FortuneText(*number).empty());
    }
    return 0;
}
