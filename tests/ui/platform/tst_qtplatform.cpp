// The game's way to the player through Qt: boxes, the clock, the busy
// pointer, files and the desktop.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QTime>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "support/BoxAnswerer.h"
#include "support/ModalScript.h"
#include "support/QtTestMain.h"
#include "support/RecordingApp.h"
#include "support/UrlRecorder.h"
#include "ui/QtPlatform.h"
#include "ui/MainWindow.h"

using capzel::test::BoxAnswerer;
using capzel::test::RecordingApp;
using capzel::ui::MainWindow;

class QtPlatformTest : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingApp> app_;
    MainWindow* w_ = nullptr;
    capzel::ui::QtPlatform& ui() { return w_->platform(); }

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
        QVERIFY(!ui().readFile(path, 100).has_value());
        QCOMPARE(ui().writeFile(path, "first\r\nversion\r\n"), std::string());
        QCOMPARE(ui().readFile(path, 100).value_or("?"), std::string("first\r\nversion\r\n"));
        QCOMPARE(ui().writeFile(path, "2"), std::string());
        QCOMPARE(ui().readFile(path, 100).value_or("?"), std::string("2"));
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

    // The load dialog shows the game's filter text as it stands and still
    // offers saved games whose names are in lower case.
    void loadDialogOffersSavedGamesInAnyCase() {
        QTemporaryDir dir;
        for (const char* name : {"UPPER.CSG", "lower.csg", "notes.txt"})
            QVERIFY(QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly));
        QStringList listed;
        QString filter;
        auto listView = [] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            return dialog ? dialog->findChild<QListView*>(QStringLiteral("listView")) : nullptr;
        };
        capzel::test::ModalScript script;
        script.then([&] { return listView() && listView()->model()->rowCount(listView()->rootIndex()) >= 2; },
                    [&] {
                        QListView* list = listView();
                        for (int r = 0; r < list->model()->rowCount(list->rootIndex()); ++r)
                            listed << list->model()->index(r, 0, list->rootIndex()).data().toString();
                        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                        filter = dialog->selectedNameFilter();
                        dialog->reject();
                    });
        QTimer::singleShot(5000, [] {  // a dialog that never lists both files is closed, and fails below
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) d->reject();
        });
        QCOMPARE(ui().chooseFileToOpen("Capzel save game (*.CSG)", "*.CSG", dir.path().toStdString()), std::string());
        listed.sort();
        QCOMPARE(listed, (QStringList{"UPPER.CSG", "lower.csg"}));
        QCOMPARE(filter, QStringLiteral("Capzel save game (*.CSG)"));
    }

    void urlsGoToTheDesktop() {
        capzel::test::UrlRecorder urls({"https"});
        ui().openUrl("https://example.org/x?a=1");
        QCOMPARE(urls.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/x?a=1"))});
    }
};

CAPZEL_QT_TEST(QtPlatformTest)
#include "tst_qtplatform.moc"
