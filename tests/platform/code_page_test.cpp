#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/rename_log.h"
#include "platform_fixture.h"

namespace {

struct RoundTrip {
    std::string utf8;
    std::string gb;
};

TEST(CodePageTest, ExactRoundTrips) {
    const std::vector<RoundTrip> cases = {
        {"", ""},
        {"/home/a b/x.txt", "/home/a b/x.txt"},
        {"\xE6\x96\x87\xE4\xBB\xB6", "\xCE\xC4\xBC\xFE"},  // 文件
        {"\xE2\x86\x92", "\xA1\xFA"},                      // →, the log's separator
        {"\xE2\x82\xAC", "\xA2\xE3"},                      // €
        {"\xC3\xA9", "\xA8\xA6"},                          // é
        {"\xF0\x9F\x98\x80", "\x94\x39\xFC\x36"},          // beyond the BMP: four GB18030 bytes
        {"/d/\xE6\x96\x87/a\\b", "/d/\xCE\xC4/a\\b"},
        {"\xE4\xB8\xB4\xE6\x97\xB6\xE6\x97\xA5\xE5\xBF\x97\xE6\x96\x87\xE4\xBB\xB6\xEF\xBC\x8C"
         "\xE8\x8B\xA5\xE4\xB8\x8D\xE7\x94\xA8\xE8\xAF\xB7\xE5\x88\xA0\xE9\x99\xA4\xE5\x8D\xB3"
         "\xE5\x8F\xAF.ini",
         kRenameLogName.bytes()},
    };
    for (const RoundTrip& c : cases) {
        const Converted<ByteText> gb = utf8ToGb18030(c.utf8);
        EXPECT_TRUE(gb.exact) << c.utf8;
        EXPECT_EQ(gb.value, ByteText(c.gb)) << c.utf8;
        const Converted<std::string> utf8 = gb18030ToUtf8(ByteText(c.gb));
        EXPECT_TRUE(utf8.exact) << c.utf8;
        EXPECT_EQ(utf8.value, c.utf8);
        const Converted<QString> shown = gb18030ToQString(ByteText(c.gb));
        EXPECT_TRUE(shown.exact);
        EXPECT_EQ(shown.value, QString::fromUtf8(c.utf8.data(), c.utf8.size()));
        const Converted<ByteText> typed =
            qStringToGb18030(QString::fromUtf8(c.utf8.data(), c.utf8.size()));
        EXPECT_TRUE(typed.exact);
        EXPECT_EQ(typed.value, ByteText(c.gb));
    }
}

TEST(CodePageTest, BytesThatAreNoTextConvertInexactly) {
    const std::vector<std::string> badUtf8 = {
        "bad\xFF",               // a byte UTF-8 never uses
        "cut\xE6\x96",           // a character cut short
        "\xC0\xAF",              // an overlong "/"
        "\xED\xA0\x80",          // an encoded surrogate
        std::string("a\0b", 3),  // a 0 byte, which no text can hold
        "\x80",                  // a lone continuation byte
    };
    for (const std::string& bytes : badUtf8) {
        EXPECT_FALSE(utf8ToGb18030(bytes).exact) << testing::PrintToString(ByteText(bytes));
    }

    const std::vector<std::string> badGb = {
        "\x81",          // a lead byte at the end
        "a\x81 b",       // a lead byte with a trail byte no character has
        "\xFF",          // a byte GB18030 never uses
        "\x81\x30\x81",  // a four-byte character cut short
    };
    for (const std::string& bytes : badGb) {
        const Converted<std::string> utf8 = gb18030ToUtf8(ByteText(bytes));
        EXPECT_FALSE(utf8.exact) << testing::PrintToString(ByteText(bytes));
        // What cannot be decoded is shown as U+FFFD.
        EXPECT_NE(utf8.value.find("\xEF\xBF\xBD"), std::string::npos);
        EXPECT_FALSE(gb18030ToQString(ByteText(bytes)).exact);
    }
}

TEST(CodePageTest, QStringsThatNoTextCanHoldConvertInexactly) {
    const std::vector<QString> cases = {
        QString(QChar(0xD800)),                       // a lone high surrogate
        QString("a") + QChar(0xDC00) + QString("b"),  // a lone low surrogate
        QString(QChar(0xDC00)) + QChar(0xD800),       // a pair in the wrong order
        QString("a") + QChar(0) + QString("b"),
    };
    for (const QString& text : cases) EXPECT_FALSE(qStringToGb18030(text).exact) << text.size();
    EXPECT_TRUE(qStringToGb18030(QString::fromUtf8("\xF0\x9F\x98\x80")).exact);
}

}  // namespace

// The conversion from UTF-8 trusts the converter instead of checking the way back for every
// name, so every Unicode scalar value that converts must come back as the very same bytes.
TEST(CodePageTest, EveryScalarValueThatConvertsComesBackExactly) {
    int converted = 0;
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const QByteArray utf8 = QString::fromUcs4(&c, 1).toUtf8();
        const std::string_view bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        const Converted<ByteText> gb = utf8ToGb18030(bytes);
        if (!gb.exact) continue;
        ++converted;
        const Converted<std::string> back = gb18030ToUtf8(gb.value);
        ASSERT_TRUE(back.exact && back.value == bytes) << "U+" << std::hex << unsigned(c);
    }
    EXPECT_GT(converted, 0x10F000);
}
