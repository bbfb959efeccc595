#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>

#include "platform/code_page.h"
#include "ui/edit_text.h"
#include "ui/input_mode_edit.h"
#include "ui/main_window.h"

namespace {

QString primaryCaption(RenameMode mode) {
    switch (mode) {
        case RenameMode::ReplaceText:
            return QStringLiteral("欲搜索的文字：");
        case RenameMode::SplitKeepFront:
        case RenameMode::SplitKeepBack:
            return QStringLiteral("被分割的关键字：");
        case RenameMode::KeywordWithFront:
        case RenameMode::KeywordWithBack:
            return QStringLiteral("以分割的关键字：");
        default:
            return QStringLiteral("欲增加的文字：");
    }
}

bool usesSecondText(RenameMode mode) {
    return mode == RenameMode::ReplaceText || mode == RenameMode::InsertFromFront ||
           mode == RenameMode::InsertFromBack;
}

}  // namespace

void MainWindow::selectMode(RenameMode mode) {
    if (mode == RenameMode::NoMode) return;
    const bool second = usesSecondText(mode);
    primaryLabel_->setText(primaryCaption(mode));
    if (second) {
        secondaryLabel_->setText(mode == RenameMode::ReplaceText
                                     ? QStringLiteral("欲修改的文字：")
                                     : QStringLiteral("增加文字的位置："));
    }
    primaryLabel_->show();
    primaryEdit_->show();
    if (second) {
        secondaryLabel_->show();
    } else {
        secondaryLabel_->hide();
        secondaryEdit_->hide();
    }
    // Emptying the field raises its text-changed event, which disables RenameButton.
    writeEditText(primaryEdit_, QString());
    writeEditText(secondaryEdit_, QString());
    if (second) {
        secondaryEdit_->show();
        secondaryEdit_->setInputMode(mode == RenameMode::ReplaceText ? InputMode::FreeText
                                                                     : InputMode::IntegerOnly);
    }
}

void MainWindow::updateRenameButton() {
    renameButton_->setEnabled(!primaryEdit_->text().isEmpty());
}

RenameSettings MainWindow::renameSettings() const {
    RenameSettings settings;
    // The buttons are asked in the order of the modes; the first checked one decides.
    for (int id = static_cast<int>(RenameMode::AddPrefix);
         id <= static_cast<int>(RenameMode::InsertFromBack); ++id) {
        if (modeButtons_->button(id)->isChecked()) {
            settings.mode = static_cast<RenameMode>(id);
            break;
        }
    }
    settings.primaryText = qStringToGb18030(primaryEdit_->text()).value;
    settings.secondaryText = qStringToGb18030(secondaryEdit_->text()).value;
    return settings;
}
