#pragma once

#include <string>
#include <string_view>

// The text an integers-only field holds once it loses the focus: leading white space skipped,
// one optional sign, the digits up to the first other character accumulated with 64-bit
// wrap-around, clamped to 32 bits and written back in decimal; 0 is written as the empty text.
std::string normalizeIntegerText(std::string_view text);
