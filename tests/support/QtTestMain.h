// main() for the Qt window tests: offscreen unless a platform is chosen,
// private runtime and data folders, and one fixed font family for pixel checks.
// Each test's initTestCase() calls quietOffscreenNotices() to keep the
// offscreen plugin's size-hint notices out of the output.
#pragma once

#include <QApplication>
#include <QFont>
#include <QTemporaryDir>
#include <QtTest>

namespace capzel::test {

inline QtMessageHandler& previousMessageHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void quietMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.contains(QLatin1String("propagateSizeHints"))) return;
    if (msg.contains(QLatin1String("does not support raise()"))) return;
    if (previousMessageHandler()) previousMessageHandler()(type, context, msg);
}

// Installs the filter in front of the handler the test log has installed.
inline void quietOffscreenNotices() { previousMessageHandler() = qInstallMessageHandler(quietMessageHandler); }

}  // namespace capzel::test

#define CAPZEL_QT_TEST_MAIN(TestClass)                                   \
    int main(int argc, char** argv) {                                    \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))              \
            qputenv("QT_QPA_PLATFORM", "offscreen");                     \
        QTemporaryDir runtimeDir;                                        \
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))              \
            qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit()); \
        QTemporaryDir dataHome; /* the player's files stay untouched */  \
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());         \
        QApplication app(argc, argv);                                    \
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));  \
        TestClass tc;                                                    \
        return QTest::qExec(&tc, argc, argv);                            \
    }
