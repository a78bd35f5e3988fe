// Test classes derive from UiTest and register with CAPZEL_QT_TEST; one main()
// runs them all, offscreen, with private folders and a fixed font.
#pragma once

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <vector>

namespace capzel::test {

// Drops the offscreen plugin's notices, in front of the handler the test log has installed.
inline void quietOffscreenNotices() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& msg) {
        if (msg.contains(QLatin1String("propagateSizeHints")) || msg.contains(QLatin1String("does not support raise()"))) return;
        if (previous) previous(type, context, msg);
    });
}

class UiTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { quietOffscreenNotices(); }  // a class with its own calls it too
};

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
