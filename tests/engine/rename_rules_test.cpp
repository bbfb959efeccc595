#include "engine/rename_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "byte_text_printer.h"

namespace {

using M = RenameMode;
using O = RuleOutcome;

const char* modeName(RenameMode mode) {
    switch (mode) {
        case M::NoMode:
            return "NoMode";
        case M::AddPrefix:
            return "AddPrefix";
        case M::AddSuffix:
            return "AddSuffix";
        case M::ReplaceText:
            return "ReplaceText";
        case M::SplitKeepFront:
            return "SplitKeepFront";
        case M::SplitKeepBack:
            return "SplitKeepBack";
        case M::KeywordWithFront:
            return "KeywordWithFront";
        case M::KeywordWithBack:
            return "KeywordWithBack";
        case M::InsertFromFront:
            return "InsertFromFront";
        case M::InsertFromBack:
            return "InsertFromBack";
    }
    return "?";
}

struct RuleCase {
    const char* name;
    const char* path;
    RenameMode mode;
    const char* primary;
    const char* secondary;
    RuleOutcome outcome;
    const char* newPath;  // only for NewPath
};

void runCases(const std::vector<RuleCase>& cases) {
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(std::string(modeName(c.mode)) +
                     " P=" + testing::PrintToString(ByteText(c.primary)) +
                     " S=" + testing::PrintToString(ByteText(c.secondary)) + " on (" +
                     testing::PrintToString(ByteText(c.name)) + ", " +
                     testing::PrintToString(ByteText(c.path)) + ")");
        const RuleResult result = applyRenameRule(FileRow{c.name, c.path},
                                                  RenameSettings{c.mode, c.primary, c.secondary});
        EXPECT_EQ(result.outcome, c.outcome);
        if (c.outcome == O::NewPath) {
            EXPECT_EQ(result.newPath, ByteText(c.newPath));
        } else {
            EXPECT_TRUE(result.newPath.empty());
        }
    }
}

TEST(BaseNameTest, FirstPieceAtDot) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"a.b.txt", "a"}, {"trip.jpg", "trip"},   {".htaccess", ""}, {"abc", "abc"},
        {"", ""},         {"\xB0.x.y", "\xB0.x"},  // the first "." is the second byte of B0 2E
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(ByteText(name)));
        EXPECT_EQ(baseName(name), ByteText(expected));
    }
}

TEST(ApplyRenameRuleTest, PrefixSuffixAndReplace) {
    runCases({
        // The whole path is searched: folders and the extension change too.
        {"trip.jpg", "D:\\trip\\trip.jpg", M::AddPrefix, "2017_", "", O::NewPath,
         "D:\\2017_trip\\2017_trip.jpg"},
        {"a.txt", "D:\\data\\a.txt", M::AddPrefix, "x", "", O::NewPath, "D:\\dxatxa\\xa.txt"},
        {"trip.jpg", "D:\\Trip\\trip.jpg", M::AddSuffix, "_x", "", O::NewPath,
         "D:\\Trip\\trip_x.jpg"},
        {"ab.ab", "D:\\ab.ab", M::AddSuffix, "1", "", O::NewPath, "D:\\ab1.ab1"},
        {"a.b.txt", "/data/a.b.txt", M::AddSuffix, "1", "", O::NewPath, "/da1ta1/a1.b.txt"},
        {"old.txt", "D:\\old\\old.txt", M::ReplaceText, "old", "new", O::NewPath,
         "D:\\new\\new.txt"},
        {"old.txt", "D:\\old\\old.txt", M::ReplaceText, "zzz", "new", O::NewPath,
         "D:\\old\\old.txt"},
        {"old.txt", "D:\\old\\old.txt", M::ReplaceText, "OLD", "new", O::NewPath,
         "D:\\old\\old.txt"},
        {"old.txt", "D:\\old\\old.txt", M::ReplaceText, "old", "", O::NewPath, "D:\\\\.txt"},
        // ReplaceText ignores the base name.
        {"a.txt", "D:\\q\\b.txt", M::ReplaceText, "q", "r", O::NewPath, "D:\\r\\b.txt"},
    });
}

TEST(ApplyRenameRuleTest, KeywordModes) {
    runCases({
        {"IMG-001.jpg", "D:\\p\\IMG-001.jpg", M::SplitKeepFront, "-", "", O::NewPath,
         "D:\\p\\IMG.jpg"},
        {"IMG-001.jpg", "D:\\p\\IMG-001.jpg", M::SplitKeepBack, "-", "", O::NewPath,
         "D:\\p\\001.jpg"},
        {"IMG-001.jpg", "D:\\p\\IMG-001.jpg", M::KeywordWithFront, "-", "", O::NewPath,
         "D:\\p\\IMG-.jpg"},
        {"IMG-001.jpg", "D:\\p\\IMG-001.jpg", M::KeywordWithBack, "-", "", O::NewPath,
         "D:\\p\\-001.jpg"},
        // The second piece alone, not the rest after the first keyword.
        {"a-b-c.txt", "D:\\p\\a-b-c.txt", M::SplitKeepBack, "-", "", O::NewPath, "D:\\p\\b.txt"},
        {"a-b-c.txt", "D:\\p\\a-b-c.txt", M::KeywordWithBack, "-", "", O::NewPath, "D:\\p\\-b.txt"},
        // A keyword the base name lacks.
        {"photo.jpg", "D:\\p\\photo.jpg", M::SplitKeepFront, "-", "", O::NewPath,
         "D:\\p\\photo.jpg"},
        {"photo.jpg", "D:\\p\\photo.jpg", M::KeywordWithFront, "-", "", O::NewPath,
         "D:\\p\\photo-.jpg"},
        {"photo.jpg", "D:\\p\\photo.jpg", M::SplitKeepBack, "-", "", O::OutsideLimits, ""},
        {"photo.jpg", "D:\\p\\photo.jpg", M::KeywordWithBack, "-", "", O::OutsideLimits, ""},
        // An empty first piece removes the base name wherever it occurs.
        {"xa.txt", "D:\\p\\xa.txt", M::SplitKeepFront, "x", "", O::NewPath, "D:\\p\\.txt"},
        {"-abc.txt", "D:\\p\\-abc.txt", M::SplitKeepBack, "-", "", O::NewPath, "D:\\p\\abc.txt"},
        // A keyword only at the very end gives no second piece.
        {"abc-.txt", "D:\\p\\abc-.txt", M::SplitKeepBack, "-", "", O::OutsideLimits, ""},
        {"abc-.txt", "D:\\p\\abc-.txt", M::KeywordWithBack, "-", "", O::OutsideLimits, ""},
        {"abc-.txt", "D:\\p\\abc-.txt", M::SplitKeepFront, "-", "", O::NewPath, "D:\\p\\abc.txt"},
        // A keyword never matches at a second byte: A1 A1 straddles B0 A1 | A1 B0.
        {"\xB0\xA1\xA1\xB0.txt", "D:\\\xB0\xA1\xA1\xB0.txt", M::SplitKeepBack, "\xA1\xA1", "",
         O::OutsideLimits, ""},
        {"\xCE\xC4-\xBC\xFE.txt", "D:\\\xCE\xC4-\xBC\xFE.txt", M::SplitKeepBack, "-", "",
         O::NewPath, "D:\\\xBC\xFE.txt"},
    });
}

TEST(ApplyRenameRuleTest, InsertionModes) {
    const char* name = "abcdef.txt";
    const char* path = "D:\\p\\abcdef.txt";
    runCases({
        {name, path, M::InsertFromFront, "+", "1", O::NewPath, "D:\\p\\ab+cdef.txt"},
        {name, path, M::InsertFromFront, "+", "0", O::NewPath, "D:\\p\\+abcdef.txt"},
        {name, path, M::InsertFromFront, "+", "", O::NewPath, "D:\\p\\+abcdef.txt"},
        {name, path, M::InsertFromFront, "+", "-1", O::NewPath, "D:\\p\\+abcdef.txt"},
        {name, path, M::InsertFromFront, "+", "3", O::NewPath, "D:\\p\\abcdef+.txt"},
        {name, path, M::InsertFromFront, "+", "5", O::NewPath, "D:\\p\\abcdef+.txt"},
        {name, path, M::InsertFromFront, "+", "\xA3\xB2", O::NewPath, "D:\\p\\abcd+ef.txt"},
        {name, path, M::InsertFromBack, "+", "1", O::NewPath, "D:\\p\\abcd+ef.txt"},
        {name, path, M::InsertFromBack, "+", "0", O::NewPath, "D:\\p\\abcdef+.txt"},
        {name, path, M::InsertFromBack, "+", "-1", O::NewPath, "D:\\p\\abcdef+.txt"},
        {name, path, M::InsertFromBack, "+", "3", O::NewPath, "D:\\p\\+abcdef.txt"},
        {name, path, M::InsertFromBack, "+", "4", O::NewPath, "D:\\p\\+abcdef.txt"},
        // The position counts two-byte characters, and may split one.
        {"\xCE\xC4\xBC\xFE.txt", "D:\\\xCE\xC4\xBC\xFE.txt", M::InsertFromFront, "+", "1",
         O::NewPath, "D:\\\xCE\xC4+\xBC\xFE.txt"},
        {"a\xCE\xC4\xBC\xFE.txt", "D:\\a\xCE\xC4\xBC\xFE.txt", M::InsertFromFront, "+", "1",
         O::NewPath, "D:\\a\xCE+\xC4\xBC\xFE.txt"},
    });
}

TEST(ApplyRenameRuleTest, InsertionCountsWrapAtThirtyTwoBits) {
    const char* name = "abc.txt";
    const char* path = "D:\\abc\\abc.txt";
    runCases({
        // 2^30 doubled is 2^31: both counts wrap negative, so P alone replaces the base name.
        {name, path, M::InsertFromFront, "+", "1073741824", O::NewPath, "D:\\+\\+.txt"},
        {name, path, M::InsertFromBack, "+", "1073741824", O::NewPath, "D:\\+\\+.txt"},
        {name, path, M::InsertFromFront, "+", "-1073741824", O::NewPath, "D:\\+\\+.txt"},
        {name, path, M::InsertFromBack, "+", "-1073741824", O::NewPath, "D:\\+\\+.txt"},
        // One below: no wrap yet, the point lies beyond the end.
        {name, path, M::InsertFromFront, "+", "1073741823", O::NewPath, "D:\\abc+\\abc+.txt"},
        {name, path, M::InsertFromBack, "+", "1073741823", O::NewPath, "D:\\+abc\\+abc.txt"},
        // 2^31 - 1 doubled keeps -2 in its low bits; len - 2n wraps to len + 2.
        {name, path, M::InsertFromFront, "+", "2147483647", O::NewPath, "D:\\+abc\\+abc.txt"},
        {name, path, M::InsertFromBack, "+", "2147483647", O::NewPath, "D:\\abc+\\abc+.txt"},
    });
}

TEST(ApplyRenameRuleTest, EmptyBaseName) {
    const char* name = ".htaccess";
    const char* path = "D:\\p\\.htaccess";
    runCases({
        {name, path, M::AddPrefix, "x", "", O::NewPath, path},
        {name, path, M::AddSuffix, "x", "", O::NewPath, path},
        {name, path, M::InsertFromFront, "x", "1", O::NewPath, path},
        {name, path, M::InsertFromBack, "x", "1", O::NewPath, path},
        {name, path, M::ReplaceText, "ht", "HT", O::NewPath, "D:\\p\\.HTaccess"},
        {name, path, M::SplitKeepFront, "-", "", O::OutsideLimits, ""},
        {name, path, M::SplitKeepBack, "-", "", O::OutsideLimits, ""},
        {name, path, M::KeywordWithFront, "-", "", O::OutsideLimits, ""},
        {name, path, M::KeywordWithBack, "-", "", O::OutsideLimits, ""},
    });
}

TEST(ApplyRenameRuleTest, EmptyPrimaryText) {
    const char* name = "trip.jpg";
    const char* path = "D:\\trip\\trip.jpg";
    runCases({
        {name, path, M::AddPrefix, "", "", O::NewPath, path},
        {name, path, M::AddSuffix, "", "", O::NewPath, path},
        {name, path, M::ReplaceText, "", "x", O::NewPath, path},
        {name, path, M::SplitKeepFront, "", "", O::NewPath, path},
        {name, path, M::KeywordWithFront, "", "", O::NewPath, path},
        {name, path, M::SplitKeepBack, "", "", O::OutsideLimits, ""},
        {name, path, M::KeywordWithBack, "", "", O::OutsideLimits, ""},
        {name, path, M::InsertFromFront, "", "1", O::NewPath, path},
    });
}

TEST(ApplyRenameRuleTest, NameIsTestedBeforeTheMode) {
    runCases({
        {"a.txt", "D:\\a.txt", M::NoMode, "x", "y", O::NoMode, ""},
        {"..", "D:\\..", M::NoMode, "", "", O::NoMode, ""},
        {"a.txt", "D:\\a.txt", M::NoMode, "", "", O::NoMode, ""},
        // Fewer than two pieces at ".": outside the limits whatever the mode.
        {"abc", "D:\\abc", M::NoMode, "x", "", O::OutsideLimits, ""},
        {"", "D:\\folder", M::NoMode, "x", "", O::OutsideLimits, ""},
        {"a.", "D:\\a.", M::NoMode, "x", "", O::OutsideLimits, ""},
        {".", "D:\\.", M::NoMode, "x", "", O::OutsideLimits, ""},
        {"abc", "D:\\abc", M::AddPrefix, "x", "", O::OutsideLimits, ""},
        {"", "D:\\folder", M::ReplaceText, "D", "E", O::OutsideLimits, ""},
        {"a.", "D:\\a.", M::InsertFromFront, "x", "1", O::OutsideLimits, ""},
        // The only "." is the second byte of a two-byte character (0x80 and 0xFF lead too).
        {"\xB0.txt", "D:\\\xB0.txt", M::AddPrefix, "x", "", O::OutsideLimits, ""},
        {"\x80.txt", "D:\\\x80.txt", M::AddPrefix, "x", "", O::OutsideLimits, ""},
        {"\xFF.txt", "D:\\\xFF.txt", M::AddPrefix, "x", "", O::OutsideLimits, ""},
        {"\xB0.a.txt", "D:\\\xB0.a.txt", M::AddSuffix, "1", "", O::NewPath, "D:\\\xB0.a1.txt"},
        {"\xFF.a.txt", "D:\\\xFF.a.txt", M::AddSuffix, "1", "", O::NewPath, "D:\\\xFF.a1.txt"},
    });
}

}  // namespace
