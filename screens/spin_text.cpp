#include "screens/spin_text.h"

#include <algorithm>
#include <cstdint>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

int ReadSpinText(std::string_view text, int minimum, int maximum)
{
    maximum = std::max(maximum, minimum);
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit)) return minimum;

    // Past this the number lies outside every int range anyway, so it stops growing.
    constexpr std::int64_t Saturated = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    for (char c : text) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > Saturated) {
            magnitude = Saturated;
            break;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return int(std::clamp<std::int64_t>(value, minimum, maximum));
}
