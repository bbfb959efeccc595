#include "engine/integer_text.h"

#include <algorithm>
#include <cstdint>

std::string normalizeIntegerText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    uint64_t magnitude = 0;  // unsigned: wraps like 64-bit two's complement without UB
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10u + static_cast<uint64_t>(text[i] - '0');
    }
    if (negative) magnitude = 0u - magnitude;
    const auto value = static_cast<int64_t>(magnitude);
    const int64_t clamped = std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
    return clamped == 0 ? std::string() : std::to_string(clamped);
}
