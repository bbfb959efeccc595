#include <QApplication>
#include <QFont>

#include "platform/log_file.h"
#include "platform/program_folder.h"
#include "ui/folder_picker.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
    // The program reads no command line: the toolkit is given the program's name alone.
    int toolkitArgc = argc > 0 ? 1 : 0;
    char* toolkitArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    ignoreFileSizeSignal();
    QApplication app(toolkitArgc, toolkitArgv);

    // The layout is made for a 12-pixel CJK sans serif.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    QApplication::setFont(font);

    // A relative folder typed by the user is taken relative to the program's folder.
    enterProgramFolder();

    MainWindow window;
    window.showFolderDialog = showSystemFolderDialog;
    window.show();
    window.centreOnScreen();
    return app.exec();
}
