#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A text in the program's double-byte code page (GB18030). It never holds the byte 0:
// whatever it is built from is cut at the first 0 byte, the way a C string would end there.
// An absent text and the empty text are the same value.
class ByteText {
public:
    ByteText() = default;
    ByteText(const char* text) : bytes_(text ? text : "") {}
    explicit ByteText(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}
    explicit ByteText(std::string&& bytes) : bytes_(std::move(bytes)) {
        if (auto zero = bytes_.find('\0'); zero != std::string::npos) bytes_.resize(zero);
    }

    const std::string& bytes() const { return bytes_; }
    std::string_view view() const { return bytes_; }
    bool empty() const { return bytes_.empty(); }
    std::size_t size() const { return bytes_.size(); }
    unsigned char at(std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }

    friend bool operator==(const ByteText& a, const ByteText& b) { return a.bytes_ == b.bytes_; }
    friend bool operator!=(const ByteText& a, const ByteText& b) { return a.bytes_ != b.bytes_; }

private:
    std::string bytes_;
};

// The ordered result of splitText; elements may be empty.
using TextList = std::vector<ByteText>;

// Any bytes, 0 included: the contents of the rename log.
using ByteSequence = std::string;
