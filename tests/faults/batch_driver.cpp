// Drives one batch through the real window, as the user would: folder and mark, FindButton,
// a mode button, the two texts, RenameButton. The rename log lands beside this executable, so
// a test copies it into the folder whose behaviour it wants to see.
//
//   batch_driver --folder DIR [--mark TEXT] --mode N [--primary TEXT] [--secondary TEXT]
//                [--hook SHELL-COMMAND]
//
// The hook runs between the scan and the batch, to change the files under the program's feet.
// It prints every listed row ("row<TAB>path", control bytes as \xNN) and, after the batch,
// the rows left ("left<TAB>n"). Exit 0 when the batch ran; 2 for bad arguments, 3 when the
// window would not start the batch, 4 when the hook failed.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "filelist/file_list.h"
#include "platform/code_page.h"
#include "platform/log_file.h"
#include "platform/program_folder.h"
#include "ui/main_window.h"

namespace {

std::string printable(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || byte == '\\') {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

template <typename Widget>
Widget* control(MainWindow& window, const QString& role) {
    auto* widget = window.findChild<Widget*>(role);
    if (widget == nullptr) {
        std::fprintf(stderr, "batch_driver: no control %s\n", qPrintable(role));
        std::exit(3);
    }
    return widget;
}

}  // namespace

int main(int argc, char** argv) {
    QString folder, mark, primary, secondary;
    std::string hook;
    int mode = -1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const char* option = argv[i];
        const QString value = QString::fromUtf8(argv[i + 1]);
        if (std::strcmp(option, "--folder") == 0) {
            folder = value;
        } else if (std::strcmp(option, "--mark") == 0) {
            mark = value;
        } else if (std::strcmp(option, "--mode") == 0) {
            mode = value.toInt();
        } else if (std::strcmp(option, "--primary") == 0) {
            primary = value;
        } else if (std::strcmp(option, "--secondary") == 0) {
            secondary = value;
        } else if (std::strcmp(option, "--hook") == 0) {
            hook = argv[i + 1];
        } else {
            std::fprintf(stderr, "batch_driver: unknown option %s\n", option);
            return 2;
        }
    }
    if (argc % 2 == 0 || mode < 1 || mode > 9) {
        std::fprintf(stderr, "batch_driver: --mode 1..9 and options in pairs are required\n");
        return 2;
    }

    // As the program's own start-up does.
    ignoreFileSizeSignal();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    QApplication app(toolkitArgc, toolkitArgv);
    enterProgramFolder();

    MainWindow window;
    window.show();

    control<QLineEdit>(window, QStringLiteral("FolderEdit"))->setText(folder);
    control<QLineEdit>(window, QStringLiteral("MarkEdit"))->setText(mark);
    control<QPushButton>(window, QStringLiteral("FindButton"))->click();

    const FileList& list = window.fileList();
    for (int32_t row = 0; row < list.rowCount(); ++row) {
        const std::string path = gb18030ToUtf8(list.cellText(row, 1)).value;
        std::printf("row\t%s\n", printable(path).c_str());
    }
    std::fflush(stdout);

    if (!hook.empty()) {
        const int status = std::system(hook.c_str());
        if (status != 0) {
            std::fprintf(stderr, "batch_driver: hook failed (%d)\n", status);
            return 4;
        }
    }

    control<QRadioButton>(window, QStringLiteral("ModeButton%1").arg(mode))->click();
    control<QLineEdit>(window, QStringLiteral("PrimaryEdit"))->setText(primary);
    control<QLineEdit>(window, QStringLiteral("SecondaryEdit"))->setText(secondary);
    auto* renameButton = control<QPushButton>(window, QStringLiteral("RenameButton"));
    if (!renameButton->isEnabled()) {
        std::fprintf(stderr, "batch_driver: RenameButton is disabled\n");
        return 3;
    }
    renameButton->click();

    std::printf("left\t%d\n", static_cast<int>(list.rowCount()));
    return 0;
}
