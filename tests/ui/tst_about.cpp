// The About box: its texts and window, the bouncing piece's arithmetic tick
// by tick, the colour cycle, the home-page link, "System Info..." without a
// system-information program, and closing.
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "ui/AboutPiece.h"
#include "ui/Config.h"
#include "ui/FrmAbout.h"
#include "ui/Twips.h"

using capzel::Color;
using capzel::rgb;
using capzel::ui::AboutColorCycle;
using capzel::ui::AboutPiece;
using capzel::ui::FrmAbout;
using capzel::ui::ipx;

namespace {

AboutPiece pieceWithBit(int bit) {
    return AboutPiece([bit] { return bit; });
}

// A piece in flight high above the floor, away from the walls.
AboutPiece flyingAt(float left, float top, double speedX, double speedY) {
    AboutPiece p = pieceWithBit(0);
    p.BounceState = AboutPiece::kFlying;
    p.Left = left;
    p.Top = top;
    p.SpeedX = speedX;
    p.SpeedY = speedY;
    return p;
}

float plus(float a, double b) { return float(double(a) + b); }

QColor pixelAtPiece(FrmAbout& w) {
    const AboutPiece& p = w.piece();
    const double cx = (double(p.Left) + double(p.Width) / 2) * capzel::ui::kAboutUnitX;
    const double cy = (double(p.Top) + double(p.Height) / 2) * capzel::ui::kAboutUnitY;
    return w.grab().toImage().pixelColor(ipx(cx), ipx(cy));
}

void saveGrab(QWidget& w, const char* name) {
    const QByteArray dir = qgetenv("CAPZEL_GRAB_DIR");
    if (!dir.isEmpty()) w.grab().save(QString::fromLocal8Bit(dir) + "/" + name);
}

}  // namespace

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void textsAndWindow();
    void startsRestingOnTheFloor();
    void firstTickLaunches_data();
    void firstTickLaunches();
    void secondTickLifts49();
    void jumpRisesAndFallsBack();
    void bounceKeepsNineTenths();
    void slowLandingRests();
    void sideWalls_data();
    void sideWalls();
    void sideSpeedFadesThenStops_data();
    void sideSpeedFadesThenStops();
    void colourCycleOf27();
    void windowPaintsThePiece();
    void linkOpensHomePage();
    void sysInfoUnavailable();
    void closedByOkAndEscape_data();
    void closedByOkAndEscape();
};

void TestAbout::textsAndWindow() {
    FrmAbout w;
    QCOMPARE(w.windowTitle(), QString("About Capzel"));
    auto text = [&](const char* name) { return w.findChild<QLabel*>(name)->text(); };
    QCOMPARE(text("lblTitle"), QString("Capzel"));
    QCOMPARE(text("lblVersion"), QString("Version 1.0.0"));
    QCOMPARE(text("lblDescription0"), QString("Game Programmed by: Norvin Telk"));
    QCOMPARE(text("lblDescription3"), QString("Web Site help: ") + capzel::config::kWebSiteHelper);
    QCOMPARE(text("lblDescription1"), QString("For the most recent updates click"));
    QCOMPARE(text("lblDescription2"), QString("here"));
    QVERIFY(text("lblDisclaimer").startsWith("Warning: "));
    QVERIFY(w.findChild<QLabel*>("lblTitle")->font().bold());

    const QLabel* here = w.findChild<QLabel*>("lblDescription2");
    QCOMPARE(here->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(here->cursor().shape(), Qt::PointingHandCursor);
    // "here" follows the text on the same line without overlapping it.
    const QLabel* click = w.findChild<QLabel*>("lblDescription1");
    QCOMPARE(here->y(), click->y());
    QVERIFY(click->x() + click->fontMetrics().horizontalAdvance(click->text()) < here->x());

    QCOMPARE(w.findChild<QPushButton*>("cmdSysInfo")->text(), QString("&System Info..."));
    QVERIFY(w.findChild<QPushButton*>("cmdOK")->isDefault());

    QVERIFY(!w.isModal());
    QCOMPARE(w.windowType(), Qt::Dialog);  // a dialog: no button of its own in the task bar
    QVERIFY(!(w.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    QCOMPARE(w.geometry(), QRect(ipx(2340), ipx(1935), ipx(5730), ipx(3555)));
}

void TestAbout::startsRestingOnTheFloor() {
    FrmAbout w;
    const AboutPiece& p = w.piece();
    QCOMPARE(p.BounceState, AboutPiece::kJump);
    QCOMPARE(p.SpeedX, 0.0);
    QCOMPARE(p.SpeedY, 0.0);
    QCOMPARE(float(double(p.Top) + double(p.Height)), p.Floor);
    // 300 twips square, left at 2714 twips, in the window's own units.
    QCOMPARE(qRound(double(p.Left) * capzel::ui::kAboutUnitX), 2714);
    QCOMPARE(qRound(double(p.Width) * capzel::ui::kAboutUnitX), 300);
    QCOMPARE(qRound(double(p.Height) * capzel::ui::kAboutUnitY), 300);
    QCOMPARE(qRound(double(p.Floor) * capzel::ui::kAboutUnitY), 2460);
    QCOMPARE(w.pieceColor(), rgb(255, 255, 255));
    QCOMPARE(w.colorIndex(), 1);
}

void TestAbout::firstTickLaunches_data() {
    QTest::addColumn<int>("bit");
    QTest::addColumn<double>("speedX");
    QTest::newRow("0 to the left") << 0 << -50.0;
    QTest::newRow("1 to the right") << 1 << 50.0;
}

void TestAbout::firstTickLaunches() {
    QFETCH(int, bit);
    QFETCH(double, speedX);
    AboutPiece p = pieceWithBit(bit);
    const float left = p.Left, top = p.Top;
    p.tick();
    QCOMPARE(p.BounceState, AboutPiece::kFlying);
    QCOMPARE(p.SpeedY, -50.0);
    QCOMPARE(p.SpeedX, speedX);
    QCOMPARE(p.Left, left);  // nothing moves in this tick
    QCOMPARE(p.Top, top);

    // A later jump adds its 50 to what sideways speed is left.
    p.BounceState = AboutPiece::kJump;
    p.SpeedX = 7;
    p.tick();
    QCOMPARE(p.SpeedX, 7 + speedX);
}

void TestAbout::secondTickLifts49() {
    AboutPiece p = pieceWithBit(1);
    const float left = p.Left, top = p.Top;
    p.tick();
    p.tick();
    QCOMPARE(p.SpeedY, -49.0);
    QCOMPARE(p.Top, plus(top, -49.0));
    QCOMPARE(p.SpeedX, 50 * 0.999);
    QCOMPARE(p.Left, plus(left, 50 * 0.999));
}

void TestAbout::jumpRisesAndFallsBack() {
    AboutPiece p = pieceWithBit(0);
    p.Left = 2500;
    const float top = p.Top;
    p.tick();
    float highest = p.Top;
    double falling = 0;  // downward speed after the last tick without a bounce
    for (int ticks = 0; !(falling > 0 && p.SpeedY < 0); ++ticks) {
        if (ticks > 1000) QFAIL("the piece never came back down");
        p.tick();
        highest = std::min(highest, p.Top);
        if (p.SpeedY >= 0) falling = p.SpeedY;
    }
    // 49 + 48 + ... + 1 units up; it comes back down at 49 or 50 units per
    // tick (the float rounding decides which tick meets the floor) and goes
    // up again with nine tenths of that, from the floor line.
    QVERIFY(qAbs(double(top) - double(highest) - 1225.0) < 0.01);
    const double impact = falling + 1;
    QVERIFY(impact == 49 || impact == 50);
    QCOMPARE(p.SpeedY, impact * -0.9);
    QCOMPARE(p.Top, float(double(p.Floor) - double(p.Height)));
    QCOMPARE(p.BounceState, AboutPiece::kFlying);
}

void TestAbout::bounceKeepsNineTenths() {
    AboutPiece p = pieceWithBit(0);
    const float restingTop = p.Top;
    p = flyingAt(2000, plus(restingTop, -5), 0, 9);
    p.tick();  // falls at 10 units per tick and meets the floor
    QCOMPARE(p.SpeedY, -9.0);
    QCOMPARE(p.Top, float(double(p.Floor) - double(p.Height)));
    QCOMPARE(p.BounceState, AboutPiece::kFlying);
    p.tick();  // and goes on upward
    QCOMPARE(p.SpeedY, -8.0);
    QCOMPARE(p.Top, plus(float(double(p.Floor) - double(p.Height)), -8.0));
}

void TestAbout::slowLandingRests() {
    AboutPiece p = pieceWithBit(1);
    const float onFloor = p.Top;
    p = flyingAt(2000, plus(onFloor, -0.2), 3, -0.5);
    p.tick();  // falls at 0.5: too slow to bounce
    QCOMPARE(p.BounceState, AboutPiece::kRestTicks);
    QCOMPARE(p.SpeedY, 0.0);
    QCOMPARE(p.Top, plus(plus(onFloor, -0.2), 0.5));  // stays where it came to rest
    const float top = p.Top;
    for (int k = 0; k < AboutPiece::kRestTicks; ++k) {
        QCOMPARE(p.BounceState, AboutPiece::kRestTicks - k);
        const double speedX = p.SpeedX;
        const float left = p.Left;
        p.tick();
        QCOMPARE(p.SpeedX, speedX * 0.999);  // rolls on, slowing down
        QCOMPARE(p.Left, plus(left, speedX * 0.999));
        QCOMPARE(p.Top, top);
    }
    QCOMPARE(p.BounceState, AboutPiece::kJump);
    p.tick();
    QCOMPARE(p.SpeedY, -50.0);
    QCOMPARE(p.Top, top);
}

void TestAbout::sideWalls_data() {
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("resting");
    QTest::newRow("right wall in flight") << true << false;
    QTest::newRow("left wall in flight") << false << false;
    QTest::newRow("right wall while rolling") << true << true;
    QTest::newRow("left wall while rolling") << false << true;
}

void TestAbout::sideWalls() {
    QFETCH(bool, right);
    QFETCH(bool, resting);
    AboutPiece p = flyingAt(0, 600, 0, 0);
    const double speed = right ? 20.0 : -20.0;
    p.Left = right ? float(double(p.ScaleWidth) - double(p.Width) - 5) : 5.0f;
    p.SpeedX = speed;
    if (resting) p.BounceState = 50;
    p.tick();
    QCOMPARE(p.SpeedX, speed * 0.999 * -0.95);  // 95 % of the speed, reversed
    QCOMPARE(p.Left, right ? float(double(p.ScaleWidth) - double(p.Width)) : 0.0f);  // against the wall
    p.tick();  // and away from it again
    QVERIFY(right ? p.Left < float(double(p.ScaleWidth) - double(p.Width)) : p.Left > 0);
}

void TestAbout::sideSpeedFadesThenStops_data() {
    QTest::addColumn<double>("speedX");
    QTest::addColumn<double>("after");
    QTest::newRow("0.004 shows as 0.00") << 0.004 << 0.0;
    QTest::newRow("-0.004 too") << -0.004 << 0.0;
    QTest::newRow("0.006 shows as 0.01") << 0.006 << 0.006 * 0.999;
    QTest::newRow("12 fades") << 12.0 << 12 * 0.999;
}

void TestAbout::sideSpeedFadesThenStops() {
    QFETCH(double, speedX);
    QFETCH(double, after);
    AboutPiece p = flyingAt(2000, 600, speedX, 0);
    p.tick();
    QCOMPARE(p.SpeedX, after);
}

void TestAbout::colourCycleOf27() {
    FrmAbout w;
    QList<Color> seen;
    for (int k = 1; k <= 28; ++k) {
        w.Timer1_Timer();
        seen << w.pieceColor();
    }
    QCOMPARE(seen[0], rgb(127, 0, 0));   // first change
    QCOMPARE(seen[25], rgb(127, 255, 255));
    QCOMPARE(seen[26], rgb(0, 0, 0));    // 27th: back to index 1
    QCOMPARE(w.colorIndex(), 2);
    QCOMPARE(seen[27], rgb(127, 0, 0));  // 28th
    // Every colour of the table appears once per cycle.
    QCOMPARE(QSet<Color>(seen.begin(), seen.begin() + 27).size(), 27);
    for (int i = 1; i <= 27; ++i) QVERIFY(seen.contains(AboutColorCycle::PieceColors[i]));
}

void TestAbout::windowPaintsThePiece() {
    FrmAbout w;
    w.setRandomBit([] { return 1; });
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(pixelAtPiece(w), QColor(255, 255, 255));
    saveGrab(w, "about-start.png");
    w.Timer1_Timer();
    QCOMPARE(pixelAtPiece(w), QColor(127, 0, 0));
    for (int k = 0; k < 30; ++k) w.Timer2_Timer();
    QVERIFY(w.piece().Top < w.piece().Floor - w.piece().Height - 500);
    QCOMPARE(pixelAtPiece(w), QColor(127, 0, 0));  // drawn where it flies
    saveGrab(w, "about-flight.png");
    // The floor line: grey over white.
    const QImage img = w.grab().toImage();
    QCOMPARE(img.pixelColor(ipx(3000), ipx(2460)), QColor(128, 128, 128));
    QCOMPARE(img.pixelColor(ipx(3000), ipx(2460) + 1), QColor(255, 255, 255));
}

void TestAbout::linkOpensHomePage() {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    QDesktopServices::setUrlHandler("http", &catcher, "open");
    FrmAbout w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QLabel* here = w.findChild<QLabel*>("lblDescription2");
    QTest::mouseClick(here, Qt::LeftButton, {}, here->rect().center());
    QTest::mouseClick(w.findChild<QLabel*>("lblDescription1"), Qt::LeftButton);  // does nothing
    QDesktopServices::unsetUrlHandler("https");
    QDesktopServices::unsetUrlHandler("http");
    QCOMPARE(catcher.opened.size(), 1);
    QCOMPARE(catcher.opened[0], QUrl(capzel::config::kHomePage));
}

void TestAbout::sysInfoUnavailable() {
    auto* w = new FrmAbout;
    QPointer<FrmAbout> guard(w);
    w->setSysInfoPrograms({"capzel-no-such-system-information-program"});
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QString shown, title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shown = box->text();
        title = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(w->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(shown, QString("System Information Is Unavailable At This Time"));
    QCOMPARE(title, QString("Capzel"));
    QVERIFY(guard && w->isVisible());  // the About box stays open
    delete w;
}

void TestAbout::closedByOkAndEscape_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("OK") << false;
    QTest::newRow("Esc") << true;
}

void TestAbout::closedByOkAndEscape() {
    QFETCH(bool, escape);
    auto* w = new FrmAbout;
    QPointer<FrmAbout> guard(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    if (escape)
        QTest::keyClick(w, Qt::Key_Escape);
    else
        QTest::mouseClick(w->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());  // closing destroys the box and its timers
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setFont(QFont("DejaVu Sans"));
    TestAbout t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_about.moc"
