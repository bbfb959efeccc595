#include "platform/log_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform_fixture.h"

namespace {

// A record line in the program's code page, and the same line as it lies on disk.
const std::string kLine = "/d/\xCE\xC4.txt\xA1\xFA/d/x_\xCE\xC4.txt\r\n";
const std::string kLineOnDisk = "/d/\xE6\x96\x87.txt\xE2\x86\x92/d/x_\xE6\x96\x87.txt\r\n";

class LogFileTest : public testing::Test {
protected:
    TempFolder temp;
    const std::string logPath = temp.path("\xE6\x97\xA5\xE5\xBF\x97.ini");
};

TEST_F(LogFileTest, FirstAppendCreatesTheFileWithOneUtf8Line) {
    RenameLogFile log(logPath);
    EXPECT_TRUE(log.append(kLine));
    EXPECT_EQ(TempFolder::readFile(logPath), kLineOnDisk);
}

TEST_F(LogFileTest, AppendLeavesEarlierBytesAsTheyAre) {
    const std::vector<std::string> earlier = {
        "",
        "one line\r\n",
        "a last line without its end",
        "bytes that are not UTF-8 \xFF\xFE and GB18030 \xA1\xFA\r\n",
        std::string("\0zero\0", 6),
    };
    for (const std::string& before : earlier) {
        ASSERT_TRUE(TempFolder::writeFile(logPath, before));
        RenameLogFile log(logPath);
        EXPECT_TRUE(log.append(kLine));
        EXPECT_TRUE(log.append("second\r\n"));
        EXPECT_EQ(TempFolder::readFile(logPath), before + kLineOnDisk + "second\r\n");
    }
}

TEST_F(LogFileTest, UndecodableBytesAreKeptAsReplacementCharacters) {
    RenameLogFile log(logPath);
    EXPECT_TRUE(log.append("/d/\xFF\xA1\xFA/d/\x81\r\n"));
    EXPECT_EQ(TempFolder::readFile(logPath), "/d/\xEF\xBF\xBD\xE2\x86\x92/d/\xEF\xBF\xBD\r\n");
}

TEST_F(LogFileTest, LogThatCannotBeWrittenFailsQuietly) {
    temp.folder("is_a_folder");
    const std::string fifo = temp.path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& path :
         {temp.path("is_a_folder"), temp.path("missing/log.ini"), fifo, std::string()}) {
        RenameLogFile log(path);
        EXPECT_FALSE(log.append(kLine)) << path;  // a FIFO without reader must not hang
    }
    EXPECT_FALSE(TempFolder::exists(temp.path("missing")));
}

TEST_F(LogFileTest, ReadOnlyFolderOrFileFailsQuietly) {
    chmod(temp.root().c_str(), 0755);
    const std::string readOnly = temp.folder("read_only", 0755);
    const std::string existing = temp.file("read_only/existing.ini", "kept\r\n");
    chmod(existing.c_str(), 0444);
    chmod(readOnly.c_str(), 0555);
    const int result = runInChild(
        [&] {
            RenameLogFile created(readOnly + "/new.ini");
            RenameLogFile appended(existing);
            return !created.append(kLine) && !appended.append(kLine) ? 0 : 1;
        },
        true);
    chmod(readOnly.c_str(), 0755);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(TempFolder::exists(readOnly + "/new.ini"));
    EXPECT_EQ(TempFolder::readFile(existing), "kept\r\n");
}

// A log at the file size limit loses the record, never the process or a byte written before.
TEST_F(LogFileTest, FileSizeLimitCutsTheBrokenLineBack) {
    const std::string before = "earlier record\r\nlast line without end";
    for (const rlim_t room : {rlim_t{0}, rlim_t{5}}) {
        ASSERT_TRUE(TempFolder::writeFile(logPath, before));
        const int result = runInChild([&] {
            ignoreFileSizeSignal();
            const rlimit limit{before.size() + room, before.size() + room};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
            RenameLogFile log(logPath);
            return log.append(kLine) ? 1 : 0;
        });
        EXPECT_EQ(result, 0) << "room " << room << " (-1: killed by a signal)";
        EXPECT_EQ(TempFolder::readFile(logPath), before) << "room " << room;
    }
}

}  // namespace
