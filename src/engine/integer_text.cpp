#include "engine/integer_text.h"

#include <algorithm>
#include <cstdint>

#include "engine/decimal_prefix.h"

std::string normalizeIntegerText(std::string_view text) {
    const auto value = static_cast<int64_t>(parseDecimalPrefix(text));
    const int64_t clamped = std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
    return clamped == 0 ? std::string() : std::to_string(clamped);
}
