#include <QGroupBox>
#include <QHeaderView>

#include "ui/file_list_view.h"
#include "window_fixture.h"

namespace {

TEST_F(WindowTest, StartsWithNoModeAndNoWorkToDo) {
    for (int mode = 1; mode <= 9; ++mode) {
        EXPECT_FALSE(modeButton(static_cast<RenameMode>(mode))->isChecked()) << mode;
    }
    EXPECT_EQ(window->renameSettings().mode, RenameMode::NoMode);
    for (const char* role : {"PrimaryLabel", "PrimaryEdit", "SecondaryLabel", "SecondaryEdit"}) {
        EXPECT_FALSE(child<QWidget>(role)->isVisible()) << role;
    }
    EXPECT_FALSE(button("RenameButton")->isEnabled());
    EXPECT_TRUE(button("FindButton")->isEnabled());
    EXPECT_TRUE(button("BrowseButton")->isEnabled());
    EXPECT_TRUE(edit("FolderEdit")->text().isEmpty());
    EXPECT_TRUE(edit("MarkEdit")->text().isEmpty());
    EXPECT_EQ(secondaryEdit()->inputMode(), InputMode::FreeText);
    EXPECT_EQ(window->fileList().rowCount(), 0);
}

TEST_F(WindowTest, IsAFixedSizeWindowWithItsCaption) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vantorel1.0      ＢＹ：Quessin"));
    EXPECT_EQ(window->size(), QSize(550, 268));
    EXPECT_EQ(window->minimumSize(), QSize(550, 268));
    EXPECT_EQ(window->maximumSize(), QSize(550, 268));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
}

TEST_F(WindowTest, PlacesEveryControlWithItsCaption) {
    struct Place {
        const char* role;
        QRect geometry;  // in the window, or in ModeGroup for the mode buttons
        const char* caption;
    };
    const Place places[] = {
        {"FolderLabel", {8, 8, 72, 24}, "文件夹地址："},
        {"FolderEdit", {80, 8, 384, 20}, ""},
        {"BrowseButton", {472, 8, 72, 21}, "选择目录"},
        {"MarkLabel", {8, 33, 77, 24}, "文件名标识："},
        {"MarkEdit", {101, 35, 91, 20}, ""},
        {"FindButton", {206, 34, 64, 24}, "查找"},
        {"HintLabel", {295, 33, 240, 24}, "新版本支持文件夹拖拽了哦，快来试试吧！"},
        {"FileListView", {3, 63, 544, 92}, nullptr},
        {"ModeGroup", {6, 158, 282, 106}, "选择改名方式"},
        {"PrimaryLabel", {298, 168, 93, 24}, nullptr},
        {"PrimaryEdit", {392, 168, 144, 20}, ""},
        {"SecondaryLabel", {298, 189, 93, 24}, nullptr},
        {"SecondaryEdit", {392, 190, 144, 20}, ""},
        {"RenameButton", {304, 219, 233, 37}, "一键Vantorel"},
        {"ModeButton1", {10, 12, 104, 24}, "批量增加前缀"},
        {"ModeButton2", {10, 29, 104, 24}, "批量增加后缀"},
        {"ModeButton3", {10, 46, 104, 24}, "批量替换内容"},
        {"ModeButton8", {10, 63, 104, 24}, "由前向后增加"},
        {"ModeButton9", {10, 80, 104, 24}, "由后向前增加"},
        {"ModeButton4", {120, 10, 154, 24}, "以关键字分割保留前部分"},
        {"ModeButton5", {120, 33, 154, 24}, "以关键字分割保留后部分"},
        {"ModeButton6", {120, 56, 144, 24}, "保留关键字和前部分"},
        {"ModeButton7", {120, 78, 144, 24}, "保留关键字和后部分"},
    };
    auto* group = child<QGroupBox>("ModeGroup");
    for (const Place& place : places) {
        QWidget* control = child<QWidget>(place.role);
        ASSERT_NE(control, nullptr) << place.role;
        const bool inGroup = QByteArray(place.role).startsWith("ModeButton");
        EXPECT_EQ(control->parentWidget(), inGroup ? static_cast<QWidget*>(group) : window.get())
            << place.role;
        EXPECT_EQ(control->geometry(), place.geometry) << place.role;
        if (!place.caption) continue;
        QString caption;
        if (auto* l = qobject_cast<QLabel*>(control)) caption = l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(control)) caption = b->text();
        if (auto* e = qobject_cast<QLineEdit*>(control)) caption = e->text();
        if (auto* g = qobject_cast<QGroupBox*>(control)) caption = g->title();
        EXPECT_EQ(caption, QString::fromUtf8(place.caption)) << place.role;
    }
}

TEST_F(WindowTest, BrowseWritesTheConfirmedFolderIntoFolderEdit) {
    dialogAnswer = QStringLiteral("/srv/照片");
    click(button("BrowseButton"));
    EXPECT_EQ(edit("FolderEdit")->text(), QStringLiteral("/srv/照片"));
    ASSERT_EQ(dialogPrompts.size(), 1u);
    EXPECT_EQ(dialogPrompts[0], QStringLiteral("请选择您要查找的文件夹并单击‘确定’按钮！"));
    EXPECT_EQ(dialogParents[0], window.get());
    EXPECT_EQ(window->fileList().rowCount(), 0) << "the list waits for FindButton";
}

TEST_F(WindowTest, ACancelledBrowseEmptiesFolderEdit) {
    typeInto(edit("FolderEdit"), QStringLiteral("/home/photos"));
    dialogAnswer = QString();
    click(button("BrowseButton"));
    EXPECT_EQ(dialogPrompts.size(), 1u);
    EXPECT_TRUE(edit("FolderEdit")->text().isEmpty());
}

TEST_F(WindowTest, EscapeInMarkEditClosesTheWindow) {
    QLineEdit* mark = edit("MarkEdit");
    click(mark);
    ASSERT_TRUE(mark->hasFocus());
    QTest::keyClick(mark, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTest, AHeaderClickLeavesTheRowsInOrder) {
    FileList& list = window->fileList();
    for (const char* name : {"b", "c", "a"}) {
        list.appendRow(FileRow{name, ByteText(std::string("/d/") + name)});
    }
    auto* view = child<FileListView>("FileListView");
    QHeaderView* header = view->header();
    ASSERT_EQ(view->model(), &list);
    EXPECT_EQ(header->sectionSize(0), 140);
    EXPECT_EQ(header->sectionSize(1), 400);
    for (int column : {0, 1, 0}) {
        const QPoint middle(header->sectionViewportPosition(column) + 20, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, middle);
    }
    EXPECT_EQ(rows(), (Rows{{"b", "/d/b"}, {"c", "/d/c"}, {"a", "/d/a"}}));
    EXPECT_EQ(view->indexAt(view->visualRect(list.index(0, 0)).center()).row(), 0);
    EXPECT_EQ(list.data(view->indexAt(view->visualRect(list.index(0, 0)).center())).toString(),
              QStringLiteral("b"));
}

}  // namespace
