#include "platform/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// One converter per direction and thread, opened on first use; iconv_open is too slow to
// call for every file name of a scan.
class Iconv {
public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Iconv() {
        if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts the bytes; each byte that does not convert is replaced by `bad` and makes the
    // result inexact.
    Converted<std::string> convert(std::string_view input, std::string_view bad) {
        Converted<std::string> out;
        if (handle_ == reinterpret_cast<iconv_t>(-1)) return {std::string(input), false};
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        out.value.resize(input.size() * 4 + 8);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char* dst = out.value.data();
        std::size_t dstLeft = out.value.size();
        while (inLeft > 0) {
            if (iconv(handle_, &in, &inLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                const std::size_t used = static_cast<std::size_t>(dst - out.value.data());
                out.value.resize(out.value.size() * 2);
                dst = out.value.data() + used;
                dstLeft = out.value.size() - used;
                continue;
            }
            // EILSEQ or EINVAL (a sequence cut short at the end): skip one byte.
            out.exact = false;
            const std::size_t used = static_cast<std::size_t>(dst - out.value.data());
            out.value.resize(used);
            out.value.append(bad);
            out.value.resize(out.value.size() + inLeft * 4 + 8);
            dst = out.value.data() + used + bad.size();
            dstLeft = out.value.size() - used - bad.size();
            ++in;
            --inLeft;
        }
        out.value.resize(static_cast<std::size_t>(dst - out.value.data()));
        return out;
    }

private:
    iconv_t handle_;
};

Iconv& utf8ToGbConverter() {
    thread_local Iconv converter("GB18030", "UTF-8");
    return converter;
}

Iconv& gbToUtf8Converter() {
    thread_local Iconv converter("UTF-8", "GB18030");
    return converter;
}

constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

}  // namespace

Converted<ByteText> utf8ToGb18030(std::string_view utf8) {
    const bool holdsZero = utf8.find('\0') != std::string_view::npos;
    if (isAscii(utf8)) return {ByteText(utf8), !holdsZero};
    // glibc's decoder refuses every ill-formed UTF-8 sequence, and GB18030 gives every Unicode
    // scalar value its own bytes, so a conversion without error is exact: no check of the way
    // back for every name a scan reads (the tests check it once for every scalar value).
    Converted<std::string> gb = utf8ToGbConverter().convert(utf8, "?");
    return {ByteText(std::move(gb.value)), gb.exact && !holdsZero};
}

Converted<std::string> gb18030ToUtf8(const ByteText& text) {
    if (isAscii(text.view())) return {text.bytes(), true};
    Converted<std::string> utf8 = gbToUtf8Converter().convert(text.view(), kUtf8Replacement);
    if (utf8.exact) {
        const Converted<std::string> back = utf8ToGbConverter().convert(utf8.value, "?");
        utf8.exact = back.exact && back.value == text.bytes();
    }
    return utf8;
}

Converted<QString> gb18030ToQString(const ByteText& text) {
    const Converted<std::string> utf8 = gb18030ToUtf8(text);
    return {QString::fromUtf8(utf8.value.data(), static_cast<qsizetype>(utf8.value.size())),
            utf8.exact};
}

Converted<ByteText> qStringToGb18030(const QString& text) {
    bool representable = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isNull()) {
            representable = false;
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            representable = false;
        }
    }
    const QByteArray utf8 = text.toUtf8();
    Converted<ByteText> gb = utf8ToGb18030(std::string_view(utf8.constData(), utf8.size()));
    gb.exact = gb.exact && representable;
    return gb;
}
