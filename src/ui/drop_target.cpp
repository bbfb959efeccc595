#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>

#include "filelist/dropped_files.h"
#include "platform/code_page.h"
#include "ui/edit_text.h"
#include "ui/main_window.h"

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

// Only drags that carry local files or folders are taken; text, links and pictures are not.
bool carriesLocalFiles(const QMimeData* mime) {
    return mime && mime->hasFormat(kUriList) &&
           !localPathsFromUriList(mime->data(kUriList)).empty();
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (carriesLocalFiles(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (carriesLocalFiles(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!carriesLocalFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    const ByteText text = droppedPathText(localPathsFromUriList(event->mimeData()->data(kUriList)));
    if (!text.empty()) addDroppedFiles(text);
}

void MainWindow::addDroppedFiles(const ByteText& droppedPathText) {
    writeEditText(folderEdit_, gb18030ToQString(droppedPathText).value);
    listDroppedFiles(droppedPathText, *fileList_);
}
