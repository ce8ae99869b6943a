#include "engine/fortunenumber.h"

#include <array>
#include <cfloat>
#include <cstdint>
#include <cstring>

// The reduction must round every step to binary64. Extended-precision
// evaluation would change the results; contraction is disabled by the build.
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "the fortune number needs plain binary64 evaluation (FLT_EVAL_METHOD 0)"
#endif

namespace Mod_date {

namespace {

constexpr std::size_t kTailLength = 4;

constexpr bool isAsciiDigit(char c) noexcept
{
    return c >= '0' && c <= '9';
}

// Truncation toward zero of a value well inside the range of long long. The
// conversion truncates exactly, as std::trunc does, without a library call.
constexpr double truncated(double value) noexcept
{
    return static_cast<double>(static_cast<long long>(value));
}

// The value of up to three ASCII digits, or nothing.
std::optional<std::uint32_t> shortDigits(std::string_view text) noexcept
{
    std::uint32_t n = 0;
    for (const char c : text) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        n = n * 10 + std::uint32_t(c - '0');
    }
    return n;
}

// The value of exactly four ASCII digits, or nothing. This runs once per test
// and is the hot path of the benchmark, so the four bytes are checked and
// combined as one 32-bit word instead of one at a time.
std::optional<std::uint32_t> fourDigits(const char *text) noexcept
{
    std::array<unsigned char, 4> bytes;
    std::memcpy(bytes.data(), text, bytes.size());
    // First character in the lowest byte, whatever the machine's byte order.
    const std::uint32_t word = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8
        | std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    // A byte is a digit when its high nibble is 3 and adding 6 keeps it so
    // (0x30 to 0x39, but not 0x3A to 0x3F).
    if ((word & 0xF0F0F0F0u) != 0x30303030u || ((word + 0x06060606u) & 0xF0F0F0F0u) != 0x30303030u)
        return std::nullopt;
    // Digits d0 d1 d2 d3 (d0 first) -> bytes 10*d0+d1 and 10*d2+d3 -> the
    // high half of x + (100 << 16) * x is 100 * (10*d0+d1) + 10*d2+d3.
    std::uint32_t v = word - 0x30303030u;
    v = (v * 10 + (v >> 8)) & 0x00FF00FFu;
    return (v * (1 + (100u << 16))) >> 16;
}

} // namespace

std::optional<double> FortuneNumber(std::string_view phoneText) noexcept
{
    if (phoneText.empty())
        return std::nullopt;

    // An ASCII byte is always a whole character in UTF-8, so when the last
    // four bytes are digits they are the last four characters. Any other byte
    // among them belongs to a character that is not a digit (a letter, a sign,
    // a multi-byte character or a broken sequence), so the tail is rejected.
    const auto n = phoneText.size() >= kTailLength
        ? fourDigits(phoneText.data() + phoneText.size() - kTailLength)
        : shortDigits(phoneText);
    if (!n)
        return std::nullopt;

    // One binary64 operation per step, in this order; never an integer
    // remainder, whose results differ.
    const double q = static_cast<double>(*n) / 80.0;
    const double f = truncated(q);
    const double d = q - f;
    const double p = d * 80.0;
    return truncated(p);
}

} // namespace Mod_date
