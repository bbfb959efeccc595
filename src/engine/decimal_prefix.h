#pragma once

#include <cstdint>
#include <string_view>

// The number a text begins with: white space (0x09-0x0D, 0x20) skipped, one optional "+" or
// "-", then decimal digits up to the first other byte; no digits give 0. The value is exact
// modulo 2^64, as 64-bit two's complement arithmetic that wraps on overflow would give it, so
// its low 32 bits are those of the same sum in 32 bits.
uint64_t parseDecimalPrefix(std::string_view text);
