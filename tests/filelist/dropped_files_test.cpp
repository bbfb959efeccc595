#include "filelist/dropped_files.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../common/temp_folder.h"
#include "filelist/file_list.h"
#include "list_rows.h"
#include "platform/code_page.h"

namespace {

using Paths = std::vector<std::string>;
struct UriCase {
    const char* uriList;
    Paths paths;
};

void PrintTo(const UriCase& c, std::ostream* os) {
    *os << testing::PrintToString(std::string(c.uriList));
}

class UriList : public testing::TestWithParam<UriCase> {};

TEST_P(UriList, GivesTheLocalPaths) {
    EXPECT_EQ(localPathsFromUriList(QByteArray(GetParam().uriList)), GetParam().paths)
        << GetParam().uriList;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UriList,
    testing::Values(UriCase{"file:///a/b\r\n", {"/a/b"}}, UriCase{"file:///a/b", {"/a/b"}},
                    UriCase{"file://localhost/a\r\n", {"/a"}}, UriCase{"file:/a\r\n", {"/a"}},
                    UriCase{"file://otherhost/a\r\n", {}}, UriCase{"http://localhost/a\r\n", {}},
                    UriCase{"# file:///comment\r\nfile:///a\r\n", {"/a"}},
                    UriCase{"file:///a%0Ab\r\n", {}}, UriCase{"file:///a%0db\r\n", {}},
                    UriCase{"file:///a%00b\r\n", {}},
                    UriCase{"file:///a%0Ab\r\nfile:///c\r\n", {"/c"}},
                    UriCase{"file:///a%20b/%E4%B8%AD%25.txt\r\n", {"/a b/\xE4\xB8\xAD%.txt"}},
                    UriCase{"file:///bad%FF\r\n", {"/bad\xFF"}},
                    UriCase{"file:///a/folder/\r\n", {"/a/folder"}}, UriCase{"file:///\r\n", {"/"}},
                    UriCase{"file:///x\r\nfile:///y\r\n", {"/x", "/y"}},
                    UriCase{"file:///x\nfile:///y\n", {"/x", "/y"}},
                    UriCase{"file:///x\r\nfile:///y", {"/x", "/y"}}, UriCase{"", {}},
                    UriCase{"\r\n\r\n", {}}),
    [](const testing::TestParamInfo<UriCase>& info) {
        return "case" + std::to_string(info.index);
    });

TEST(DroppedPathText, OnePathAloneSeveralEachEndedByCrLf) {
    struct Case {
        Paths paths;
        std::string text;
    };
    const Case cases[] = {
        {{"/d/a.txt"}, "/d/a.txt"},
        {{"/x", "/y"}, "/x\r\n/y\r\n"},
        {{"/x", "/y", "/z"}, "/x\r\n/y\r\n/z\r\n"},
        {{"/x", "/bad\xFF", "/y"}, "/x\r\n/y\r\n"},
        {{"/bad\xFF"}, ""},
        {{}, ""},
        {{"/\xE4\xB8\xAD"}, "/\xD6\xD0"},  // "中" in GB18030
    };
    for (const Case& c : cases) {
        EXPECT_EQ(droppedPathText(c.paths).bytes(), c.text) << testing::PrintToString(c.paths);
    }
}

TEST(ListDroppedFiles, GivesOneRowPerPathInDropOrder) {
    TempFolder tree;
    const std::string file = tree.file("a.txt");
    const std::string folder = tree.folder("sub");
    const std::string cjk = utf8ToGb18030(tree.file("中.txt")).value.bytes();
    const std::string missing = tree.path("gone.txt");

    FileList list;
    list.appendRow(FileRow{"old", "/old"});
    listDroppedFiles(ByteText(folder + "\r\n" + file + "\r\n/\r\n" + missing + "\r\n" + cjk +
                              "\r\n" + file + "\r\n"),
                     list);
    EXPECT_EQ(rowsOf(list), (Rows{{"", folder},
                                  {"a.txt", file},
                                  {"", "/"},
                                  {"", missing},
                                  {"\xD6\xD0.txt", cjk},
                                  {"a.txt", file}}));

    listDroppedFiles(ByteText(file), list);
    EXPECT_EQ(rowsOf(list), (Rows{{"a.txt", file}})) << "one path alone, and the rows replaced";
}

}  // namespace
