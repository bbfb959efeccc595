#include "ui/main_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <limits>

#include "filelist/file_list.h"
#include "ui/file_list_view.h"
#include "ui/input_mode_edit.h"

const QString MainWindow::kCaption = QStringLiteral("Vantorel1.0      ＢＹ：Quessin");

namespace {

struct ModeButtonPlace {
    RenameMode mode;
    const char* caption;
    QRect geometry;  // inside ModeGroup
};

// In the order the buttons sit in the group: the left column, then the right one.
const ModeButtonPlace kModeButtons[] = {
    {RenameMode::AddPrefix, "批量增加前缀", {10, 12, 104, 24}},
    {RenameMode::AddSuffix, "批量增加后缀", {10, 29, 104, 24}},
    {RenameMode::ReplaceText, "批量替换内容", {10, 46, 104, 24}},
    {RenameMode::InsertFromFront, "由前向后增加", {10, 63, 104, 24}},
    {RenameMode::InsertFromBack, "由后向前增加", {10, 80, 104, 24}},
    {RenameMode::SplitKeepFront, "以关键字分割保留前部分", {120, 10, 154, 24}},
    {RenameMode::SplitKeepBack, "以关键字分割保留后部分", {120, 33, 154, 24}},
    {RenameMode::KeywordWithFront, "保留关键字和前部分", {120, 56, 144, 24}},
    {RenameMode::KeywordWithBack, "保留关键字和后部分", {120, 78, 144, 24}},
};

template <typename Control>
Control* place(Control* control, const char* role, QRect geometry) {
    control->setObjectName(QString::fromLatin1(role));
    control->setGeometry(geometry);
    return control;
}

QLabel* makeLabel(QWidget* parent, const char* role, const QString& caption, QRect geometry) {
    auto* label = place(new QLabel(caption, parent), role, geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

template <typename Edit = QLineEdit>
Edit* makeEdit(QWidget* parent, const char* role, QRect geometry) {
    auto* edit = place(new Edit(parent), role, geometry);
    // Drops of files belong to the window, and dragged text is refused everywhere.
    edit->setAcceptDrops(false);
    // No length limit: QLineEdit would cut a long text (a drop of many paths) at 32767.
    edit->setMaxLength(std::numeric_limits<int>::max());
    return edit;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      fileList_(new FileList(this)) {
    setWindowTitle(kCaption);
    setFixedSize(kClientSize);
    createControls();
    wireEvents();
    // The window is the one drop target, for itself and every control on it.
    setAcceptDrops(true);
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    folderLabel_ = makeLabel(this, "FolderLabel", QStringLiteral("文件夹地址："), {8, 8, 72, 24});
    folderEdit_ = makeEdit(this, "FolderEdit", {80, 8, 384, 20});
    browseButton_ =
        place(new QPushButton(QStringLiteral("选择目录"), this), "BrowseButton", {472, 8, 72, 21});
    markLabel_ = makeLabel(this, "MarkLabel", QStringLiteral("文件名标识："), {8, 33, 77, 24});
    markEdit_ = makeEdit(this, "MarkEdit", {101, 35, 91, 20});
    findButton_ =
        place(new QPushButton(QStringLiteral("查找"), this), "FindButton", {206, 34, 64, 24});

    hintLabel_ =
        makeLabel(this, "HintLabel", QStringLiteral("新版本支持文件夹拖拽了哦，快来试试吧！"),
                  {295, 33, 240, 24});
    hintLabel_->setAlignment(Qt::AlignCenter);
    hintLabel_->setStyleSheet(
        QStringLiteral("QLabel#HintLabel { border: 1px solid #000000; color: #000000;"
                       " background: qlineargradient(x1:0, y1:0, x2:1, y2:0,"
                       " stop:0 #ff0000, stop:0.5 #ffff00, stop:1 #00ffff); }"));

    fileListView_ = place(new FileListView(this), "FileListView", {3, 63, 544, 92});
    fileListView_->setModel(fileList_);

    modeGroup_ =
        place(new QGroupBox(QStringLiteral("选择改名方式"), this), "ModeGroup", {6, 158, 282, 106});
    // The frame runs through the middle of the title, clear of the first row of buttons.
    modeGroup_->setStyleSheet(QStringLiteral(
        "QGroupBox#ModeGroup { border: 1px solid #a0a0a0; border-radius: 2px; margin-top: 6px; }"
        "QGroupBox#ModeGroup::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 7px; top: 0px; padding: 0px 2px; }"));
    modeButtons_ = new QButtonGroup(this);
    modeButtons_->setExclusive(true);
    for (const ModeButtonPlace& button : kModeButtons) {
        auto* radio = new QRadioButton(QString::fromUtf8(button.caption), modeGroup_);
        radio->setObjectName(QStringLiteral("ModeButton%1").arg(static_cast<int>(button.mode)));
        radio->setGeometry(button.geometry);
        modeButtons_->addButton(radio, static_cast<int>(button.mode));
    }

    primaryLabel_ =
        makeLabel(this, "PrimaryLabel", QStringLiteral("欲查找的文字："), {298, 168, 93, 24});
    primaryEdit_ = makeEdit(this, "PrimaryEdit", {392, 168, 144, 20});
    secondaryLabel_ =
        makeLabel(this, "SecondaryLabel", QStringLiteral("欲替换的文字："), {298, 189, 93, 24});
    secondaryEdit_ = makeEdit<InputModeEdit>(this, "SecondaryEdit", {392, 190, 144, 20});
    for (QWidget* hidden :
         {static_cast<QWidget*>(primaryLabel_), static_cast<QWidget*>(primaryEdit_),
          static_cast<QWidget*>(secondaryLabel_), static_cast<QWidget*>(secondaryEdit_)}) {
        hidden->hide();
    }

    renameButton_ = place(new QPushButton(QStringLiteral("一键Vantorel"), this), "RenameButton",
                          {304, 219, 233, 37});
    QFont songBold;
    songBold.setFamilies(
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN")});
    songBold.setPixelSize(16);
    songBold.setBold(true);
    renameButton_->setFont(songBold);
    renameButton_->setEnabled(false);
}

void MainWindow::wireEvents() {
    connect(browseButton_, &QPushButton::clicked, this, &MainWindow::browseFolder);
    connect(findButton_, &QPushButton::clicked, this, &MainWindow::findFiles);
    connect(modeButtons_, &QButtonGroup::idClicked, this,
            [this](int id) { selectMode(static_cast<RenameMode>(id)); });
    connect(primaryEdit_, &QLineEdit::textChanged, this, &MainWindow::updateRenameButton);
    connect(renameButton_, &QPushButton::clicked, this, &MainWindow::runBatch);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void MainWindow::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->geometry();
    const QSize outer = frameGeometry().size();
    move(available.x() + (available.width() - outer.width()) / 2,
         available.y() + (available.height() - outer.height()) / 2);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    closed_ = true;
    QWidget::closeEvent(event);
}
