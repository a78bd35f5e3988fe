// The game's way to the player through Qt: boxes, the busy pointer, files,
// the load dialog and the desktop.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QtTest>

#include "support/QtTestMain.h"
#include "support/UrlRecorder.h"
#include "support/WindowFixture.h"

using capzel::test::ModalAnswerer;

class QtPlatformTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;
    capzel::ui::QtPlatform& ui() { return f.platform(); }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() { QVERIFY(f.open()); }
    void cleanup() { f.close(); }

    // Every box of the game: titled "Capzel", no icon, its text plain (a name
    // with markup shows as typed) with Windows line ends as line breaks; the
    // input box's Cancel gives the empty answer even after something was typed.
    void boxes_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("click");
        QTest::addColumn<QString>("answer");
        QTest::newRow("message") << "message" << "" << "";
        QTest::newRow("question answered Yes") << "question" << "Yes" << "yes";
        QTest::newRow("question answered No") << "question" << "No" << "no";
        QTest::newRow("input, OK") << "input" << "all" << "all";
        QTest::newRow("input, Cancel") << "cancel" << "all" << "";
    }
    void boxes() {
        QFETCH(QString, kind);
        QFETCH(QString, click);
        QFETCH(QString, answer);
        f.modals->answers = QStringList{click};
        f.modals->cancelInputs = kind == "cancel";
        const char* text = "It is <b>Ann</b>'s turn.\r\nNext target: 3";
        QString got;
        if (kind == "message")
            ui().message(text);
        else if (kind == "question")
            got = ui().askYesNo(text) ? "yes" : "no";
        else
            got = QString::fromStdString(ui().inputBox(text));
        QCOMPARE(got, answer);
        QCOMPARE(f.modals->boxes.size(), 1);
        const ModalAnswerer::Box& seen = f.modals->boxes[0];
        QCOMPARE(seen.title, QStringLiteral("Capzel"));
        if (seen.input) return;
        QCOMPARE(seen.text, QStringLiteral("It is <b>Ann</b>'s turn.\nNext target: 3"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.format, Qt::PlainText);
        using B = QMessageBox::StandardButton;
        QCOMPARE(seen.buttons, (kind == "question" ? QList<B>{B::Yes, B::No} : QList<B>{B::Ok}));
    }

    void busyPointer() {
        ui().setBusy(true);
        QVERIFY(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        ui().setBusy(false);
        ui().setBusy(false);  // an extra restore is harmless
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    // A file is replaced whole (no temporary left); a write that fails says
    // which file.
    void filesAreWrittenWholeOrSayWhy() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("game.CSG").toStdString();
        QVERIFY(!ui().readFile(path, 100).has_value());
        QCOMPARE(ui().writeFile(path, "first\r\nversion\r\n"), std::string());
        QCOMPARE(ui().writeFile(path, "2"), std::string());
        QCOMPARE(ui().readFile(path, 100).value_or("?"), std::string("2"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"game.CSG"});
        const std::string missing = dir.filePath("missing/game.CSG").toStdString();
        const QString why = QString::fromStdString(ui().writeFile(missing, "x"));
        QVERIFY2(why.startsWith("The file \"") && why.contains(QString::fromStdString(missing)), qPrintable(why));
    }

    // The load dialog shows the game's filter text as it stands and still
    // offers saved games whose names are in lower case.
    void loadDialogOffersSavedGamesInAnyCase() {
        QTemporaryDir dir;
        for (const char* name : {"UPPER.CSG", "lower.csg", "notes.txt"})
            QVERIFY(QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly));
        QStringList listed;
        auto list = [] {
            auto* dialog = ModalAnswerer::modal<QFileDialog>();
            return dialog ? dialog->findChild<QListView*>(QStringLiteral("listView")) : nullptr;
        };
        auto rows = [&] { return list() ? list()->model()->rowCount(list()->rootIndex()) : 0; };
        f.modals->then([&] { return rows() >= 2; }, [&] {
            for (int r = 0; r < rows(); ++r) listed << list()->model()->index(r, 0, list()->rootIndex()).data().toString();
        });
        f.modals->chooseFile({});
        QTimer::singleShot(5000, [] {  // a dialog that never lists both files is closed, and fails below
            if (auto* d = ModalAnswerer::modal<QFileDialog>()) d->reject();
        });
        QCOMPARE(ui().chooseFileToOpen("Capzel save game (*.CSG)", "*.CSG", dir.path().toStdString()), std::string());
        listed.sort();
        QCOMPARE(listed, (QStringList{"UPPER.CSG", "lower.csg"}));
        QCOMPARE(f.modals->fileDialogs.value(0).filter, QStringLiteral("Capzel save game (*.CSG)"));
    }

    void urlsGoToTheDesktop() {
        capzel::test::UrlRecorder urls({"https"});
        ui().openUrl("https://example.org/x?a=1");
        QCOMPARE(urls.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/x?a=1"))});
    }
};

CAPZEL_QT_TEST(QtPlatformTest)
#include "tst_qtplatform.moc"
