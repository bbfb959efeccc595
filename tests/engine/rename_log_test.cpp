#include "engine/rename_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "byte_text_printer.h"

namespace {

TEST(RenameLogLineTest, RecordThenCrLfWithLineBreaksEscaped) {
    const std::vector<std::pair<const char*, ByteSequence>> cases = {
        {"D:\\a.txt\xA1\xFA"
         "D:\\b.txt",
         "D:\\a.txt\xA1\xFA"
         "D:\\b.txt\r\n"},
        {"", "\r\n"},
        {"/d/a\rb", "/d/a\\rb\r\n"},
        {"/d/a\nb", "/d/a\\nb\r\n"},
        {"/d/a\r\n\xA1\xFA/d/b", "/d/a\\r\\n\xA1\xFA/d/b\r\n"},
        {"\n", "\\n\r\n"},
        // Byte by byte: an LF after a high byte is still escaped, not taken as a second byte.
        {"/d/\xB0\n", "/d/\xB0\\n\r\n"},
        {"/d/\xB0\r", "/d/\xB0\\r\r\n"},
        // Backslashes and two-byte characters pass unchanged.
        {"D:\\\xCE\xC4\\a", "D:\\\xCE\xC4\\a\r\n"},
    };
    for (const auto& [record, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(ByteText(record)));
        const ByteSequence line = renameLogLine(record);
        EXPECT_EQ(line, expected);
        // One attempt is exactly one line: its only CR and LF are the line end.
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
        EXPECT_EQ(std::count(line.begin(), line.end(), '\r'), 1);
    }
}

class FakeStore : public LogStore {
public:
    bool result = true;
    std::vector<ByteSequence> appended;
    bool append(const ByteSequence& line) override {
        appended.push_back(line);
        return result;
    }
};

TEST(AppendRenameLogTest, HandsTheStoreOneLine) {
    FakeStore store;
    appendRenameLog("/d/a\xA1\xFA/d/b", store);
    EXPECT_EQ(store.appended, std::vector<ByteSequence>{"/d/a\xA1\xFA/d/b\r\n"});
}

TEST(AppendRenameLogTest, AFailedWriteIsNotRetried) {
    FakeStore store;
    store.result = false;
    appendRenameLog("/d/a\n\xA1\xFA/d/b", store);
    EXPECT_EQ(store.appended, std::vector<ByteSequence>{"/d/a\\n\xA1\xFA/d/b\r\n"});
}

}  // namespace
