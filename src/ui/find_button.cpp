#include <QLineEdit>

#include "filelist/file_list.h"
#include "filelist/folder_scan.h"
#include "platform/code_page.h"
#include "ui/event_pump.h"
#include "ui/main_window.h"

namespace {

class WindowScanHooks : public ScanHooks {
public:
    WindowScanHooks(const QLineEdit& markEdit, const bool& closed)
        : markEdit_(markEdit), closed_(closed) {}
    ByteText markText() override { return qStringToGb18030(markEdit_.text()).value; }
    void processPendingEvents() override { pump_.processPendingEvents(); }
    bool stopRequested() override { return closed_; }

private:
    const QLineEdit& markEdit_;
    const bool& closed_;
    EventPump pump_;
};

}  // namespace

void MainWindow::findFiles() {
    fileList_->clearList();
    WindowScanHooks hooks(*markEdit_, closed_);
    scanFolder(qStringToGb18030(folderEdit_->text()).value, *fileList_, hooks);
}
