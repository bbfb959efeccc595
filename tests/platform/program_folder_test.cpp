#include "platform/program_folder.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <unistd.h>

#include <string>

#include "platform/log_file.h"
#include "platform_fixture.h"

namespace {

std::string currentDirectory() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? buffer : "";
}

TEST(ProgramFolderTest, IsTheFolderOfTheRunningProgram) {
    const std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_NE(folder.back(), '/');
    struct stat here;
    struct stat program;
    ASSERT_EQ(stat((folder + "/test_platform").c_str(), &program), 0) << folder;
    ASSERT_EQ(stat("/proc/self/exe", &here), 0);
    EXPECT_EQ(program.st_ino, here.st_ino);

    const std::string before = currentDirectory();
    ASSERT_EQ(chdir("/tmp"), 0);
    EXPECT_TRUE(enterProgramFolder());
    EXPECT_EQ(currentDirectory(), folder);
    ASSERT_EQ(chdir(before.c_str()), 0);
}

TEST(ProgramFolderTest, LogLiesBesideTheProgramUnderItsUtf8Name) {
    EXPECT_EQ(renameLogPath(),
              programFolder() +
                  "/\xE4\xB8\xB4\xE6\x97\xB6\xE6\x97\xA5\xE5\xBF\x97\xE6\x96\x87\xE4\xBB\xB6"
                  "\xEF\xBC\x8C\xE8\x8B\xA5\xE4\xB8\x8D\xE7\x94\xA8\xE8\xAF\xB7\xE5\x88\xA0"
                  "\xE9\x99\xA4\xE5\x8D\xB3\xE5\x8F\xAF.ini");
}

}  // namespace
