#pragma once

#include <QWidget>
#include <functional>

#include "engine/rename_rules.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class FileList;
class FileListView;
class InputModeEdit;

// The program's one window. Its controls hold all state between events; every handler reads
// them when it needs them. Each control's objectName is its role (FolderEdit, FindButton...).
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The size of the client area: it holds every control, up to x = 547 and y = 264.
    static constexpr QSize kClientSize{550, 268};
    static const QString kCaption;
    static const QString kFolderPrompt;

    FileList& fileList() { return *fileList_; }
    // The folder dialog behind BrowseButton; a seam for tests. It gets the prompt and gives
    // the chosen folder, or the empty text.
    std::function<QString(QWidget* parent, const QString& prompt)> showFolderDialog;

    // The settings a batch renames with, read from the mode buttons and the two fields.
    RenameSettings renameSettings() const;
    // Places the window in the middle of the primary screen.
    void centreOnScreen();

    // Event handlers, one per event of the window.
    void browseFolder();
    void findFiles();
    void selectMode(RenameMode mode);
    void updateRenameButton();
    void runBatch();
    void addDroppedFiles(const ByteText& droppedPathText);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void wireEvents();

    FileList* fileList_;
    QLabel* folderLabel_;
    QLineEdit* folderEdit_;
    QPushButton* browseButton_;
    QLabel* markLabel_;
    QLineEdit* markEdit_;
    QPushButton* findButton_;
    QLabel* hintLabel_;
    FileListView* fileListView_;
    QGroupBox* modeGroup_;
    QButtonGroup* modeButtons_;
    QLabel* primaryLabel_;
    QLineEdit* primaryEdit_;
    QLabel* secondaryLabel_;
    InputModeEdit* secondaryEdit_;
    QPushButton* renameButton_;
    // Set once the window has been closed: a scan running below us stops at its next step.
    bool closed_ = false;
};
