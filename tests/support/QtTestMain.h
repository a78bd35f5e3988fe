// Test classes derive from UiTest or WindowTest and register with CAPZEL_QT_TEST; one main()
// runs them all, offscreen, with private folders and a fixed font.
#pragma once

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <vector>

#include "support/WindowFixture.h"

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

// The main window open around each test; a class with its own init() or cleanup() opens or closes it there.
class WindowTest : public UiTest {
    Q_OBJECT
protected:
    WindowFixture f;
private slots:
    void init() { QVERIFY(f.open()); }
    void cleanup() { f.close(); }
};

inline QByteArray readBytes(const QString& path) {  // empty when unreadable
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Shows the widget; with CAPZEL_UI_SHOTS=DIR set, keeps its offscreen picture there as NAME.png, for a person to look at.
inline void saveShot(QWidget& w, const QString& name) {
    w.show();
    const QString dir = qEnvironmentVariable("CAPZEL_UI_SHOTS");
    if (!dir.isEmpty() && QDir().mkpath(dir)) w.grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

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
