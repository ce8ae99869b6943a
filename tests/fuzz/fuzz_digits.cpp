// The digits the phone box keeps of pasted, dropped and assistive text: any
// text, decoded from UTF-8 or as raw UTF-16 (lone surrogates too), with a
// cursor anywhere in it.
#include "window/controls/digits.h"

#include "fuzz.h"
#include "input.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Input input(data, size);
    const bool utf16 = input.byte() & 1;
    const int cursor = input.small();
    const QString text = input.rest(utf16);
    qsizetype position = std::clamp<qsizetype>(cursor, 0, text.size());

    const QString kept = digits::keptOf(text, &position);
    FUZZ_ASSERT(
        std::all_of(kept.cbegin(), kept.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }));
    FUZZ_ASSERT(kept.size() <= text.size());
    FUZZ_ASSERT(position >= 0 && position <= kept.size());
    FUZZ_ASSERT(digits::anyIn(text) == !kept.isEmpty());
    FUZZ_ASSERT(digits::keptOf(kept) == kept);
    return 0;
}
