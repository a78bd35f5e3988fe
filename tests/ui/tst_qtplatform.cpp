// The game's way to the player through Qt: boxes, the clock, the busy
// pointer, files and the desktop.
#include <QDir>
#include <QTemporaryDir>
#include <QTime>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "support/BoxAnswerer.h"
#include "support/QtTestMain.h"
#include "support/RecordingApp.h"
#include "support/UrlRecorder.h"
#include "ui/QtPlatform.h"
#include "ui/frmMain.h"

using capzel::test::BoxAnswerer;
using capzel::test::RecordingApp;
using capzel::ui::frmMain;

class QtPlatformTest : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingApp> app_;
    frmMain* w_ = nullptr;
    capzel::Platform& ui() { return w_->platform(); }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() {
        app_ = std::make_unique<RecordingApp>();
        w_ = &app_->openMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w_));
    }
    void cleanup() { app_.reset(); }

    // Every box of the game: titled "Capzel", no icon, its text plain (a
    // name with markup shows as typed) with Windows line ends as line breaks.
    void messageBoxes_data() {
        QTest::addColumn<bool>("question");
        QTest::addColumn<QString>("click");
        QTest::addColumn<bool>("answer");
        QTest::newRow("message") << false << "" << true;
        QTest::newRow("question answered Yes") << true << "Yes" << true;
        QTest::newRow("question answered No") << true << "No" << false;
    }
    void messageBoxes() {
        QFETCH(bool, question);
        QFETCH(QString, click);
        QFETCH(bool, answer);
        BoxAnswerer boxes({click});
        const char* text = "It is <b>Ann</b>'s turn.\r\nNext target: 3";
        if (question)
            QCOMPARE(ui().askYesNo(text), answer);
        else
            ui().message(text);
        QCOMPARE(boxes.seen.size(), 1);
        const BoxAnswerer::Seen& seen = boxes.seen[0];
        QCOMPARE(seen.text, QStringLiteral("It is <b>Ann</b>'s turn.\nNext target: 3"));
        QCOMPARE(seen.title, QStringLiteral("Capzel"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.format, Qt::PlainText);
        using B = QMessageBox::StandardButton;
        QCOMPARE(seen.buttons.size(), question ? 2 : 1);
        QVERIFY(seen.buttons.contains(question ? B::Yes : B::Ok));
        if (question) QVERIFY(seen.buttons.contains(B::No));
    }

    // The prompt in a titled input box; Cancel gives the empty answer even
    // after something was typed.
    void inputBoxAnswers_data() {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("answer");
        QTest::newRow("OK") << false << "all";
        QTest::newRow("Cancel") << true << "";
    }
    void inputBoxAnswers() {
        QFETCH(bool, cancel);
        QFETCH(QString, answer);
        BoxAnswerer boxes({"all"});
        boxes.cancelInputs = cancel;
        QCOMPARE(QString::fromStdString(ui().inputBox("Who? (# or all)")), answer);
        QCOMPARE(boxes.seen.size(), 1);
        QVERIFY(boxes.seen[0].input);
        QCOMPARE(boxes.seen[0].text, QStringLiteral("Who? (# or all)"));
        QCOMPARE(boxes.seen[0].title, QStringLiteral("Capzel"));
    }

    void clockIsSecondsSinceMidnight() {
        // Read repeatedly over more than a second, so that it is checked
        // both on a fresh reading of the local time and between readings.
        QElapsedTimer spell;
        spell.start();
        double previous = -1;
        while (spell.elapsed() < 1300) {
            const double before = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
            const double c = ui().clock();
            const double after = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
            QVERIFY(c >= 0 && c < 86400);
            if (after < before) continue;  // across midnight
            QVERIFY2(c >= before - 0.002 && c <= after + 0.002, qPrintable(QString::number(c - before)));
            if (previous >= 0) QVERIFY2(c >= previous - 0.002, "never runs back by more than a tick");
            previous = c;
            QTest::qWait(50);
        }
    }

    void busyPointer() {
        QVERIFY(QApplication::overrideCursor() == nullptr);
        ui().setBusy(true);
        QVERIFY(QApplication::overrideCursor() != nullptr);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        ui().setBusy(false);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        ui().setBusy(false);  // an extra restore is harmless
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void filesAreWrittenWholeAndReadBack() {
        QTemporaryDir dir;
        const std::string path = QDir(dir.path()).filePath("game.CSG").toStdString();
        QVERIFY(!ui().readFile(path).has_value());
        QCOMPARE(ui().writeFile(path, "first\r\nversion\r\n"), std::string());
        QCOMPARE(ui().readFile(path).value_or("?"), std::string("first\r\nversion\r\n"));
        QCOMPARE(ui().writeFile(path, "2"), std::string());
        QCOMPARE(ui().readFile(path).value_or("?"), std::string("2"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"game.CSG"});  // no temporary left
    }

    void aFailedWriteSaysWhy() {
        QTemporaryDir dir;
        const std::string path = QDir(dir.path()).filePath("missing/game.CSG").toStdString();
        const QString why = QString::fromStdString(ui().writeFile(path, "x"));
        QVERIFY2(why.startsWith(QStringLiteral("The file \"")), qPrintable(why));
        QVERIFY(why.contains(QString::fromStdString(path)));
        QVERIFY(why.endsWith(QLatin1Char('.')));
    }

    void fileDialogFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("description with pattern")
            << "Capzel save game (*.CSG)" << "*.CSG" << "Capzel save game (*.CSG *.csg)";
        QTest::newRow("bare description") << "Saved games" << "*.CSG" << "Saved games (*.CSG *.csg)";
        QTest::newRow("lower-case pattern") << "Songs" << "*.mid" << "Songs (*.mid *.MID)";
    }
    void fileDialogFilters() {
        QFETCH(QString, filter);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(capzel::ui::fileDialogFilter(filter.toStdString(), pattern.toStdString()), expected);
    }

    void urlsGoToTheDesktop() {
        capzel::test::UrlRecorder urls({"https"});
        ui().openUrl("https://example.org/x?a=1");
        QCOMPARE(urls.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/x?a=1"))});
    }
};

CAPZEL_QT_TEST_MAIN(QtPlatformTest)
#include "tst_qtplatform.moc"
#include "support/moc_UrlRecorder.cpp"
