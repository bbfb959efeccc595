#include "filelist/folder_scan.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../common/temp_folder.h"
#include "filelist/file_list.h"
#include "list_rows.h"
#include "platform/code_page.h"

namespace {

Rows sorted(Rows rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The rows a scan of folder must give when every file matches: the folder's files in readdir
// order, then each subfolder not starting with "." in readdir order, depth first.
void depthFirst(const std::string& folder, Rows& rows) {
    for (const std::string& name : readdirNames(folder, false)) {
        rows.emplace_back(name, folder + "/" + name);
    }
    for (const std::string& name : readdirNames(folder, true)) {
        if (name[0] != '.') depthFirst(folder + "/" + name, rows);
    }
}

ByteText gb(const std::string& utf8) {
    return utf8ToGb18030(utf8).value;
}

// The window as the scan sees it: a mark, a pump that counts (and may run a nested handler)
// and a stop request that comes after a given number of pumps.
class FakeHooks : public ScanHooks {
public:
    ByteText mark;
    int pumps = 0;
    int markReads = 0;
    int stopAtPump = 0;                   // 0: never
    std::function<void(int)> onPump;      // gets the pump's number, from 1
    std::function<ByteText(int)> markAt;  // gets the read's number, from 1

    ByteText markText() override {
        ++markReads;
        return markAt ? markAt(markReads) : mark;
    }
    void processPendingEvents() override {
        ++pumps;
        if (onPump) onPump(pumps);
    }
    bool stopRequested() override { return stopAtPump > 0 && pumps >= stopAtPump; }
};

Rows scan(const std::string& folder, FakeHooks& hooks) {
    FileList list;
    scanFolder(ByteText(folder), list, hooks);
    return rowsOf(list);
}

Rows scan(const std::string& folder) {
    FakeHooks hooks;
    return scan(folder, hooks);
}

class FolderScan : public testing::Test {
protected:
    TempFolder tree;
};

TEST_F(FolderScan, ListsFilesDepthFirstInTheFileSystemsOrder) {
    for (const char* name : {"a", "b.txt", "c"}) tree.file(name);
    tree.folder("s");
    tree.file("s/d");
    tree.folder("s/u");
    tree.file("s/u/e");
    tree.file("s/f");
    tree.folder("t");
    tree.file("t/g");
    tree.folder("empty");

    Rows expected;
    depthFirst(tree.root(), expected);
    ASSERT_EQ(expected.size(), 7u);
    EXPECT_EQ(scan(tree.root()), expected);
    EXPECT_EQ(scan(tree.root() + "/"), expected) << "a trailing separator changes nothing";
}

TEST_F(FolderScan, MatchesTheMarkInTheWholeNameIgnoringAsciiCase) {
    for (const char* name : {"a.txt", "B.Txt.bak", "readme", "TXTfile", "t.xt", "Ä.txt", "ä"}) {
        tree.file(name);
    }
    const std::string r = tree.root() + "/";
    const auto row = [&](const std::string& name) {
        return std::make_pair(gb(name).bytes(), gb(r + name).bytes());
    };
    struct MarkCase {
        std::string mark;  // UTF-8
        Rows rows;
    };
    const MarkCase cases[] = {
        {"TXT", {row("a.txt"), row("B.Txt.bak"), row("TXTfile"), row("Ä.txt")}},
        {"txt.BAK", {row("B.Txt.bak")}},
        {".xt", {row("t.xt")}},
        {"A", {row("a.txt"), row("B.Txt.bak"), row("readme")}},
        // Only A to Z fold: "ä" finds itself, not "Ä".
        {"ä", {row("ä")}},
        {"zzz", {}},
        {"",
         {row("a.txt"), row("B.Txt.bak"), row("readme"), row("TXTfile"), row("t.xt"), row("Ä.txt"),
          row("ä")}},
    };
    for (const MarkCase& c : cases) {
        FakeHooks hooks;
        hooks.mark = gb(c.mark);
        EXPECT_EQ(sorted(scan(tree.root(), hooks)), sorted(c.rows)) << "mark " << c.mark;
    }
}

TEST_F(FolderScan, SkipsFoldersStartingWithADotButListsDotFiles) {
    tree.file(".profile");
    tree.folder(".cache");
    tree.file(".cache/inside");
    tree.folder("s");
    tree.folder("s/.git");
    tree.file("s/.git/config");
    tree.file("s/kept");
    EXPECT_EQ(sorted(scan(tree.root())),
              sorted({{".profile", tree.path(".profile")}, {"kept", tree.path("s/kept")}}));
}

TEST_F(FolderScan, PumpsOnceForEveryFileNameCollected) {
    // Files that do not match are collected too; folders and skipped folders are not.
    for (const char* folder : {"s", "s/u", ".cache"}) tree.folder(folder);
    for (const char* file : {"a", "b", "s/c", "s/d", "s/u/e", ".cache/f"}) tree.file(file);
    FakeHooks hooks;
    hooks.mark = "zzz";
    EXPECT_TRUE(scan(tree.root(), hooks).empty());
    EXPECT_EQ(hooks.pumps, 5);

    FakeHooks all;
    EXPECT_EQ(scan(tree.root(), all).size(), 5u);
    EXPECT_EQ(all.pumps, 5);
    EXPECT_EQ(all.markReads, 5) << "the mark is read once for every name tested";
}

TEST_F(FolderScan, ReadsTheMarkAnewForEveryName) {
    for (const char* name : {"x1", "x2", "x3"}) tree.file(name);
    FakeHooks hooks;
    // The first name tested meets the empty mark, every later one a mark nothing holds.
    hooks.markAt = [](int read) { return read == 1 ? ByteText() : ByteText("nothing"); };
    const Rows rows = scan(tree.root(), hooks);
    const std::string first = readdirNames(tree.root(), false).front();
    EXPECT_EQ(rows, (Rows{{first, tree.path(first)}}));
    EXPECT_EQ(hooks.markReads, 3);
}

TEST_F(FolderScan, EndsWhenAStopIsRequested) {
    tree.file("a");
    tree.folder("s");
    tree.file("s/b");
    tree.folder("s/u");
    tree.file("s/u/c");
    tree.folder("t");
    tree.file("t/d");
    struct StopCase {
        int stopAtPump;
        Rows rows;
    };
    // The first pump is a's; the second is the first name of the next folder.
    const StopCase cases[] = {
        {1, {}},
        {2, {{"a", tree.path("a")}}},
    };
    for (const StopCase& c : cases) {
        FakeHooks hooks;
        hooks.stopAtPump = c.stopAtPump;
        EXPECT_EQ(scan(tree.root(), hooks), c.rows) << "stop at pump " << c.stopAtPump;
        EXPECT_EQ(hooks.pumps, c.stopAtPump) << "nothing is collected after the stop";
    }
}

TEST_F(FolderScan, AFolderThatCannotBeListedGivesNothing) {
    const std::string file = tree.file("plain.txt");
    for (const std::string& folder :
         {tree.path("missing"), tree.path("missing/"), file, file + "/"}) {
        FakeHooks hooks;
        EXPECT_TRUE(scan(folder, hooks).empty()) << folder;
        EXPECT_EQ(hooks.pumps, 0) << folder;
    }
}

TEST_F(FolderScan, DoesNotEnterLinksToFolders) {
    tree.folder("s");
    tree.file("s/c");
    tree.link("s/back", "..");  // a loop: s/back/s/back/...
    tree.link("to_s", "s");
    tree.link("to_c", "s/c");
    tree.link("dangling", "nowhere");
    const Rows rows = scan(tree.root());
    // Whatever the dangling link gives, every row appears once and s/c is reached only once.
    EXPECT_EQ(
        std::count(rows.begin(), rows.end(), std::make_pair(std::string("c"), tree.path("s/c"))),
        1);
    for (const auto& row : rows) {
        EXPECT_EQ(std::count(rows.begin(), rows.end(), row), 1) << row.second;
        EXPECT_EQ(row.second.find("/back/"), std::string::npos) << row.second;
        EXPECT_EQ(row.second.find("/to_s/"), std::string::npos) << row.second;
    }
    EXPECT_NE(
        std::find(rows.begin(), rows.end(), std::make_pair(std::string("to_c"), tree.path("to_c"))),
        rows.end())
        << "a link to a file is listed like the file";
}

TEST_F(FolderScan, LeavesOutNamesThatAreNotUtf8) {
    tree.file("bad\xff");
    tree.file("good");
    tree.folder("dir\xfe");
    tree.file("dir\xfe/inside");
    tree.file("line\nbreak.txt");
    EXPECT_EQ(
        sorted(scan(tree.root())),
        sorted({{"good", tree.path("good")}, {"line\nbreak.txt", tree.path("line\nbreak.txt")}}));
}

TEST_F(FolderScan, GivesCjkNamesInTheProgramsCodePage) {
    tree.folder("文件夹");
    tree.file("文件夹/照片.jpg");
    EXPECT_EQ(scan(tree.root()),
              (Rows{{gb("照片.jpg").bytes(), gb(tree.path("文件夹/照片.jpg")).bytes()}}));
}

TEST_F(FolderScan, AChainDeeperThanThePathLimitEndsSilently) {
    tree.file("top");
    tree.folder("deep");
    const std::string link(250, 'd');
    int fd = open(tree.path("deep").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    std::string deepest = tree.path("deep");
    for (int level = 1; level <= 20; ++level) {
        ASSERT_EQ(mkdirat(fd, link.c_str(), 0700), 0) << level;
        const int next = openat(fd, link.c_str(), O_RDONLY | O_DIRECTORY);
        close(fd);
        ASSERT_GE(next, 0);
        fd = next;
        deepest += "/" + link;
        if (level == 1 || level == 20) {
            const int file = openat(fd, level == 1 ? "near" : "lost", O_WRONLY | O_CREAT, 0600);
            ASSERT_GE(file, 0);
            close(file);
        }
    }
    close(fd);
    ASSERT_GT(deepest.size(), static_cast<std::size_t>(PATH_MAX));

    // Names first: a failure then shows which rows came, not pages of "d".
    const Rows rows = sorted(scan(tree.root()));
    std::vector<std::string> names;
    for (const auto& row : rows) names.push_back(row.first);
    ASSERT_EQ(names, (std::vector<std::string>{"near", "top"}));
    EXPECT_EQ(rows[0].second, tree.path("deep/" + link + "/near"));
    EXPECT_EQ(rows[1].second, tree.path("top"));
}

// Handlers that the pump runs nested inside the scan; the tree is a and b at the top and c
// in s, so the third pump comes after a and b have been appended.
class NestedHandler : public FolderScan {
protected:
    void SetUp() override {
        tree.folder("top");
        tree.file("top/a");
        tree.file("top/b");
        tree.folder("top/s");
        tree.file("top/s/c");
        tree.folder("other");
        tree.file("other/x");
        tree.file("other/y");
    }
    Rows rowsIn(const std::string& folder) {
        Rows rows;
        depthFirst(tree.path(folder), rows);
        return rows;
    }
    Rows scanWith(std::function<void(FileList&)> handler, int atPump) {
        FileList list;
        FakeHooks hooks;
        hooks.onPump = [&](int pump) {
            if (pump == atPump) handler(list);
        };
        scanFolder(ByteText(tree.path("top")), list, hooks);
        return rowsOf(list);
    }
    static Rows concat(std::initializer_list<Rows> parts) {
        Rows all;
        for (const Rows& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    }
};

TEST_F(NestedHandler, ANestedScanAppendsBeforeTheOuterScanGoesOn) {
    Rows ab = rowsIn("top");
    const Rows c = {ab.back()};
    ab.pop_back();
    ASSERT_EQ(c.front().first, "c");
    const Rows nested = scanWith(
        [&](FileList& list) {
            FakeHooks inner;
            scanFolder(ByteText(tree.path("other")), list, inner);
        },
        3);
    EXPECT_EQ(nested, concat({ab, rowsIn("other"), c}));
}

TEST_F(NestedHandler, TheOuterScanAppendsAfterTheRowsANestedHandlerLeft) {
    const Rows all = rowsIn("top");
    const Rows c = {all.back()};
    struct Case {
        const char* what;
        int atPump;
        std::function<void(FileList&)> handler;
        Rows rows;
    };
    const Case cases[] = {
        {"cleared", 3, [](FileList& list) { list.clearList(); }, c},
        {"replaced by a drop", 3,
         [](FileList& list) {
             list.clearList();
             list.appendRow(FileRow{"dropped", "/dropped"});
         },
         concat({{{"dropped", "/dropped"}}, c})},
        {"a second scan of the same folder", 1,
         [&](FileList& list) {
             list.clearList();
             FakeHooks inner;
             scanFolder(ByteText(tree.path("top")), list, inner);
         },
         concat({all, all})},
    };
    for (const Case& k : cases) EXPECT_EQ(scanWith(k.handler, k.atPump), k.rows) << k.what;
}

}  // namespace
