// The text items assistive technology asks of a box: any text, offset,
// boundary kind and side, and any shown lines.
#include "window/controls/accessibletext.h"

#include "fuzz.h"
#include "input.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Input input(data, size);
    const int offset = input.small();
    const auto boundary = QAccessible::TextBoundaryType(input.byte() % 6);
    const auto side = accessibletext::Side(input.byte() % 3);
    QList<int> lineStarts;
    for (int lines = input.byte() % 8; lines > 0; --lines)
        lineStarts.append(input.small());
    const QString text = input.rest(input.byte() & 1);

    // Lines begin inside the text, in order, as a box lays them out.
    const int length = int(text.size());
    lineStarts.removeIf([length](int start) { return start <= 0 || start >= length; });
    std::sort(lineStarts.begin(), lineStarts.end());
    lineStarts.resize(std::unique(lineStarts.begin(), lineStarts.end()) - lineStarts.begin());

    const accessibletext::Range range
        = accessibletext::item(text, offset, boundary, side, lineStarts);
    const bool inside = offset == -1 || (offset >= 0 && offset <= length);
    if (!inside) {
        FUZZ_ASSERT(range == accessibletext::Range {});
        return 0;
    }
    FUZZ_ASSERT(range.start >= 0 && range.start <= range.end && range.end <= length);
    return 0;
}
