#include "filelist/file_list.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

void fill(FileList& list, const Rows& rows) {
    for (const auto& [name, path] : rows) {
        const int32_t row = list.appendRow();
        list.setCell(row, FileList::kNameColumn, ByteText(name));
        list.setCell(row, FileList::kPathColumn, ByteText(path));
    }
}

Rows rowsOf(const FileList& list) {
    Rows rows;
    for (int32_t row = 0; row < list.rowCount(); ++row) {
        rows.emplace_back(list.cellText(row, FileList::kNameColumn).bytes(),
                          list.cellText(row, FileList::kPathColumn).bytes());
    }
    return rows;
}

const Rows kABC = {{"A", "/d/A"}, {"B", "/d/B"}, {"C", "/d/C"}};

struct ListCase {
    const char* what;
    Rows before;
    std::function<void(FileList&)> operation;
    Rows after;
};

void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.what;
}

class FileListOperation : public testing::TestWithParam<ListCase> {};

TEST_P(FileListOperation, LeavesTheExpectedRows) {
    const ListCase& c = GetParam();
    FileList list;
    fill(list, c.before);
    c.operation(list);
    EXPECT_EQ(rowsOf(list), c.after) << c.what;
    EXPECT_EQ(list.rowCount(), static_cast<int>(c.after.size())) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileListOperation,
    testing::Values(
        ListCase{"new row has two empty cells",
                 kABC,
                 [](FileList& l) { l.appendRow(); },
                 {{"A", "/d/A"}, {"B", "/d/B"}, {"C", "/d/C"}, {"", ""}}},
        ListCase{"setCell replaces one cell",
                 kABC,
                 [](FileList& l) { l.setCell(1, 1, "/e/B"); },
                 {{"A", "/d/A"}, {"B", "/e/B"}, {"C", "/d/C"}}},
        ListCase{"setCell past the last row", kABC, [](FileList& l) { l.setCell(5, 0, "X"); },
                 kABC},
        ListCase{"setCell on the row just past the end", kABC,
                 [](FileList& l) { l.setCell(3, 0, "X"); }, kABC},
        ListCase{"setCell on a negative row", kABC, [](FileList& l) { l.setCell(-1, 0, "X"); },
                 kABC},
        ListCase{"setCell on a missing column", kABC, [](FileList& l) { l.setCell(0, 2, "X"); },
                 kABC},
        ListCase{"removeRow(0) moves the rest up",
                 kABC,
                 [](FileList& l) { l.removeRow(0); },
                 {{"B", "/d/B"}, {"C", "/d/C"}}},
        ListCase{"removeRow of the last row",
                 kABC,
                 [](FileList& l) { l.removeRow(2); },
                 {{"A", "/d/A"}, {"B", "/d/B"}}},
        ListCase{"removeRow past the end", kABC, [](FileList& l) { l.removeRow(3); }, kABC},
        ListCase{"removeRow of a negative row", kABC, [](FileList& l) { l.removeRow(-1); }, kABC},
        ListCase{"removeRow on an empty list", {}, [](FileList& l) { l.removeRow(0); }, {}},
        ListCase{"clearList", kABC, [](FileList& l) { l.clearList(); }, {}},
        ListCase{"append after clearList starts again at row 0",
                 kABC,
                 [](FileList& l) {
                     l.clearList();
                     l.setCell(l.appendRow(), 1, "/x");
                 },
                 {{"", "/x"}}},
        ListCase{"rows need not be unique",
                 {{"A", "/d/A"}},
                 [](FileList& l) {
                     fill(l, {{"A", "/d/A"}});
                 },
                 {{"A", "/d/A"}, {"A", "/d/A"}}}),
    [](const testing::TestParamInfo<ListCase>& info) {
        return "case" + std::to_string(info.index);
    });

TEST(FileList, AppendRowGivesTheCountBeforeTheCall) {
    FileList list;
    for (int32_t n = 0; n < 4; ++n) {
        EXPECT_EQ(list.rowCount(), n);
        EXPECT_EQ(list.appendRow(), n);
        EXPECT_EQ(list.rowCount(), n + 1);
    }
    list.removeRow(0);
    EXPECT_EQ(list.appendRow(), 3);
}

TEST(FileList, CellTextOfAMissingCellIsEmpty) {
    FileList list;
    EXPECT_EQ(list.cellText(0, 1), ByteText());
    fill(list, kABC);
    EXPECT_EQ(list.cellText(3, 0), ByteText());
    EXPECT_EQ(list.cellText(-1, 1), ByteText());
    EXPECT_EQ(list.cellText(0, 2), ByteText());
    EXPECT_EQ(list.cellText(0, -1), ByteText());
    EXPECT_EQ(list.cellText(2), ByteText("C")) << "the column defaults to the name";
}

TEST(FileList, CellsKeepLongTextWhole) {
    FileList list;
    const std::string longPath = "/" + std::string(100000, 'x') + "\xD6\xD0";
    list.setCell(list.appendRow(), 1, ByteText(longPath));
    EXPECT_EQ(list.cellText(0, 1).bytes(), longPath);
}

// What a view attached to the list is told, one line per notification.
class ModelLog {
public:
    explicit ModelLog(FileList& list) {
        QObject::connect(&list, &QAbstractItemModel::rowsInserted,
                         [this, &list](const QModelIndex&, int first, int last) {
                             add("inserted", first, last, list.rowCount());
                         });
        QObject::connect(&list, &QAbstractItemModel::rowsRemoved,
                         [this, &list](const QModelIndex&, int first, int last) {
                             add("removed", first, last, list.rowCount());
                         });
        QObject::connect(&list, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex& from, const QModelIndex& to) {
                             lines.push_back("changed " + std::to_string(from.row()) + "," +
                                             std::to_string(from.column()) + "-" +
                                             std::to_string(to.row()) + "," +
                                             std::to_string(to.column()));
                         });
        QObject::connect(&list, &QAbstractItemModel::modelReset, [this, &list] {
            lines.push_back("reset " + std::to_string(list.rowCount()));
        });
        QObject::connect(&list, &QAbstractItemModel::layoutChanged,
                         [this] { lines.push_back("layout"); });
    }
    std::vector<std::string> lines;

private:
    void add(const char* what, int first, int last, int count) {
        lines.push_back(std::string(what) + " " + std::to_string(first) + "-" +
                        std::to_string(last) + " of " + std::to_string(count));
    }
};

TEST(FileList, TellsAViewOfEveryChange) {
    FileList list;
    ModelLog log(list);
    fill(list, {{"a", "/a"}});
    list.appendRow();
    list.setCell(1, 1, "/b");
    list.setCell(7, 1, "/nothing");
    list.removeRow(9);
    list.removeRow(0);
    list.clearList();
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"inserted 0-0 of 1", "changed 0,0-0,0", "changed 0,1-0,1",
                                        "inserted 1-1 of 2", "changed 1,1-1,1", "removed 0-0 of 1",
                                        "reset 0"}));
}

TEST(FileList, ShowsCellsAsTextWithTwoHeaders) {
    FileList list;
    // GB18030 for "中文.txt"
    fill(list, {{"\xD6\xD0\xCE\xC4.txt", "/d/\xD6\xD0\xCE\xC4.txt"}});
    EXPECT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.data(list.index(0, 0)).toString(), QStringLiteral("中文.txt"));
    EXPECT_EQ(list.data(list.index(0, 1)).toString(), QStringLiteral("/d/中文.txt"));
    EXPECT_EQ(list.headerData(0, Qt::Horizontal).toString(), QStringLiteral("文件名"));
    EXPECT_EQ(list.headerData(1, Qt::Horizontal).toString(), QStringLiteral("文件路径"));
    EXPECT_FALSE(list.flags(list.index(0, 0)) & Qt::ItemIsEditable);
}

}  // namespace
