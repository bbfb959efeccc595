#include "platform/entry_search.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/resource.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform_fixture.h"

namespace {

std::vector<ByteText> listAll(EntrySearch& search, const ByteText& folder, EntryFilter filter) {
    std::vector<ByteText> names;
    for (ByteText name = findEntry(search, SearchPattern::allIn(folder), filter); !name.empty();
         name = findEntry(search, SearchPattern(), filter)) {
        names.push_back(name);
    }
    return names;
}

// The folder's entries of one kind in the order readdir gives them, as the program's texts.
std::vector<ByteText> readdirOrder(const std::string& folder, bool directories,
                                   const std::map<std::string, std::string>& gbNames) {
    std::vector<ByteText> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        struct stat info;
        if (stat((folder + "/" + entry->d_name).c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode) != directories) continue;
        const auto gb = gbNames.find(entry->d_name);
        names.push_back(ByteText(gb == gbNames.end() ? entry->d_name : gb->second));
    }
    closedir(dir);
    return names;
}

class EntrySearchTest : public testing::Test {
protected:
    TempFolder temp;
};

TEST_F(EntrySearchTest, GivesFilesAndFoldersApartInTheFileSystemsOrder) {
    for (const char* name : {"a.txt", "B.TXT", ".profile", "no_dot", "\xE6\x96\x87.txt", "z"}) {
        temp.file(name);
    }
    for (const char* name : {"sub", ".cache", "\xE6\x96\x87\xE4\xBB\xB6"}) temp.folder(name);
    const std::map<std::string, std::string> gbNames = {
        {"\xE6\x96\x87.txt", "\xCE\xC4.txt"}, {"\xE6\x96\x87\xE4\xBB\xB6", "\xCE\xC4\xBC\xFE"}};

    const std::vector<ByteText> files = readdirOrder(temp.root(), false, gbNames);
    const std::vector<ByteText> folders = readdirOrder(temp.root(), true, gbNames);
    ASSERT_EQ(files.size(), 6u);
    ASSERT_EQ(folders.size(), 5u);  // "." and ".." are folders like any other

    // With and without the trailing separator.
    for (const std::string& folder : {temp.root(), temp.root() + "/"}) {
        EntrySearch search;
        EXPECT_EQ(listAll(search, ByteText(folder), EntryFilter::NonDirectories), files);
        EXPECT_FALSE(search.isOpen()) << "the search closes when the entries run out";
        EXPECT_TRUE(findEntry(search, SearchPattern(), EntryFilter::NonDirectories).empty());
        EXPECT_EQ(listAll(search, ByteText(folder), EntryFilter::Directories), folders);
        EXPECT_FALSE(search.isOpen());
    }
}

TEST_F(EntrySearchTest, LinksCountAsWhatTheyPointToAndAreMarked) {
    temp.folder("dir");
    temp.file("file");
    temp.link("to_dir", "dir");
    temp.link("to_file", "file");
    temp.link("broken", "missing");
    temp.link("loop", "loop");
    temp.link("up", "..");

    struct Given {
        EntryFilter filter;
        bool symlink;
    };
    std::map<std::string, Given> given;
    for (const EntryFilter filter : {EntryFilter::NonDirectories, EntryFilter::Directories}) {
        EntrySearch search;
        for (ByteText name = findEntry(search, SearchPattern::allIn(ByteText(temp.root())), filter);
             !name.empty(); name = findEntry(search, SearchPattern(), filter)) {
            given[name.bytes()] = {filter, search.lastWasSymlink()};
        }
        EXPECT_FALSE(search.lastWasSymlink()) << "nothing given, nothing marked";
    }
    const std::map<std::string, Given> expected = {
        {".", {EntryFilter::Directories, false}},
        {"..", {EntryFilter::Directories, false}},
        {"dir", {EntryFilter::Directories, false}},
        {"file", {EntryFilter::NonDirectories, false}},
        {"to_dir", {EntryFilter::Directories, true}},
        {"to_file", {EntryFilter::NonDirectories, true}},
        {"broken", {EntryFilter::NonDirectories, true}},
        {"loop", {EntryFilter::NonDirectories, true}},
        {"up", {EntryFilter::Directories, true}},
    };
    EXPECT_EQ(given.size(), expected.size());
    for (const auto& [name, kind] : expected) {
        ASSERT_TRUE(given.count(name)) << name;
        EXPECT_EQ(given[name].filter, kind.filter) << name;
        EXPECT_EQ(given[name].symlink, kind.symlink) << name;
    }
}

TEST_F(EntrySearchTest, NameThatIsNotUtf8IsNeverGiven) {
    temp.file("bad\xFF");
    temp.file("good");
    temp.file("\xE6\x96");  // a character cut short
    temp.folder("bad\xFE.d");
    EntrySearch search;
    EXPECT_EQ(listAll(search, ByteText(temp.root()), EntryFilter::NonDirectories),
              std::vector<ByteText>{ByteText("good")});
    const std::vector<ByteText> folders =
        listAll(search, ByteText(temp.root()), EntryFilter::Directories);
    EXPECT_EQ(folders.size(), 2u);
    for (const ByteText& name : folders) EXPECT_EQ(name.view().substr(0, 1), ".");
}

TEST_F(EntrySearchTest, SearchThatCannotStartGivesNothingAndClosesTheOpenOne) {
    temp.file("file");
    temp.folder("dir");
    std::string tooLong = temp.root();
    while (tooLong.size() <= PATH_MAX) tooLong += "/dir/..";
    const ByteText tooLongText(tooLong);
    const std::vector<std::pair<const char*, SearchPattern>> cases = {
        {"missing folder", SearchPattern::allIn(ByteText(temp.path("missing")))},
        {"a file as folder", SearchPattern::allIn(ByteText(temp.path("file")))},
        {"below a file", SearchPattern::allIn(ByteText(temp.path("file/x")))},
        {"longer than PATH_MAX", SearchPattern::allIn(tooLongText)},
        {"not valid GB18030", SearchPattern::allIn(ByteText(temp.root() + "/\x81"))},
        {"missing entry", SearchPattern::exact(ByteText(temp.path("missing")))},
        {"entry below a file", SearchPattern::exact(ByteText(temp.path("file/x")))},
        {"entry path longer than PATH_MAX", SearchPattern::exact(tooLongText)},
        {"entry path not valid GB18030", SearchPattern::exact(ByteText(temp.root() + "/\x81"))},
    };
    for (const auto& [what, pattern] : cases) {
        EntrySearch search;
        ASSERT_FALSE(
            findEntry(search, SearchPattern::allIn(ByteText(temp.root())), EntryFilter::Directories)
                .empty());
        ASSERT_TRUE(search.isOpen());
        EXPECT_TRUE(findEntry(search, pattern, EntryFilter::NonDirectories).empty()) << what;
        EXPECT_FALSE(search.isOpen()) << what;
        EXPECT_TRUE(findEntry(search, SearchPattern(), EntryFilter::Directories).empty()) << what;
    }
    EntrySearch neverOpened;
    EXPECT_TRUE(findEntry(neverOpened, SearchPattern(), EntryFilter::Directories).empty());
}

TEST_F(EntrySearchTest, UnreadableFolderGivesNothing) {
    chmod(temp.root().c_str(), 0755);
    const std::string locked = temp.folder("locked", 0755);
    temp.file("locked/inside");
    chmod(locked.c_str(), 0);
    const int result = runInChild(
        [&] {
            EntrySearch search;
            const bool empty =
                findEntry(search, SearchPattern::allIn(ByteText(locked)), EntryFilter::Directories)
                    .empty();
            const bool exactEmpty =
                findEntry(search, SearchPattern::exact(ByteText(locked + "/inside")),
                          EntryFilter::NonDirectories)
                    .empty();
            return empty && exactEmpty && !search.isOpen() ? 0 : 1;
        },
        true);
    chmod(locked.c_str(), 0755);
    EXPECT_EQ(result, 0);
}

TEST_F(EntrySearchTest, ExactPathGivesTheLastComponentOfAnEntryThatFits) {
    temp.folder("dir");
    temp.file("dir/\xE6\x96\x87\xE4\xBB\xB6.txt");
    temp.link("to_dir", "dir");
    temp.link("to_file", "dir/\xE6\x96\x87\xE4\xBB\xB6.txt");
    struct Case {
        std::string path;  // GB18030
        EntryFilter filter;
        std::string name;  // empty: nothing given
        bool symlink;
    };
    const std::string root = temp.root();
    const std::vector<Case> cases = {
        {root + "/dir/\xCE\xC4\xBC\xFE.txt", EntryFilter::NonDirectories, "\xCE\xC4\xBC\xFE.txt",
         false},
        {root + "/dir/\xCE\xC4\xBC\xFE.txt", EntryFilter::Directories, "", false},
        {root + "/dir", EntryFilter::Directories, "dir", false},
        {root + "/dir", EntryFilter::NonDirectories, "", false},
        {root + "/to_dir", EntryFilter::Directories, "to_dir", true},
        {root + "/to_file", EntryFilter::NonDirectories, "to_file", true},
        {root + "/missing", EntryFilter::NonDirectories, "", false},
        {root + "/dir/\xCE\xC4\xBC\xFE.txt/x", EntryFilter::NonDirectories, "", false},
        {"", EntryFilter::NonDirectories, "", false},
    };
    for (const Case& c : cases) {
        EntrySearch search;
        const ByteText name = findEntry(search, SearchPattern::exact(ByteText(c.path)), c.filter);
        EXPECT_EQ(name, ByteText(c.name)) << testing::PrintToString(ByteText(c.path));
        if (c.name.empty()) {
            EXPECT_FALSE(search.isOpen());
            continue;
        }
        EXPECT_EQ(search.lastWasSymlink(), c.symlink) << c.name;
        // One entry only: the next call ends the search.
        EXPECT_TRUE(findEntry(search, SearchPattern(), c.filter).empty());
        EXPECT_FALSE(search.isOpen());
    }
}

TEST_F(EntrySearchTest, NewSearchReplacesTheOpenOne) {
    temp.folder("a");
    temp.folder("b");
    temp.file("a/a1");
    temp.file("a/a2");
    temp.file("b/b1");
    EntrySearch search;
    EXPECT_FALSE(findEntry(search, SearchPattern::allIn(ByteText(temp.path("a"))),
                           EntryFilter::NonDirectories)
                     .empty());
    EXPECT_EQ(findEntry(search, SearchPattern::allIn(ByteText(temp.path("b"))),
                        EntryFilter::NonDirectories),
              ByteText("b1"));
    EXPECT_TRUE(findEntry(search, SearchPattern(), EntryFilter::NonDirectories).empty());
}

// A scan keeps one search open per level, thousands of levels deep: an open search must not
// hold a file descriptor.
TEST_F(EntrySearchTest, OpenSearchesHoldNoFileDescriptor) {
    temp.file("x1");
    temp.file("x2");
    const int result = runInChild([&] {
        const rlimit limit{32, 32};
        if (setrlimit(RLIMIT_NOFILE, &limit) != 0) return 2;
        std::vector<std::unique_ptr<EntrySearch>> searches;
        for (int i = 0; i < 200; ++i) {
            searches.push_back(std::make_unique<EntrySearch>());
            if (findEntry(*searches.back(), SearchPattern::allIn(ByteText(temp.root())),
                          EntryFilter::NonDirectories)
                    .empty())
                return 1;
        }
        for (auto& search : searches) {
            if (findEntry(*search, SearchPattern(), EntryFilter::NonDirectories).empty()) return 1;
            if (!findEntry(*search, SearchPattern(), EntryFilter::NonDirectories).empty()) return 1;
        }
        return 0;
    });
    EXPECT_EQ(result, 0);
}

}  // namespace
