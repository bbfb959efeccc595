#include <QPushButton>

#include "engine/batch_rename.h"
#include "filelist/file_list.h"
#include "platform/log_file.h"
#include "platform/rename_file.h"
#include "ui/input_mode_edit.h"
#include "ui/main_window.h"

namespace {

// The batch's view of the window, the work list and the file system.
class WindowBatchPorts : public BatchPorts {
public:
    WindowBatchPorts(const MainWindow& window, FileList& list)
        : window_(window), list_(list), log_(renameLogPath()) {}

    int32_t rowCount() const override { return list_.rowCount(); }
    ByteText cellText(int32_t row, int32_t column) const override {
        return list_.cellText(row, column);
    }
    void removeRow(int32_t row) override { list_.removeRow(row); }
    RenameSettings settings() const override { return window_.renameSettings(); }
    bool renameFile(const ByteText& oldPath, const ByteText& newPath) override {
        return ::renameFile(oldPath, newPath);
    }
    void appendRenameLog(const ByteText& record) override { ::appendRenameLog(record, log_); }

private:
    const MainWindow& window_;
    FileList& list_;
    RenameLogFile log_;
};

}  // namespace

void MainWindow::runBatch() {
    // The batch must read the position as normalised on leaving the field, so the field loses
    // the focus before anything is read, however the button was pressed.
    if (secondaryEdit_->hasFocus()) renameButton_->setFocus(Qt::OtherFocusReason);
    WindowBatchPorts ports(*this, *fileList_);
    runBatchRename(ports);
}
