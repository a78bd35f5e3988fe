#include "support/QtTestMain.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A screen the game's every size fits on (the plain offscreen one is 800 pixels square).
    QTemporaryDir screenDir;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        QFile config(screenDir.filePath(QStringLiteral("screen.json")));
        if (config.open(QIODevice::WriteOnly) &&
            config.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 2560, "height": 1600,)"
                         R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") > 0) {
            config.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
        }
    }
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    QTemporaryDir dataHome;  // the player's own files stay untouched
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QTemporaryDir configHome;  // and so do the player's settings
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    int failures = 0;
    for (const auto& run : capzel::test::registeredTests()) failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
