#pragma once

#include <cstdio>
#include <ostream>
#include <string_view>

#include "engine/byte_text.h"

// Prints texts with every byte outside printable ASCII as \xNN, so that a failed expectation
// shows the exact bytes of a two-byte character or a cut one.
inline void printEscaped(std::string_view bytes, std::ostream* os) {
    *os << '"';
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '\\' && b != '"') {
            *os << c;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            *os << hex;
        }
    }
    *os << '"';
}

inline void PrintTo(const ByteText& text, std::ostream* os) {
    printEscaped(text.view(), os);
}
