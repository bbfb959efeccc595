#include "engine/text_ops.h"

#include <cstring>

#include "engine/decimal_prefix.h"

namespace {

// Width of the character that starts at byte i: 1 below 0x80, else 2 (1 for a final lone byte).
std::size_t charWidth(std::string_view text, std::size_t i) {
    if (static_cast<unsigned char>(text[i]) < 0x80) return 1;
    return i + 1 < text.size() ? 2 : 1;
}

bool isLeadByte(std::string_view text, std::size_t i) {
    return static_cast<unsigned char>(text[i]) >= 0x80;
}

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool matchesAt(std::string_view text, std::size_t i, std::string_view needle, bool ignoreCase) {
    if (!ignoreCase) return std::memcmp(text.data() + i, needle.data(), needle.size()) == 0;
    for (std::size_t k = 0; k < needle.size(); ++k) {
        if (foldAscii(text[i + k]) != foldAscii(needle[k])) return false;
    }
    return true;
}

}  // namespace

TextList splitText(const ByteText& text, const ByteText& delimiter) {
    TextList pieces;
    if (text.empty()) return pieces;
    if (delimiter.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    const std::string_view t = text.view();
    const std::string_view d = delimiter.view();
    std::size_t pieceStart = 0;
    std::size_t i = 0;
    while (t.size() - i >= d.size()) {
        if (matchesAt(t, i, d, false)) {
            pieces.emplace_back(t.substr(pieceStart, i - pieceStart));
            i += d.size();
            pieceStart = i;
        } else if (isLeadByte(t, i) && i + 1 == t.size()) {
            break;  // a final lone high byte ends the scan
        } else {
            i += charWidth(t, i);
        }
    }
    if (pieceStart < t.size()) pieces.emplace_back(t.substr(pieceStart));
    return pieces;
}

ByteText replaceAll(const ByteText& text, const ByteText& from, const ByteText& to) {
    if (text.empty() || from.empty()) return text;
    const std::string_view t = text.view();
    const std::string_view f = from.view();
    std::string result;
    result.reserve(t.size());
    std::size_t i = 0;
    while (t.size() - i >= f.size()) {
        if (matchesAt(t, i, f, false)) {
            result.append(to.view());
            i += f.size();
        } else {
            const std::size_t width = charWidth(t, i);
            result.append(t.substr(i, width));
            i += width;
        }
    }
    result.append(t.substr(i));
    return ByteText(std::move(result));
}

int32_t findText(const ByteText& text, const ByteText& needle, bool ignoreCase) {
    if (needle.empty()) return text.empty() ? -1 : 1;
    const std::string_view t = text.view();
    const std::string_view n = needle.view();
    std::size_t i = 0;
    while (t.size() - i >= n.size()) {
        if (matchesAt(t, i, n, ignoreCase)) return static_cast<int32_t>(i + 1);
        if (isLeadByte(t, i) && i + 1 == t.size()) break;
        i += charWidth(t, i);
    }
    return -1;
}

ByteText leftText(const ByteText& text, int32_t count) {
    if (count <= 0) return ByteText();
    if (static_cast<std::size_t>(count) >= text.size()) return text;
    return ByteText(text.view().substr(0, static_cast<std::size_t>(count)));
}

ByteText rightText(const ByteText& text, int32_t count) {
    if (count <= 0) return ByteText();
    if (static_cast<std::size_t>(count) >= text.size()) return text;
    return ByteText(text.view().substr(text.size() - static_cast<std::size_t>(count)));
}

int32_t textLength(const ByteText& text) {
    return static_cast<int32_t>(text.size());
}

int32_t toInteger(const ByteText& text) {
    // Fold the full-width forms of the code page onto ASCII first.
    const std::string_view t = text.view();
    std::string folded;
    folded.reserve(t.size());
    for (std::size_t i = 0; i < t.size();) {
        const auto first = static_cast<unsigned char>(t[i]);
        if (first < 0x80) {
            folded.push_back(t[i]);
            i += 1;
            continue;
        }
        if (i + 1 == t.size()) break;  // a final lone high byte is dropped
        const auto second = static_cast<unsigned char>(t[i + 1]);
        if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
            folded.push_back(static_cast<char>(second - 0x80));
        } else if (first == 0xA1 && second == 0xA1) {
            folded.push_back(' ');
        } else if (first == 0xA1 && second == 0xAB) {
            folded.push_back('~');
        } else if (first == 0xA1 && (second == 0xEE || second == 0xEF)) {
            folded.push_back('*');
        } else {
            folded.append(t.substr(i, 2));
        }
        i += 2;
    }

    return static_cast<int32_t>(static_cast<uint32_t>(parseDecimalPrefix(folded)));
}

int32_t truncateToInteger(double value) {
    // Values outside the 64-bit range (or NaN) never arise from the rules; pin them instead of
    // leaving the conversion undefined.
    if (!(value > -9223372036854775808.0)) return 0;
    if (value >= 9223372036854775808.0) return -1;
    const auto wide = static_cast<int64_t>(value);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(wide)));
}

int compareText(const ByteText& a, const ByteText& b) {
    const int order = a.view().compare(b.view());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

ByteSequence toBytes(const ByteText& text) {
    return text.bytes();
}
