// The About box from Help > About: the link, "System Info...", closing.
#include <QAction>
#include <QApplication>
#include <QWindow>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "support/QtTestMain.h"
#include "support/UrlRecorder.h"
#include "support/WindowFixture.h"
#include "ui/windows/AboutBox.h"
#include "ui/windows/Config.h"

using capzel::ui::AboutBox;

namespace {

QList<AboutBox*> openAboutBoxes() {
    QList<AboutBox*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* about = qobject_cast<AboutBox*>(w); about && about->isVisible()) out << about;
    return out;
}

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }

    // Help > About: not modal, the main window's dialog, one at a time; only
    // the link opens the home page; System Info without a program says so;
    // Esc or OK destroys it, and the next one starts afresh.
    void openedFromTheMenu() {
        capzel::test::UrlRecorder urls({"https", "http"});
        capzel::test::WindowFixture f;
        QVERIFY(f.open());
        QAction* about = f.window().menus().aboutAction;
        about->trigger();
        QCOMPARE(openAboutBoxes().size(), 1);
        QPointer<AboutBox> first = openAboutBoxes().first();
        QVERIFY(QTest::qWaitForWindowExposed(first));
        QVERIFY(!first->isModal() && QApplication::activeModalWidget() == nullptr);
        QCOMPARE(first->windowHandle()->transientParent(), f.window().windowHandle());
        about->trigger();
        QCOMPARE(openAboutBoxes(), QList<AboutBox*>{first.data()});
        QLabel* here = first->findChild<QLabel*>("homePageLink");
        QTest::mouseClick(here, Qt::LeftButton, {}, here->rect().center());
        QTest::mouseClick(first->findChild<QLabel*>("descriptionLabel"), Qt::LeftButton);
        QCOMPARE(urls.opened, QList<QUrl>{QUrl(capzel::config::kHomePage)});
        first->setSysInfoPrograms({"capzel-no-such-system-information-program"});
        QTest::mouseClick(first->findChild<QPushButton*>("systemInfoButton"), Qt::LeftButton);
        QCOMPARE(f.modals->messages(), QStringList{"System Information Is Unavailable At This Time"});
        QVERIFY(first && first->isVisible());
        QTest::keyClick(first, Qt::Key_Escape);
        QTRY_VERIFY(first.isNull());
        about->trigger();
        QPointer<AboutBox> second = openAboutBoxes().value(0);
        QVERIFY(second && openAboutBoxes().size() == 1);
        QCOMPARE(second->colorIndex(), 1);
        QTest::mouseClick(second->findChild<QPushButton*>("okButton"), Qt::LeftButton);
        QTRY_VERIFY(second.isNull());
    }
};

CAPZEL_QT_TEST(AboutBoxTest)
#include "tst_about.moc"
