// The About box: its window and the "here" link's place, the bouncing
// piece's arithmetic tick by tick, the colour cycle, the home-page link,
// "System Info..." without a system-information program, and closing. How
// the program opens it (not modal, one at a time) is in tst_about_menu.
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "support/BoxAnswerer.h"
#include "support/QtTestMain.h"
#include "support/UrlRecorder.h"
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

float plus(float a, double b) { return float(double(a) + b); }

// What a tick reads and writes of the piece.
struct Motion {
    int state;
    float left;
    float top;
    double speedX;
    double speedY;
};

QColor pixelAtPiece(FrmAbout& w) {
    const AboutPiece& p = w.piece();
    const double cx = (double(p.Left) + double(p.Width) / 2) * capzel::ui::kAboutUnitX;
    const double cy = (double(p.Top) + double(p.Height) / 2) * capzel::ui::kAboutUnitY;
    return w.grab().toImage().pixelColor(ipx(cx), ipx(cy));
}

}  // namespace

Q_DECLARE_METATYPE(Motion)

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }

    void window() {
        FrmAbout w;
        // "here" is a blue link that follows its text on the same line
        // without overlapping it.
        const QLabel* here = w.findChild<QLabel*>("lblDescription2");
        QCOMPARE(here->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(here->cursor().shape(), Qt::PointingHandCursor);
        const QLabel* click = w.findChild<QLabel*>("lblDescription1");
        QCOMPARE(here->y(), click->y());
        QVERIFY(click->x() + click->fontMetrics().horizontalAdvance(click->text()) < here->x());
        QVERIFY(w.findChild<QPushButton*>("cmdOK")->isDefault());
        QCOMPARE(w.windowType(), Qt::Dialog);  // a dialog: no button of its own in the task bar
        QVERIFY(!(w.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
        QCOMPARE(w.geometry(), QRect(ipx(2340), ipx(1935), ipx(5730), ipx(3555)));
    }

    void startsRestingOnTheFloor() {
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

    // One tick from a given state: the jump, the flight (a unit more
    // downward, a thousandth less sideways), the bounce with nine tenths,
    // the rest and its roll, the walls with 95 % reversed, and a sideways
    // speed that would show as 0.00 stopping.
    void oneTick_data() {
        QTest::addColumn<int>("bit");
        QTest::addColumn<Motion>("before");
        QTest::addColumn<Motion>("after");
        const AboutPiece rest = pieceWithBit(0);
        const float floor = rest.Top;  // the top of a piece on the floor
        const float right = float(double(rest.ScaleWidth) - double(rest.Width));  // against the right wall
        const int J = AboutPiece::kJump, F = AboutPiece::kFlying, R = AboutPiece::kRestTicks;
        const double away = 20 * 0.999 * -0.95;
        QTest::newRow("jump to the left: nothing moves yet")
            << 0 << Motion{J, 2500, floor, 0, 0} << Motion{F, 2500, floor, -50, -50};
        QTest::newRow("jump to the right") << 1 << Motion{J, 2500, floor, 0, 0} << Motion{F, 2500, floor, 50, -50};
        QTest::newRow("a later jump adds its 50 to what is left")
            << 1 << Motion{J, 2500, floor, 7, 0} << Motion{F, 2500, floor, 57, -50};
        QTest::newRow("flight") << 0 << Motion{F, 2000, 600, 50, -50}
                                << Motion{F, plus(2000, 50 * 0.999), 551, 50 * 0.999, -49};
        QTest::newRow("meeting the floor at 10 bounces at 9")
            << 0 << Motion{F, 2000, plus(floor, -5), 0, 9} << Motion{F, 2000, floor, 0, -9};
        QTest::newRow("too slow to bounce: rests where it came down")
            << 0 << Motion{F, 2000, plus(floor, -0.2), 3, -0.5}
            << Motion{R, plus(2000, 3 * 0.999), plus(plus(floor, -0.2), 0.5), 3 * 0.999, 0};
        QTest::newRow("resting rolls on, slowing down")
            << 0 << Motion{50, 2000, floor, 3, 0} << Motion{49, plus(2000, 3 * 0.999), floor, 3 * 0.999, 0};
        QTest::newRow("the last resting tick") << 0 << Motion{1, 2000, floor, 3, 0}
                                               << Motion{J, plus(2000, 3 * 0.999), floor, 3 * 0.999, 0};
        QTest::newRow("right wall in flight")
            << 0 << Motion{F, right - 5, 600, 20, 0} << Motion{F, right, 601, away, 1};
        QTest::newRow("left wall in flight") << 0 << Motion{F, 5, 600, -20, 0} << Motion{F, 0, 601, -away, 1};
        QTest::newRow("right wall while rolling")
            << 0 << Motion{50, right - 5, 600, 20, 0} << Motion{49, right, 600, away, 0};
        QTest::newRow("left wall while rolling") << 0 << Motion{50, 5, 600, -20, 0} << Motion{49, 0, 600, -away, 0};
        QTest::newRow("0.004 shows as 0.00: stops")
            << 0 << Motion{F, 2000, 600, 0.004, 0} << Motion{F, 2000, 601, 0, 1};
        QTest::newRow("-0.004 too") << 0 << Motion{F, 2000, 600, -0.004, 0} << Motion{F, 2000, 601, 0, 1};
        QTest::newRow("0.006 shows as 0.01: fades")
            << 0 << Motion{F, 2000, 600, 0.006, 0} << Motion{F, plus(2000, 0.006 * 0.999), 601, 0.006 * 0.999, 1};
    }
    void oneTick() {
        QFETCH(int, bit);
        QFETCH(Motion, before);
        QFETCH(Motion, after);
        AboutPiece p = pieceWithBit(bit);
        p.BounceState = before.state;
        p.Left = before.left;
        p.Top = before.top;
        p.SpeedX = before.speedX;
        p.SpeedY = before.speedY;
        p.tick();
        QCOMPARE(p.BounceState, after.state);
        QCOMPARE(p.SpeedX, after.speedX);
        QCOMPARE(p.SpeedY, after.speedY);
        QCOMPARE(p.Left, after.left);
        QCOMPARE(p.Top, after.top);
    }

    void jumpRisesAndFallsBack() {
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

    void colourCycleOf27() {
        FrmAbout w;
        QList<Color> seen;
        for (int k = 1; k <= 28; ++k) {
            w.Timer1_Timer();
            seen << w.pieceColor();
        }
        QCOMPARE(seen[0], rgb(127, 0, 0));  // first change
        QCOMPARE(seen[25], rgb(127, 255, 255));
        QCOMPARE(seen[26], rgb(0, 0, 0));  // 27th: back to index 1
        QCOMPARE(w.colorIndex(), 2);
        QCOMPARE(seen[27], rgb(127, 0, 0));  // 28th
        // Every colour of the table appears once per cycle.
        QCOMPARE(QSet<Color>(seen.begin(), seen.begin() + 27).size(), 27);
        for (int i = 1; i <= 27; ++i) QVERIFY(seen.contains(AboutColorCycle::PieceColors[i]));
    }

    void windowPaintsThePiece() {
        FrmAbout w;
        w.setRandomBit([] { return 1; });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(pixelAtPiece(w), QColor(255, 255, 255));
        w.Timer1_Timer();
        QCOMPARE(pixelAtPiece(w), QColor(127, 0, 0));
        for (int k = 0; k < 30; ++k) w.Timer2_Timer();
        QVERIFY(w.piece().Top < w.piece().Floor - w.piece().Height - 500);
        QCOMPARE(pixelAtPiece(w), QColor(127, 0, 0));  // drawn where it flies
        // The floor line: grey over white.
        const QImage img = w.grab().toImage();
        QCOMPARE(img.pixelColor(ipx(3000), ipx(2460)), QColor(128, 128, 128));
        QCOMPARE(img.pixelColor(ipx(3000), ipx(2460) + 1), QColor(255, 255, 255));
    }

    void linkOpensHomePage() {
        capzel::test::UrlRecorder urls({"https", "http"});
        FrmAbout w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QLabel* here = w.findChild<QLabel*>("lblDescription2");
        QTest::mouseClick(here, Qt::LeftButton, {}, here->rect().center());
        QTest::mouseClick(w.findChild<QLabel*>("lblDescription1"), Qt::LeftButton);  // does nothing
        QCOMPARE(urls.opened, QList<QUrl>{QUrl(capzel::config::kHomePage)});
    }

    void sysInfoUnavailable() {
        auto* w = new FrmAbout;
        QPointer<FrmAbout> guard(w);
        w->setSysInfoPrograms({"capzel-no-such-system-information-program"});
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        capzel::test::BoxAnswerer boxes;
        QTest::mouseClick(w->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(boxes.messages(), QStringList{"System Information Is Unavailable At This Time"});
        QVERIFY(guard && w->isVisible());  // the About box stays open
        delete w;
    }

    void closedByOkAndEscape_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("OK") << false;
        QTest::newRow("Esc") << true;
    }
    void closedByOkAndEscape() {
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
};

CAPZEL_QT_TEST_MAIN(TestAbout)
#include "tst_about.moc"
#include "support/moc_UrlRecorder.cpp"
