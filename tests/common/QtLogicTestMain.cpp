// main() of the test executables of logic: a QGuiApplication on the offscreen platform, so
// fonts, pictures and printing to PDF work without a display, and no widget can be made.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QTEST_DISABLE_STACK_DUMP", "1", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/kavina-test-runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        setenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit().constData(), 1);
    }
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
