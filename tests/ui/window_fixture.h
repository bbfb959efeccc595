#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/rename_rules.h"
#include "filelist/file_list.h"
#include "ui/input_mode_edit.h"
#include "ui/main_window.h"

using Rows = std::vector<std::pair<std::string, std::string>>;

// A shown, active main window whose folder dialog answers what the test says, and whose work
// list is watched by Qt's model checker throughout.
class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>();
        modelTester = std::make_unique<QAbstractItemModelTester>(
            &window->fileList(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        window->showFolderDialog = [this](QWidget* parent, const QString& prompt) {
            dialogParents.push_back(parent);
            dialogPrompts.push_back(prompt);
            return dialogAnswer;
        };
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        modelTester.reset();
        window.reset();
    }

    template <typename Widget>
    Widget* child(const char* role) const {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(role));
        EXPECT_NE(widget, nullptr) << role;
        return widget;
    }
    QLineEdit* edit(const char* role) const { return child<QLineEdit>(role); }
    QLabel* label(const char* role) const { return child<QLabel>(role); }
    QPushButton* button(const char* role) const { return child<QPushButton>(role); }
    InputModeEdit* secondaryEdit() const { return child<InputModeEdit>("SecondaryEdit"); }
    QRadioButton* modeButton(RenameMode mode) const {
        const std::string role = "ModeButton" + std::to_string(static_cast<int>(mode));
        return child<QRadioButton>(role.c_str());
    }

    // A mouse click on the round mark of a mode button, where the user clicks.
    void clickMode(RenameMode mode) const {
        QRadioButton* radio = modeButton(mode);
        QStyleOptionButton option;
        option.initFrom(radio);
        const QRect mark =
            radio->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, radio);
        QTest::mouseClick(radio, Qt::LeftButton, Qt::NoModifier, mark.center());
    }
    // Clicks into a field, which takes the focus as for the user, and types.
    static void typeInto(QLineEdit* field, const QString& text) {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClicks(field, text);
    }
    static void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    Rows rows() const {
        Rows rows;
        const FileList& list = window->fileList();
        for (int32_t row = 0; row < list.rowCount(); ++row) {
            rows.emplace_back(list.cellText(row, 0).bytes(), list.cellText(row, 1).bytes());
        }
        return rows;
    }

    std::unique_ptr<MainWindow> window;
    std::unique_ptr<QAbstractItemModelTester> modelTester;
    QString dialogAnswer;
    std::vector<QWidget*> dialogParents;
    std::vector<QString> dialogPrompts;
};

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
