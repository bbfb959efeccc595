// The work list through the window: FindButton, drops and the batch behind RenameButton.
#include <sys/stat.h>
#include <unistd.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QUrl>
#include <fstream>
#include <sstream>

#include "../common/temp_folder.h"
#include "platform/code_page.h"
#include "platform/log_file.h"
#include "window_fixture.h"

namespace {

std::string gb(const std::string& utf8) {
    return utf8ToGb18030(utf8).value.bytes();
}

bool exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The rename log lies beside the test program and is shared by every test: each test that may
// write it starts without one and leaves the log as it found it.
class RenameLogGuard {
public:
    RenameLogGuard() : path_(renameLogPath()) {
        std::ifstream in(path_, std::ios::binary);
        if (in) {
            existed_ = true;
            std::ostringstream saved;
            saved << in.rdbuf();
            saved_ = saved.str();
        }
        unlink(path_.c_str());
    }
    ~RenameLogGuard() {
        unlink(path_.c_str());
        if (existed_) std::ofstream(path_, std::ios::binary) << saved_;
    }
    bool exists() const { return ::exists(path_); }
    std::string contents() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::string path_;
    bool existed_ = false;
    std::string saved_;
};

class WorkListTest : public WindowTest {
protected:
    TempFolder tree;

    void find(const std::string& folder, const QString& mark = QString()) {
        QLineEdit* folderEdit = edit("FolderEdit");
        folderEdit->clear();
        typeInto(folderEdit, QString::fromUtf8(folder.c_str()));
        edit("MarkEdit")->clear();
        typeInto(edit("MarkEdit"), mark);
        click(button("FindButton"));
    }

    static QByteArray uriList(const std::vector<std::string>& paths) {
        QByteArray list;
        for (const std::string& path : paths) {
            list += QUrl::fromLocalFile(QString::fromUtf8(path.c_str())).toEncoded() + "\r\n";
        }
        return list;
    }
    bool dragEnter(const QMimeData& mime) {
        QDragEnterEvent event(QPoint(200, 100), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction,
                              &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
        return event.isAccepted();
    }
    // A drag over the window that ends in a drop, as the shell delivers it.
    void dragAndDrop(const QMimeData& mime) {
        if (!dragEnter(mime)) return;
        QDropEvent event(QPointF(200, 100), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &mime,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
    }
    void dropPaths(const std::vector<std::string>& paths) {
        QMimeData mime;
        mime.setData(QStringLiteral("text/uri-list"), uriList(paths));
        dragAndDrop(mime);
    }
};

TEST_F(WorkListTest, FindListsTheMatchingFilesUnderTheTypedFolder) {
    tree.file("a.txt");
    tree.file("Notes.TXT.bak");
    tree.file("image.png");
    tree.folder("s");
    tree.file("s/b.txt");
    window->fileList().appendRow(FileRow{"stale", "/stale"});

    find(tree.root(), QStringLiteral("txt"));
    Rows expected;
    for (const std::string& name : readdirNames(tree.root(), false)) {
        if (name != "image.png") expected.emplace_back(name, tree.path(name));
    }
    expected.emplace_back("b.txt", tree.path("s/b.txt"));
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(edit("FolderEdit")->text().toStdString(), tree.root()) << "the scan leaves it be";
}

TEST_F(WorkListTest, ClosingTheWindowDuringAScanEndsIt) {
    for (const char* name : {"a", "b", "c"}) tree.file(name);
    tree.folder("s");
    tree.file("s/d");
    typeInto(edit("FolderEdit"), QString::fromStdString(tree.root()));
    // Waiting until the scan lets events through, as a click on the close box would.
    QMetaObject::invokeMethod(window.get(), &QWidget::close, Qt::QueuedConnection);
    click(button("FindButton"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->fileList().rowCount(), 0) << "the scan stopped at its first pump";
}

TEST_F(WorkListTest, FindTakesACjkMarkAndFolder) {
    tree.folder("照片");
    tree.file("照片/旅行.jpg");
    tree.file("照片/other.jpg");
    QLineEdit* folderEdit = edit("FolderEdit");
    folderEdit->setText(QString::fromUtf8(tree.path("照片").c_str()));
    click(edit("MarkEdit"));
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("旅行"));
    QApplication::sendEvent(edit("MarkEdit"), &typed);
    click(button("FindButton"));
    EXPECT_EQ(rows(), (Rows{{gb("旅行.jpg"), gb(tree.path("照片/旅行.jpg"))}}));
}

TEST_F(WorkListTest, DropsReplaceTheListAndFillFolderEdit) {
    const std::string a = tree.file("a.txt");
    const std::string z = tree.file("z.txt");
    const std::string cjk = tree.file("中文.txt");
    const std::string folder = tree.folder("sub");
    tree.file("sub/inside.txt");
    struct Drop {
        std::vector<std::string> paths;
        std::string folderEdit;  // UTF-8
        Rows rows;
    };
    const Drop drops[] = {
        {{a}, a, {{"a.txt", a}}},
        {{cjk}, cjk, {{gb("中文.txt"), gb(cjk)}}},
        {{folder}, folder, {{"", folder}}},
        {{"/"}, "/", {{"", "/"}}},
        {{z, a}, z + "\r\n" + a + "\r\n", {{"z.txt", z}, {"a.txt", a}}},
        {{folder, tree.path("gone"), a},
         folder + "\r\n" + tree.path("gone") + "\r\n" + a + "\r\n",
         {{"", folder}, {"", tree.path("gone")}, {"a.txt", a}}},
    };
    for (const Drop& drop : drops) {
        find(tree.root());  // rows from a scan, to be replaced
        ASSERT_EQ(window->fileList().rowCount(), 4);
        dropPaths(drop.paths);
        EXPECT_EQ(edit("FolderEdit")->text(), QString::fromUtf8(drop.folderEdit.c_str()));
        EXPECT_EQ(rows(), drop.rows) << drop.folderEdit;
    }
}

// QLineEdit cuts its text at 32767 characters unless told otherwise.
TEST_F(WorkListTest, ADropOfManyPathsKeepsTheWholeTextInFolderEdit) {
    std::vector<std::string> paths;
    std::string text;
    for (int i = 0; text.size() <= 40000; ++i) {
        paths.push_back(tree.path("missing_" + std::to_string(i)));
        text += paths.back() + "\r\n";
    }
    dropPaths(paths);
    EXPECT_EQ(edit("FolderEdit")->text().toStdString(), text);
    EXPECT_EQ(window->fileList().rowCount(), static_cast<int>(paths.size()));
}

TEST_F(WorkListTest, ADroppedFolderIsScannedByFind) {
    const std::string folder = tree.folder("sub");
    tree.file("sub/inside.txt");
    dropPaths({folder + "/"});
    EXPECT_EQ(rows(), (Rows{{"", folder}}));
    click(button("FindButton"));
    EXPECT_EQ(rows(), (Rows{{"inside.txt", folder + "/inside.txt"}}));
}

TEST_F(WorkListTest, ADragWithFilesAndTextIsTakenAsFiles) {
    const std::string a = tree.file("a.txt");
    QMimeData mime;
    mime.setText(QStringLiteral("some text"));
    mime.setData(QStringLiteral("text/uri-list"), uriList({a}));
    EXPECT_TRUE(dragEnter(mime));
    dragAndDrop(mime);
    EXPECT_EQ(edit("FolderEdit")->text().toStdString(), a);
    EXPECT_EQ(rows(), (Rows{{"a.txt", a}}));
}

TEST_F(WorkListTest, ADragWithoutLocalFilesIsRefused) {
    edit("FolderEdit")->setText(QStringLiteral("kept"));
    window->fileList().appendRow(FileRow{"row", "/row"});
    QMimeData text;
    text.setText(QString::fromStdString(tree.root()));
    QMimeData web;
    web.setData(QStringLiteral("text/uri-list"), "https://example.org/a.txt\r\n");
    for (const QMimeData* mime : {&text, &web}) {
        EXPECT_FALSE(dragEnter(*mime));
        // Even a drop that arrives all the same changes nothing.
        QDropEvent event(QPointF(200, 100), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
        EXPECT_EQ(edit("FolderEdit")->text(), QStringLiteral("kept"));
        EXPECT_EQ(rows(), (Rows{{"row", "/row"}}));
    }
}

TEST_F(WorkListTest, TheBatchRenamesEveryRowLogsItAndEmptiesTheList) {
    RenameLogGuard log;
    const std::string trip = tree.file("trip.jpg", "trip");
    const std::string notes = tree.file("notes.txt", "notes");
    find(tree.root());
    const Rows listed = rows();
    ASSERT_EQ(listed.size(), 2u);

    clickMode(RenameMode::AddPrefix);
    typeInto(edit("PrimaryEdit"), QStringLiteral("2017_"));
    click(button("RenameButton"));

    EXPECT_EQ(window->fileList().rowCount(), 0);
    EXPECT_FALSE(exists(trip));
    EXPECT_FALSE(exists(notes));
    EXPECT_TRUE(exists(tree.path("2017_trip.jpg")));
    EXPECT_TRUE(exists(tree.path("2017_notes.txt")));
    std::string expectedLog;
    for (const auto& [name, path] : listed) {
        expectedLog += path + "\xE2\x86\x92" + tree.path("2017_" + name) + "\r\n";
    }
    EXPECT_EQ(log.contents(), expectedLog);
}

TEST_F(WorkListTest, TheBatchReadsThePositionAsNormalised) {
    RenameLogGuard log;
    tree.file("abcdefghij.txt");
    find(tree.root());
    clickMode(RenameMode::InsertFromFront);
    typeInto(edit("PrimaryEdit"), QStringLiteral("+"));
    // Read as typed this would be 1 (2^32 + 1 wraps); normalised it is 2^31 - 1, which puts
    // the text before the base name.
    typeInto(secondaryEdit(), QStringLiteral("4294967297"));
    ASSERT_TRUE(secondaryEdit()->hasFocus());
    click(button("RenameButton"));
    EXPECT_EQ(secondaryEdit()->text(), QStringLiteral("2147483647"));
    EXPECT_TRUE(exists(tree.path("+abcdefghij.txt")));
    EXPECT_FALSE(exists(tree.path("ab+cdefghij.txt")));
    EXPECT_EQ(window->fileList().rowCount(), 0);
}

TEST_F(WorkListTest, TheBatchWithAnEmptyListLeavesNoLog) {
    RenameLogGuard log;
    clickMode(RenameMode::AddPrefix);
    typeInto(edit("PrimaryEdit"), QStringLiteral("x"));
    click(button("RenameButton"));
    EXPECT_FALSE(log.exists());
}

}  // namespace
