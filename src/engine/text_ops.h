#pragma once

#include <cstdint>

#include "engine/byte_text.h"

// The text operations every other part of the program builds on. All are pure and never fail.
// splitText, replaceAll, findText and toInteger step by characters: a byte of 0x80 or above
// starts a two-byte character whatever follows it; a lone high byte at the end is a character.

TextList splitText(const ByteText& text, const ByteText& delimiter);
ByteText replaceAll(const ByteText& text, const ByteText& from, const ByteText& to);
// Byte position counted from 1, or -1. ignoreCase folds only A-Z onto a-z, every byte alike.
int32_t findText(const ByteText& text, const ByteText& needle, bool ignoreCase);
ByteText leftText(const ByteText& text, int32_t count);
ByteText rightText(const ByteText& text, int32_t count);
int32_t textLength(const ByteText& text);
int32_t toInteger(const ByteText& text);
int32_t truncateToInteger(double value);
int compareText(const ByteText& a, const ByteText& b);
ByteSequence toBytes(const ByteText& text);

template <typename... Texts>
ByteText concatText(const Texts&... texts) {
    std::string joined;
    joined.reserve((std::size_t{0} + ... + texts.size()));
    (joined.append(texts.view()), ...);
    return ByteText(std::move(joined));
}

template <typename... Sequences>
ByteSequence concatBytes(const Sequences&... sequences) {
    ByteSequence joined;
    joined.reserve((std::size_t{0} + ... + sequences.size()));
    (joined.append(sequences), ...);
    return joined;
}
