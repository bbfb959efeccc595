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
    // Read for every name; converted again only when the field's text has changed.
    ByteText markText() override {
        const QString text = markEdit_.text();
        if (text != lastMark_) {
            lastMark_ = text;
            lastMarkBytes_ = qStringToGb18030(text).value;
        }
        return lastMarkBytes_;
    }
    void processPendingEvents() override { pump_.processPendingEvents(); }
    bool stopRequested() override { return closed_; }

private:
    const QLineEdit& markEdit_;
    const bool& closed_;
    EventPump pump_;
    QString lastMark_;
    ByteText lastMarkBytes_;
};

}  // namespace

void MainWindow::findFiles() {
    fileList_->clearList();
    WindowScanHooks hooks(*markEdit_, closed_);
    scanFolder(qStringToGb18030(folderEdit_->text()).value, *fileList_, hooks);
}
