// The Qt window tests: each test class registers itself with CAPZEL_QT_TEST,
// and one main() (QtTestMain.cpp) runs every class linked into the program:
// offscreen unless a platform is chosen, private runtime and data folders, and one
// fixed font family for pixel checks. Each test's initTestCase() calls
// quietOffscreenNotices() to keep the offscreen plugin's size-hint notices
// out of the output.
#pragma once

#include <QApplication>
#include <QtTest>
#include <functional>
#include <vector>

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

// Every test class of the program, each run with the program's arguments.
inline std::vector<std::function<int(int, char**)>>& registeredTests() {
    static std::vector<std::function<int(int, char**)>> tests;
    return tests;
}

}  // namespace capzel::test

#define CAPZEL_QT_TEST(TestClass)                                                          \
    static const bool TestClass##Registered = (capzel::test::registeredTests().push_back( \
                                                   [](int argc, char** argv) {            \
                                                       TestClass tc;                      \
                                                       return QTest::qExec(&tc, argc, argv); \
                                                   }),                                    \
                                               true);
