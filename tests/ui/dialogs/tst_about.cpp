// The About box: the piece, the link, "System Info...", closing, and Help > About.
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
#include "ui/windows/AboutPiece.h"
#include "ui/windows/Config.h"
#include "ui/windows/Twips.h"

using capzel::ui::AboutPiece;
using capzel::ui::AboutBox;
using capzel::ui::ipx;

namespace {

QColor pixelAtPiece(AboutBox& w) {
    const AboutPiece& p = w.piece();
    const double cx = (double(p.left) + double(p.width) / 2) * capzel::ui::kAboutUnitX;
    const double cy = (double(p.top) + double(p.height) / 2) * capzel::ui::kAboutUnitY;
    return w.grab().toImage().pixelColor(ipx(cx), ipx(cy));
}

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

    void windowPaintsThePiece() {
        AboutBox w;
        w.setRandomBit([] { return 1; });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(pixelAtPiece(w), QColor(255, 255, 255));
        w.changePieceColor();
        QCOMPARE(pixelAtPiece(w), QColor(127, 0, 0));
        for (int k = 0; k < 30; ++k) w.animatePiece();
        QVERIFY(w.piece().top < w.piece().floorY - w.piece().height - 500);
        QCOMPARE(pixelAtPiece(w), QColor(127, 0, 0));  // drawn where it flies
    }

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
