// The About box as the program opens it from Help > About: not modal, one at
// a time, off the task bar as a dialog of the main window, alive across a
// new main window, gone when closed; and "System Info..." starting the
// first system-information program it finds.
#include <QAction>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <memory>

#include "support/BoxAnswerer.h"
#include "support/QtTestMain.h"
#include "ui/App.h"
#include "ui/AboutBox.h"
#include "ui/MainWindow.h"

using capzel::ui::CapzelApp;
using capzel::ui::AboutBox;
using capzel::ui::MainWindow;

namespace {

QList<AboutBox*> openAboutBoxes() {
    QList<AboutBox*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* about = qobject_cast<AboutBox*>(w); about && about->isVisible()) out << about;
    return out;
}

}  // namespace

class AboutMenuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CapzelApp> app_;
    MainWindow* w_ = nullptr;

    AboutBox* openFromMenu() {
        w_->menus().aboutAction->trigger();
        const QList<AboutBox*> boxes = openAboutBoxes();
        return boxes.size() == 1 ? boxes.first() : nullptr;
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }

    void init() {
        app_ = std::make_unique<CapzelApp>();
        w_ = &app_->openMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w_));
    }
    void cleanup() {
        for (AboutBox* a : openAboutBoxes()) delete a;
        app_.reset();
        w_ = nullptr;
    }

    void opensNotModal() {
        QPointer<AboutBox> about = openFromMenu();
        QVERIFY(about);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QCOMPARE(about->windowTitle(), QString("About Capzel"));
        QVERIFY(!about->isModal());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(about->windowHandle()->transientParent(), w_->windowHandle());
    }

    void aSecondAboutBringsTheFirstBack() {
        QPointer<AboutBox> first = openFromMenu();
        QVERIFY(first);
        w_->menus().aboutAction->trigger();
        QCOMPARE(openAboutBoxes().size(), 1);
        QVERIFY(openAboutBoxes().first() == first);
        first->close();
        QTRY_VERIFY(first.isNull());
        // Closed, the next About is a new box that starts afresh.
        AboutBox* next = openFromMenu();
        QVERIFY(next);
        QCOMPARE(next->colorIndex(), 1);
    }

};

CAPZEL_QT_TEST(AboutMenuTest)

#include "tst_about_menu.moc"
