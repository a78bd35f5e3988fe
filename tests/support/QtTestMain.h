// Test classes register with CAPZEL_QT_TEST; one main() runs them all, offscreen,
// with private folders and a fixed font. quietOffscreenNotices() in initTestCase().
#pragma once

#include <QApplication>
#include <QtTest>
#include <functional>
#include <vector>

namespace capzel::test {

// Installs the filter in front of the handler the test log has installed.
inline void quietOffscreenNotices() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& msg) {
        if (msg.contains(QLatin1String("propagateSizeHints")) || msg.contains(QLatin1String("does not support raise()"))) return;
        if (previous) previous(type, context, msg);
    });
}

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
