#include "engine/batch_rename.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "byte_text_printer.h"

namespace {

// A work list, a window and a file system in memory. Every call is written to `calls`, so a
// test can check the order in which the run uses them.
class FakePorts : public BatchPorts {
public:
    std::vector<FileRow> rows;
    RenameSettings current;
    std::set<std::string> files;  // the existing paths; a rename never replaces one
    bool removeShrinksList = true;
    mutable std::vector<std::string> calls;
    std::vector<std::pair<ByteText, ByteText>> renames;
    std::vector<ByteText> records;

    int32_t rowCount() const override {
        calls.push_back("rowCount");
        return static_cast<int32_t>(rows.size());
    }
    ByteText cellText(int32_t row, int32_t column) const override {
        calls.push_back("cell " + std::to_string(row) + "," + std::to_string(column));
        if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return ByteText();
        return column == 0 ? rows[row].name : rows[row].path;
    }
    void removeRow(int32_t row) override {
        calls.push_back("remove " + std::to_string(row));
        if (removeShrinksList && row >= 0 && static_cast<std::size_t>(row) < rows.size()) {
            rows.erase(rows.begin() + row);
        }
    }
    RenameSettings settings() const override {
        calls.push_back("settings");
        return current;
    }
    bool renameFile(const ByteText& oldPath, const ByteText& newPath) override {
        calls.push_back("rename " + oldPath.bytes() + " " + newPath.bytes());
        renames.emplace_back(oldPath, newPath);
        if (files.count(oldPath.bytes()) == 0 || files.count(newPath.bytes()) != 0) return false;
        files.erase(oldPath.bytes());
        files.insert(newPath.bytes());
        return true;
    }
    void appendRenameLog(const ByteText& record) override {
        calls.push_back("log " + record.bytes());
        records.push_back(record);
    }

    void addFile(const char* name, const char* path) {
        rows.push_back({name, path});
        files.insert(path);
    }
};

ByteText record(const char* oldPath, const char* newPath) {
    return ByteText(std::string(oldPath) + "\xA1\xFA" + newPath);
}

TEST(RunBatchRenameTest, EmptyListDoesNothing) {
    FakePorts ports;
    ports.current = {RenameMode::AddPrefix, "x", ""};
    runBatchRename(ports);
    EXPECT_EQ(ports.calls, std::vector<std::string>{"rowCount"});
}

TEST(RunBatchRenameTest, HandlesRowsFirstFirstReadingPathBeforeName) {
    FakePorts ports;
    ports.current = {RenameMode::AddSuffix, "_x", ""};
    ports.addFile("a.txt", "/d/a.txt");
    ports.addFile("b.txt", "/d/b.txt");
    ports.addFile("c.txt", "/d/c.txt");

    runBatchRename(ports);

    const std::vector<std::string> expected = {
        "rowCount",
        "cell 0,1",
        "cell 0,0",
        "settings",
        "rename /d/a.txt /d/a_x.txt",
        "log /d/a.txt\xA1\xFA/d/a_x.txt",
        "remove 0",
        "cell 0,1",
        "cell 0,0",
        "settings",
        "rename /d/b.txt /d/b_x.txt",
        "log /d/b.txt\xA1\xFA/d/b_x.txt",
        "remove 0",
        "cell 0,1",
        "cell 0,0",
        "settings",
        "rename /d/c.txt /d/c_x.txt",
        "log /d/c.txt\xA1\xFA/d/c_x.txt",
        "remove 0",
    };
    EXPECT_EQ(ports.calls, expected);
    EXPECT_TRUE(ports.rows.empty());
    EXPECT_EQ(ports.files, (std::set<std::string>{"/d/a_x.txt", "/d/b_x.txt", "/d/c_x.txt"}));
}

TEST(RunBatchRenameTest, TakesTheRowCountOnce) {
    // A list that does not shrink still gets exactly as many passes as it had rows.
    FakePorts ports;
    ports.current = {RenameMode::AddPrefix, "x", ""};
    ports.addFile("a.txt", "/d/a.txt");
    ports.addFile("b.txt", "/d/b.txt");
    ports.removeShrinksList = false;

    runBatchRename(ports);

    EXPECT_EQ(std::count(ports.calls.begin(), ports.calls.end(), "rowCount"), 1);
    EXPECT_EQ(std::count(ports.calls.begin(), ports.calls.end(), "remove 0"), 2);
    EXPECT_EQ(ports.records.size(), 2u);
}

TEST(RunBatchRenameTest, LogsEveryAttemptAlsoWhenTheRenameFails) {
    FakePorts ports;
    ports.current = {RenameMode::SplitKeepFront, "-", ""};
    ports.addFile("a-1.txt", "/d/a-1.txt");      // renamed to /d/a.txt
    ports.addFile("a-2.txt", "/d/a-2.txt");      // same target: the rename fails
    ports.addFile("photo.jpg", "/d/photo.jpg");  // no keyword: the new path equals the old one
    ports.rows.push_back({"gone.txt", "/d/gone.txt"});  // listed but no longer there

    runBatchRename(ports);

    const std::vector<std::pair<ByteText, ByteText>> expectedRenames = {
        {"/d/a-1.txt", "/d/a.txt"},
        {"/d/a-2.txt", "/d/a.txt"},
        {"/d/photo.jpg", "/d/photo.jpg"},
        {"/d/gone.txt", "/d/gone.txt"},
    };
    EXPECT_EQ(ports.renames, expectedRenames);
    const std::vector<ByteText> expectedRecords = {
        record("/d/a-1.txt", "/d/a.txt"),
        record("/d/a-2.txt", "/d/a.txt"),
        record("/d/photo.jpg", "/d/photo.jpg"),
        record("/d/gone.txt", "/d/gone.txt"),
    };
    EXPECT_EQ(ports.records, expectedRecords);
    EXPECT_TRUE(ports.rows.empty());
    EXPECT_EQ(ports.files, (std::set<std::string>{"/d/a.txt", "/d/a-2.txt", "/d/photo.jpg"}));
}

TEST(RunBatchRenameTest, NewFolderThatDoesNotExistStillLogged) {
    // AddPrefix on a file in a folder named like its base name changes the folder too.
    FakePorts ports;
    ports.current = {RenameMode::AddPrefix, "2017_", ""};
    ports.addFile("trip.jpg", "/trip/trip.jpg");

    runBatchRename(ports);

    ASSERT_EQ(ports.records.size(), 1u);
    EXPECT_EQ(ports.records[0], record("/trip/trip.jpg", "/2017_trip/2017_trip.jpg"));
    EXPECT_EQ(ports.files, std::set<std::string>{"/2017_trip/2017_trip.jpg"});
    EXPECT_TRUE(ports.rows.empty());
}

TEST(RunBatchRenameTest, NoModeRemovesRowsWithoutRenameOrRecord) {
    FakePorts ports;
    ports.current = {RenameMode::NoMode, "x", "y"};
    ports.addFile("a.txt", "/d/a.txt");
    ports.addFile("README", "/d/README");
    ports.addFile("b.c.txt", "/d/b.c.txt");

    runBatchRename(ports);

    EXPECT_TRUE(ports.renames.empty());
    EXPECT_TRUE(ports.records.empty());
    EXPECT_TRUE(ports.rows.empty());
    EXPECT_EQ(std::count(ports.calls.begin(), ports.calls.end(), "remove 0"), 3);
}

TEST(RunBatchRenameTest, RowsOutsideTheLimitsAreRemovedWithoutRenameOrRecord) {
    FakePorts ports;
    ports.current = {RenameMode::SplitKeepBack, "-", ""};
    ports.addFile("IMG-1.jpg", "/d/IMG-1.jpg");
    ports.addFile("README", "/d/README");        // no "."
    ports.addFile("", "/d/folder");              // a dropped folder's row has an empty name
    ports.addFile("notes.", "/d/notes.");        // the only "." is the last byte
    ports.addFile("photo.jpg", "/d/photo.jpg");  // the keyword mode lacks its second piece
    ports.addFile("x-2.png", "/d/x-2.png");

    runBatchRename(ports);

    const std::vector<std::pair<ByteText, ByteText>> expectedRenames = {
        {"/d/IMG-1.jpg", "/d/1.jpg"},
        {"/d/x-2.png", "/d/2.png"},
    };
    EXPECT_EQ(ports.renames, expectedRenames);
    const std::vector<ByteText> expectedRecords = {
        record("/d/IMG-1.jpg", "/d/1.jpg"),
        record("/d/x-2.png", "/d/2.png"),
    };
    EXPECT_EQ(ports.records, expectedRecords);
    EXPECT_TRUE(ports.rows.empty());
    EXPECT_EQ(std::count(ports.calls.begin(), ports.calls.end(), "remove 0"), 6);
}

}  // namespace
