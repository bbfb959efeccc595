#include "platform/rename_file.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform_fixture.h"

namespace {

// Every entry below the folder with its bytes ("<dir>" for a folder): what must not change
// when a rename fails.
using Snapshot = std::map<std::string, std::string>;

void snapshot(const std::string& folder, const std::string& prefix, Snapshot& out) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string full = folder + "/" + name;
        struct stat info;
        lstat(full.c_str(), &info);
        if (S_ISDIR(info.st_mode)) {
            out[prefix + name] = "<dir>";
            snapshot(full, prefix + name + "/", out);
        } else {
            out[prefix + name] = TempFolder::readFile(full).value_or("<unreadable>");
        }
    }
    closedir(dir);
}

Snapshot snapshot(const TempFolder& temp) {
    Snapshot out;
    snapshot(temp.root(), "", out);
    return out;
}

// A file system tree every case starts from.
void makeTree(const TempFolder& temp) {
    temp.file("a.txt", "contents of a");
    temp.file("b.txt", "contents of b");
    temp.folder("dir");
    temp.folder("other");
    temp.file("other/inside", "inside");
    temp.file("\xE6\x96\x87\xE4\xBB\xB6", "cjk");  // 文件
}

// The snapshot after a move: every key at or below `from` now lies at or below `to`.
Snapshot moved(const Snapshot& before, const std::string& from, const std::string& to) {
    Snapshot after;
    for (const auto& [key, contents] : before) {
        const bool below = key == from || key.rfind(from + "/", 0) == 0;
        after[below ? to + key.substr(from.size()) : key] = contents;
    }
    return after;
}

TEST(RenameFileTest, MovesTheEntryInOneStep) {
    struct Case {
        std::string from, to;              // the program's texts (GB18030)
        std::string fromOnDisk, toOnDisk;  // the names the OS holds (UTF-8)
    };
    const std::vector<Case> cases = {
        {"a.txt", "c.txt", "a.txt", "c.txt"},
        {"a.txt", "dir/a.txt", "a.txt", "dir/a.txt"},
        {"\xCE\xC4\xBC\xFE", "\xCE\xC4\xBC\xFE.bak", "\xE6\x96\x87\xE4\xBB\xB6",
         "\xE6\x96\x87\xE4\xBB\xB6.bak"},
        {"a.txt", "\xA1\xFA", "a.txt", "\xE2\x86\x92"},
        {"other", "renamed", "other", "renamed"},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        makeTree(temp);
        const Snapshot expected = moved(snapshot(temp), c.fromOnDisk, c.toOnDisk);
        EXPECT_TRUE(renameFile(ByteText(temp.path(c.from)), ByteText(temp.path(c.to))))
            << c.toOnDisk;
        EXPECT_EQ(snapshot(temp), expected) << c.toOnDisk;
    }
}

TEST(RenameFileTest, FailsAndChangesNothing) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a.txt", "b.txt"},          // the target exists
        {"a.txt", "dir"},            // the target is a folder
        {"other", "dir"},            // a folder onto an empty folder
        {"a.txt", "a.txt"},          // onto itself
        {"a.txt", "missing/a.txt"},  // the target's folder does not exist
        {"a.txt", "b.txt/a.txt"},    // the target's folder is a file
        {"missing", "c.txt"},        // no such entry
        {"a.txt", "bad\x81"},        // not a GB18030 text: no valid path
        {"a.txt", "\xFF"},
        {"\xCE\xC4\xBC", "c.txt"},  // a cut character names no file either
    };
    for (const auto& [from, to] : cases) {
        TempFolder temp;
        makeTree(temp);
        const Snapshot before = snapshot(temp);
        EXPECT_FALSE(renameFile(ByteText(temp.path(from)), ByteText(temp.path(to))))
            << testing::PrintToString(ByteText(to));
        EXPECT_EQ(snapshot(temp), before) << testing::PrintToString(ByteText(to));
    }
    TempFolder temp;
    makeTree(temp);
    const Snapshot before = snapshot(temp);
    EXPECT_FALSE(renameFile(ByteText(), ByteText(temp.path("c.txt"))));
    EXPECT_FALSE(renameFile(ByteText(temp.path("a.txt")), ByteText()));
    EXPECT_EQ(snapshot(temp), before);
}

// Fakes for a file system that does not know RENAME_NOREPLACE.
int renameErrno = EINVAL;
int linkError = 0;           // 0: the real link
std::string refuseUnlinkOf;  // the path whose unlink fails
int linkCalls = 0;

int fakeRename(const char*, const char*) {
    errno = renameErrno;
    return -1;
}
int fakeLink(const char* from, const char* to) {
    ++linkCalls;
    if (linkError != 0) {
        errno = linkError;
        return -1;
    }
    return ::link(from, to);
}
int fakeUnlink(const char* path) {
    if (path == refuseUnlinkOf) {
        errno = EBUSY;
        return -1;
    }
    return ::unlink(path);
}
int realLstat(const char* path, struct stat* info) {
    return ::lstat(path, info);
}

const RenameCalls kFallbackCalls{fakeRename, fakeLink, fakeUnlink, realLstat};

class RenameFallbackTest : public testing::Test {
protected:
    void SetUp() override {
        makeTree(temp);
        renameErrno = EINVAL;
        linkError = 0;
        refuseUnlinkOf.clear();
        linkCalls = 0;
    }
    bool rename(const std::string& from, const std::string& to) {
        return renameOsPath(temp.path(from).c_str(), temp.path(to).c_str(), kFallbackCalls);
    }
    TempFolder temp;
};

TEST_F(RenameFallbackTest, LinkThenUnlinkMovesAFile) {
    for (const int error : {EINVAL, ENOSYS}) {
        renameErrno = error;
        const Snapshot expected = moved(snapshot(temp), "a.txt", "dir/moved");
        EXPECT_TRUE(rename("a.txt", "dir/moved"));
        EXPECT_EQ(snapshot(temp), expected);
        ASSERT_TRUE(rename("dir/moved", "a.txt"));
    }
}

TEST_F(RenameFallbackTest, FailsAndChangesNothing) {
    struct Case {
        const char* what;
        std::string from, to;
        int linkError;
        bool refuseUnlinkOfSource;
    };
    const std::vector<Case> cases = {
        {"target exists", "a.txt", "b.txt", 0, false},
        {"target is a folder", "a.txt", "dir", 0, false},
        {"a folder cannot be linked", "other", "moved", 0, false},
        {"link fails too (exFAT)", "a.txt", "c.txt", EPERM, false},
        {"the old name cannot be removed", "a.txt", "c.txt", 0, true},
        {"no such entry", "missing", "c.txt", 0, false},
    };
    const Snapshot before = snapshot(temp);
    for (const Case& c : cases) {
        linkError = c.linkError;
        refuseUnlinkOf = c.refuseUnlinkOfSource ? temp.path(c.from) : "";
        EXPECT_FALSE(rename(c.from, c.to)) << c.what;
        EXPECT_EQ(snapshot(temp), before) << c.what;
    }
}

TEST_F(RenameFallbackTest, OtherFailuresAreFinal) {
    const Snapshot before = snapshot(temp);
    for (const int error : {EEXIST, EXDEV, EACCES, EBUSY, ENOENT}) {
        renameErrno = error;
        EXPECT_FALSE(rename("a.txt", "c.txt")) << error;
    }
    EXPECT_EQ(linkCalls, 0);
    EXPECT_EQ(snapshot(temp), before);
}

}  // namespace
