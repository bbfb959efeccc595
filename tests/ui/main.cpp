#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // The widget tests need no display; test discovery runs us without ctest's environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The font the program itself sets up, so the controls look as they do for the user.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    return RUN_ALL_TESTS();
}
