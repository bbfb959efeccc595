#include "ui/folder_picker.h"

#include <QFileDialog>

#include "ui/edit_text.h"
#include "ui/main_window.h"

const QString MainWindow::kFolderPrompt =
    QStringLiteral("请选择您要查找的文件夹并单击‘确定’按钮！");

QString showSystemFolderDialog(QWidget* parent, const QString& prompt) {
    // Qt's own dialog: it has the field to type a folder in on every desktop.
    return QFileDialog::getExistingDirectory(
        parent, prompt, QStringLiteral("/"),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

void MainWindow::browseFolder() {
    const QString folder = showFolderDialog ? showFolderDialog(this, kFolderPrompt) : QString();
    // A cancelled dialog empties the field too.
    writeEditText(folderEdit_, folder);
}
