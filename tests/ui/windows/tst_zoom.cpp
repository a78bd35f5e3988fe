// The player's size: the main window and the status window grow alike, the game's twips stay.
#include <QLabel>
#include <cstdlib>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/StatusWindow.h"

using capzel::ui::PlayerSettings;

namespace {

// Pixels of `b` whose colour is plainly none of those of `a` (same size,
// RGB32) at its place or next to it: lines one pixel off are not counted.
int differing(const QImage& a, const QImage& b) {
    auto near = [](QRgb p, QRgb q) {
        return std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))}) <= 96;
    };
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            bool found = false;
            for (int v = std::max(0, y - 1); v <= std::min(a.height() - 1, y + 1) && !found; ++v) {
                const auto* row = reinterpret_cast<const QRgb*>(a.constScanLine(v));
                for (int u = std::max(0, x - 1); u <= std::min(a.width() - 1, x + 1) && !found; ++u)
                    found = near(row[u], reinterpret_cast<const QRgb*>(b.constScanLine(y))[x]);
            }
            n += !found;
        }
    return n;
}

// No ink of the texts of `labels` falls outside its label, as aligned there.
void expectTextsFit(const QList<QLabel*>& labels, int percent) {
    for (const QLabel* l : labels) {
        if (!l->isVisibleTo(l->window()) || l->text().isEmpty()) continue;
        const QFontMetrics m = l->fontMetrics();
        const int room = l->width() - m.horizontalAdvance(l->text());
        const int x = l->alignment() & Qt::AlignRight ? room : l->alignment() & Qt::AlignHCenter ? room / 2 : 0;
        QVERIFY2(l->rect().contains(m.tightBoundingRect(l->text()).translated(x, m.ascent())),
                 qPrintable(QString("%1 at %2 %").arg(l->objectName()).arg(percent)));
    }
}

}  // namespace

class ZoomTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;

    void setSize(int percent) {
        PlayerSettings s = f.app->settings();
        s.sizePercent = percent;
        f.app->setSettings(s);
    }
    QImage shot() {
        f.window().refreshField();
        return f.window().view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() { QVERIFY(f.open()); }
    void cleanup() {
        setSize(100);  // the settings are kept for the next test's window
        f.close();
    }

    // At 200 % the field is the 100 % picture scaled, pieces, aim, hints and "Go" included; the twips stay.
    void theFieldScalesAsAPicture() {
        PlayerSettings done = f.app->settings();
        done.coachDone = true;  // the field alone: the first-game steps are a panel of their own
        f.app->setSettings(done);
        f.play();
        f.window().applyPlayerColors();
        capzel::Board& b = f.board();
        b.pieces[1].left = 2250, b.pieces[1].top = 6750;
        b.pieces[2].left = 6015, b.pieces[2].top = 3007;
        b.pieces[1].visible = b.pieces[2].visible = true;
        QMouseEvent drag(QEvent::MouseMove, QPointF(40, 600), QPointF(40, 600), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(f.window().view(), &drag);  // the aim line, from piece 1
        f.window().turn().mouseUp();  // the bar and "Go" show
        f.window().view()->setSuggestion(capzel::ui::SuggestedShot{2400, 6900, 9000, 1200, 3000, 62});
        const QImage classic = shot();
        const capzel::Board before = b;

        setSize(200);
        const QImage large = shot();
        QCOMPARE(large.size(), classic.size() * 2);
        const QImage expected = classic.scaled(large.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QVERIFY2(differing(expected, large) < large.width() * large.height() / 2000,
                 qPrintable(QString::number(differing(expected, large))));
        for (int i = 1; i <= capzel::kMaxPlayers; ++i)
            QVERIFY(b.pieces[i].left == before.pieces[i].left && b.pieces[i].top == before.pieces[i].top);
        QVERIFY(b.scaleWidth == before.scaleWidth && b.scaleHeight == before.scaleHeight);

        setSize(100);  // and back, as it was
        QCOMPARE(shot(), classic);
    }

    // Each size: the field's pixels, and the mouse at a zoomed point reports the designed point's twips.
    void sizesAndTheMouse() {
        struct Case { int percent, width, height; };
        QPointF seen;
        f.window().view()->onMouseMove = [&seen](int, int, float x, float y) { seen = {x, y}; };
        const QRect coach = f.window().coach()->geometry();  // the first-game steps grow with the field
        for (const Case& c : {Case{125, 913, 783}, Case{150, 1095, 939}, Case{200, 1460, 1252}, Case{100, 730, 626}}) {
            setSize(c.percent);
            QCOMPARE(f.window().view()->size(), QSize(c.width, c.height));
            const QRect grown = f.window().coach()->geometry();
            QVERIFY(std::abs(grown.width() - coach.width() * c.percent / 100) <= 1 &&
                    std::abs(grown.top() - coach.top() * c.percent / 100) <= 1);
            const QPointF at = QPointF(123.4, 456.8) * (c.percent / 100.0);
            QMouseEvent move(QEvent::MouseMove, at, f.window().view()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(f.window().view(), &move);
            QCOMPARE(seen.x(), float(123.4 * 15));
            QCOMPARE(seen.y(), float(456.8 * 15));
        }
    }

    // At every size the status window grows with its text, which never runs past its cell; so does "Go".
    void textsFitAtEverySize() {
        f.play();
        capzel::GameState& g = f.state();
        g.numberOfPlayers = 8;
        g.recreatePerGameTables();
        for (int i = 1; i <= 8; ++i) {
            g.playerName[i] = "Wilhelmina Bartholomew " + std::to_string(i);
            g.score[i] = 999999;
            g.position[i] = 10 + i;
        }
        f.app->showStatus();
        capzel::ui::StatusWindow* status = f.app->statusWindow();
        f.window().turn().mouseUp();
        for (int percent : capzel::ui::kSizeChoices) {
            setSize(percent);
            status->refreshRows();
            QCOMPARE(status->width(), int(std::lround(312 * percent / 100.0)));
            expectTextsFit(status->findChildren<QLabel*>(), percent);
            const QPushButton* go = f.window().view()->goButton();
            const QFontMetrics m = go->fontMetrics();
            QVERIFY(m.horizontalAdvance(go->text()) <= go->width() - 8 && m.height() <= go->height() - 8);
            QCOMPARE(f.window().menuBar()->font().pointSizeF(), QApplication::font().pointSizeF() * percent / 100);
        }
    }
};

CAPZEL_QT_TEST(ZoomTest)
#include "tst_zoom.moc"
