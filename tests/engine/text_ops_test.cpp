#include "engine/text_ops.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "byte_text_printer.h"

namespace {

// Two-byte characters of the code page used below: "文" CE C4, "件" BC FE.

TEST(ByteTextTest, ConstructionCutsAtTheFirstZeroByte) {
    EXPECT_EQ(ByteText(std::string_view("ab\0cd", 5)).bytes(), "ab");
    EXPECT_EQ(ByteText(std::string("ab\0cd", 5)).bytes(), "ab");
    EXPECT_EQ(ByteText(std::string_view("\0ab", 3)).bytes(), "");
    EXPECT_EQ(ByteText(std::string("\xB0\0\xA1", 3)).bytes(), "\xB0");
    EXPECT_EQ(ByteText(std::string_view("\xB0\xA1", 2)).bytes(), "\xB0\xA1");
}

TEST(ByteTextTest, AbsentAndEmptyAreTheSameValue) {
    const char* absent = nullptr;
    EXPECT_EQ(ByteText(absent), ByteText());
    EXPECT_EQ(ByteText(""), ByteText());
    EXPECT_TRUE(ByteText(absent).empty());
    EXPECT_EQ(ByteText(std::string_view()), ByteText(""));
}

TEST(ByteTextTest, CopiesAreIndependentValues) {
    ByteText original("abc");
    ByteText copy = original;
    copy = replaceAll(copy, "b", "x");
    EXPECT_EQ(original, ByteText("abc"));
    EXPECT_EQ(copy, ByteText("axc"));

    // Operations leave their arguments alone.
    const ByteText text("a.b");
    const ByteText delimiter(".");
    splitText(text, delimiter);
    concatText(text, delimiter);
    EXPECT_EQ(text, ByteText("a.b"));
    EXPECT_EQ(delimiter, ByteText("."));
}

struct SplitCase {
    const char* text;
    const char* delimiter;
    std::vector<std::string> pieces;
};

TEST(SplitTextTest, Cases) {
    const std::vector<SplitCase> cases = {
        {"", ".", {}},
        {"", "", {}},
        {"a.b.c", ".", {"a", "b", "c"}},
        {".a", ".", {"", "a"}},
        {"a..b", ".", {"a", "", "b"}},
        {"a.", ".", {"a"}},
        {".", ".", {""}},
        {"..", ".", {"", ""}},
        {"abc", ".", {"abc"}},
        {"abc", "", {"abc"}},
        {"abc", "abcd", {"abc"}},
        {"abc", "abc", {""}},
        {"D:\\a.txt\r\nD:\\b.txt\r\n", "\r\n", {"D:\\a.txt", "D:\\b.txt"}},
        {"ab--cd--", "--", {"ab", "cd"}},
        {"aaa", "aa", {"", "a"}},
        {"a.b", "A", {"a.b"}},  // exact comparison, no case folding
        // No match at a second byte: A1 A1 straddles the two characters B0 A1 and A1 B0.
        {"\xB0\xA1\xA1\xB0", "\xA1\xA1", {"\xB0\xA1\xA1\xB0"}},
        {"\xB0\xA1\xB0\xA2", "\xA1\xB0", {"\xB0\xA1\xB0\xA2"}},
        // Every byte from 0x80 up starts a two-byte character, 0x80 and 0xFF included,
        // so a "." right after one is its second byte.
        {"\x80.a", ".", {"\x80.a"}},
        {"\xFF.a.b", ".", {"\xFF.a", "b"}},
        {"\xB0..x", ".", {"\xB0.", "x"}},
        {"\xCE\xC4\xBC\xFE\xCE\xC4", "\xBC\xFE", {"\xCE\xC4", "\xCE\xC4"}},
        // A final lone high byte is a character of its own.
        {"a.\xB0", ".", {"a", "\xB0"}},
        {"a\xB0", "\xB0", {"a"}},
        {"a\xB0", "\xB0\xA1", {"a\xB0"}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(ByteText(c.text)) + " at " +
                     testing::PrintToString(ByteText(c.delimiter)));
        std::vector<ByteText> expected;
        for (const std::string& piece : c.pieces) expected.emplace_back(piece);
        EXPECT_EQ(splitText(c.text, c.delimiter), expected);
    }
}

struct ReplaceCase {
    const char* text;
    const char* from;
    const char* to;
    const char* expected;
};

TEST(ReplaceAllTest, Cases) {
    const std::vector<ReplaceCase> cases = {
        {"aaa", "aa", "b", "ba"},
        {"ABC", "abc", "x", "ABC"},
        {"abc", "", "x", "abc"},
        {"", "a", "x", ""},
        {"", "", "", ""},
        {"abcabc", "abc", "", ""},
        {"a.a.a", "a", "bb", "bb.bb.bb"},
        {"ab", "a", "aa", "aab"},  // an inserted replacement is not searched again
        {"abc", "abcd", "x", "abc"},
        {"\xB0\xA1\xA1\xB0", "\xA1\xA1", "x", "\xB0\xA1\xA1\xB0"},
        {"\x80"
         "aa",
         "a", "x",
         "\x80"
         "ax"},
        {"\xFF"
         "aa",
         "a", "x",
         "\xFF"
         "ax"},
        {"\xCE\xC4\xBC\xFE", "\xBC\xFE", "\xCE\xC4", "\xCE\xC4\xCE\xC4"},
        // A final lone high byte is kept, matched or not.
        {"ab\xB0", "b", "x", "ax\xB0"},
        {"ab\xB0", "zz", "x", "ab\xB0"},
        {"a\xB0", "\xB0", "x", "ax"},
        {"a\xB0", "\xB0\xA1", "x", "a\xB0"},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(ByteText(c.text)) + " from " +
                     testing::PrintToString(ByteText(c.from)) + " to " +
                     testing::PrintToString(ByteText(c.to)));
        EXPECT_EQ(replaceAll(c.text, c.from, c.to), ByteText(c.expected));
    }
}

struct FindCase {
    const char* text;
    const char* needle;
    bool ignoreCase;
    int32_t expected;
};

TEST(FindTextTest, Cases) {
    const std::vector<FindCase> cases = {
        {"Report.TXT", "txt", true, 8},
        {"Report.TXT", "txt", false, -1},
        {"Report.TXT", "TXT", false, 8},
        {"abc", "ABC", true, 1},
        {"a", "", true, 1},
        {"", "", true, -1},
        {"", "a", true, -1},
        {"ab", "abc", true, -1},
        {"a.b.c", ".", false, 2},
        {"AZ", "az", true, 1},
        {"@[", "`{", true, -1},              // the bytes next to A and Z are not letters
        {"\xC1\xC1", "\xE1\xE1", true, -1},  // only A-Z fold
        // Folding reaches second bytes: 41 is the second byte of 81 41.
        {"\x81\x41", "\x81\x61", true, 1},
        {"\x81\x41", "\x81\x61", false, -1},
        {"\xB0\xA1\xA1\xB0", "\xA1\xA1", true, -1},
        {"\xB0\xA1\xA1\xB0", "\xA1\xA1", false, -1},
        {"\xB0\xA1x", "x", false, 3},
        {"\x80xx", "x", false, 3},
        {"\xFFxx", "x", false, 3},
        {"x\xB0x", "\xB0", false, 2},
        {"ab\xB0", "\xB0", false, 3},
        {"a\xB0", "\xB0\xA1", false, -1},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(ByteText(c.needle)) + " in " +
                     testing::PrintToString(ByteText(c.text)) +
                     (c.ignoreCase ? " ignoring case" : ""));
        EXPECT_EQ(findText(c.text, c.needle, c.ignoreCase), c.expected);
    }
}

struct CutCase {
    bool fromLeft;
    const char* text;
    int32_t count;
    const char* expected;
};

TEST(LeftRightTextTest, Cases) {
    const std::vector<CutCase> cases = {
        {true, "abc", 0, ""},
        {true, "abc", -5, ""},
        {false, "abc", 0, ""},
        {false, "abc", -5, ""},
        {true, "abc", INT32_MIN, ""},
        {false, "abc", INT32_MIN, ""},
        {true, "abc", 2, "ab"},
        {true, "abc", 3, "abc"},
        {true, "abc", 5, "abc"},
        {true, "abc", INT32_MAX, "abc"},
        {false, "abc", 1, "c"},
        {false, "abc", 3, "abc"},
        {false, "abc", INT32_MAX, "abc"},
        {true, "", 1, ""},
        {false, "", 1, ""},
        // Cuts go by bytes and may halve a two-byte character.
        {true, "\xB0\xA1\xB0\xA2", 3, "\xB0\xA1\xB0"},
        {false, "a\xB0\xA1", 1, "\xA1"},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(std::string(c.fromLeft ? "leftText " : "rightText ") +
                     testing::PrintToString(ByteText(c.text)) + " " + std::to_string(c.count));
        const ByteText result = c.fromLeft ? leftText(c.text, c.count) : rightText(c.text, c.count);
        EXPECT_EQ(result, ByteText(c.expected));
    }
}

TEST(TextLengthTest, CountsBytes) {
    EXPECT_EQ(textLength(""), 0);
    EXPECT_EQ(textLength("abc"), 3);
    EXPECT_EQ(textLength("\xCE\xC4\xBC\xFE"), 4);
    EXPECT_EQ(textLength("a\xB0"), 2);
}

struct IntegerCase {
    const char* text;
    int32_t expected;
};

TEST(ToIntegerTest, Cases) {
    const std::vector<IntegerCase> cases = {
        {"", 0},
        {"abc", 0},
        {"  42abc", 42},
        {"\t\n\v\f\r 9", 9},
        {"-7", -7},
        {"+7", 7},
        {"0x10", 0},
        {"- 5", 0},
        {"--5", 0},
        {"+-5", 0},
        {"12 34", 12},
        {"007", 7},
        // Full-width forms fold onto ASCII first.
        {"\xA3\xB1\xA3\xB2", 12},
        {"\xA3\xB1"
         "2",
         12},
        {"\xA1\xA1"
         "5",
         5},
        {"\xA3\xAD\xA3\xB5", -5},
        {"\xA3\xAB"
         "3",
         3},
        {"\xA3\xA0"
         "5",
         0},  // A0 is below the folded range: not a space
        {"\xB0\xA1"
         "5",
         0},
        {"12\xA3", 12},  // a final lone high byte is dropped
        // 32-bit two's-complement wrap.
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MIN},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MAX},
        {"4294967297", 1},
        {"99999999999", 1215752191},
    };
    for (const IntegerCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(ByteText(c.text)));
        EXPECT_EQ(toInteger(c.text), c.expected);
    }
}

TEST(TruncateToIntegerTest, KeepsTheLowThirtyTwoBits) {
    const double twoTo31 = 2147483648.0;
    const double twoTo32 = 4294967296.0;
    const std::vector<std::pair<double, int32_t>> cases = {
        {2.0 * 3, 6},
        {2.0 * -3, -6},
        {2.0 * (twoTo31 - 1), -2},
        {2.5, 2},
        {-2.5, -2},
        {0.0, 0},
        {twoTo31, INT32_MIN},
        {-twoTo31, INT32_MIN},
        {-twoTo31 - 1, INT32_MAX},
        {twoTo32, 0},
        {twoTo32 + 5, 5},
        {3 - twoTo32, 3},
        {2 * twoTo32 - 2, -2},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(value));
        EXPECT_EQ(truncateToInteger(value), expected);
    }
}

struct CompareCase {
    ByteText a;
    ByteText b;
    int expected;
};

TEST(CompareTextTest, BytesCompareUnsigned) {
    const char* absent = nullptr;
    const std::vector<CompareCase> cases = {
        {ByteText(absent), "", 0},
        {"", "a", -1},
        {"a", "b", -1},
        {"ab", "a", 1},
        {"abc", "abc", 0},
        {"\xB0", "a", 1},
        {"\x80", "\x7F", 1},
        {"\xB0\xA1", "\xB0\xA2", -1},
    };
    for (const CompareCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.a) + " against " + testing::PrintToString(c.b));
        EXPECT_EQ(compareText(c.a, c.b), c.expected);
        EXPECT_EQ(compareText(c.b, c.a), -c.expected);
    }
}

TEST(ConcatTextTest, JoinsOperandsInOrder) {
    const char* absent = nullptr;
    EXPECT_EQ(concatText(ByteText(absent), ByteText("x")), ByteText("x"));
    EXPECT_EQ(concatText(ByteText(), ByteText(), ByteText()), ByteText());
    EXPECT_EQ(concatText(ByteText("a"), ByteText("\xB0"), ByteText("\xA1")), ByteText("a\xB0\xA1"));
    EXPECT_EQ(concatText(ByteText("D:\\p"), ByteText("\xA1\xFA"), ByteText("D:\\q")),
              ByteText("D:\\p\xA1\xFA"
                       "D:\\q"));
}

TEST(ByteSequenceTest, ToBytesAndConcatBytes) {
    EXPECT_EQ(toBytes("ab"), ByteSequence("ab"));
    EXPECT_EQ(toBytes("ab").size(), 2u);
    EXPECT_TRUE(toBytes("").empty());
    EXPECT_TRUE(concatBytes(ByteSequence(), ByteSequence()).empty());
    // Byte sequences may hold the byte 0; nothing cuts them there.
    const ByteSequence withZero("a\0b", 3);
    EXPECT_EQ(concatBytes(withZero, ByteSequence("\r\n")), ByteSequence("a\0b\r\n", 5));
}

}  // namespace
