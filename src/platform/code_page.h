#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "engine/byte_text.h"

// The program keeps every text in GB18030; the OS speaks UTF-8 and the widgets QString.
// Each conversion says whether it was exact: an inexact result is only fit for display.

template <typename T>
struct Converted {
    T value;
    bool exact = true;
};

// UTF-8 bytes from the OS -> GB18030. Inexact when the bytes are not valid UTF-8 or hold a 0.
Converted<ByteText> utf8ToGb18030(std::string_view utf8);
// GB18030 -> UTF-8 bytes for the OS. Inexact when the bytes are not valid GB18030.
Converted<std::string> gb18030ToUtf8(const ByteText& text);

// For the widgets. Undecodable bytes become U+FFFD in an inexact result.
Converted<QString> gb18030ToQString(const ByteText& text);
// Inexact when the string holds a lone surrogate or U+0000 (which a ByteText cannot hold).
Converted<ByteText> qStringToGb18030(const QString& text);
