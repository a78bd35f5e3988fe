// The game's boxes and file dialog through Qt, and the history shared by two copies against a crash and a full disk.
#include "support/QtTestMain.h"
#include "desktop/HistoryFile.h"

using namespace capzel;
using capzel::test::ModalAnswerer;

class QtPlatformTest : public capzel::test::WindowTest {
    Q_OBJECT

    QTemporaryDir mountPoint_;
    bool mounted_ = false;
    capzel::ui::QtPlatform& ui() { return f.platform(); }

    static bool run(const QString& program, const QStringList& args) {
        QProcess p;
        p.start(program, args);
        return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    QTemporaryDir dir_;
    QString disk(const QString& name) const { return mountPoint_.filePath(name); }
    QString history() const { return dir_.filePath(QStringLiteral("history.csv")); }
    static HistoryReading readBack(const QString& path) { return readHistory(capzel::test::readBytes(path).toStdString()); }
    static HistoryGame game(const char* name) { return {"2026-12-08 11:00", 1, 4, {{name, capzel::PlayerKind::Club, 7}}}; }

private slots:
    void initTestCase() {
        capzel::test::quietOffscreenNotices();
        mounted_ = run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", mountPoint_.path()});
    }
    void cleanupTestCase() {
        if (mounted_) run("umount", {mountPoint_.path()});
    }
    void cleanup() {
        f.close();
        QFile::remove(history());
        if (mounted_)
            for (const QString& name : QDir(mountPoint_.path()).entryList(QDir::Files | QDir::Hidden))
                QFile::remove(disk(name));
    }

    // Boxes: titled "Capzel", no icon, plain text, CR LF as a break; Cancel gives an empty answer.
    void boxes() {
        struct Case { QString kind, click, answer; };
        for (const Case& c : {Case{"message", "", ""}, Case{"question", "Yes", "yes"}, Case{"question", "No", "no"},
                              Case{"input", "all", "all"}, Case{"cancel", "all", ""}}) {
            f.modals->boxes.clear(), f.modals->answers = QStringList{c.click}, f.modals->cancelInputs = c.kind == "cancel";
            const char* text = "It is <b>Ann</b>'s turn.\r\nNext target: 3";
            QString got;
            if (c.kind == "message") ui().message(text);
            else got = c.kind == "question" ? (ui().askYesNo(text) ? "yes" : "no") : QString::fromStdString(ui().inputBox(text));
            QVERIFY(got == c.answer && f.modals->boxes.size() == 1);
            const ModalAnswerer::Box& seen = f.modals->boxes[0];
            QCOMPARE(seen.title, QStringLiteral("Capzel"));
            if (seen.input) continue;
            QCOMPARE(seen.text, QStringLiteral("It is <b>Ann</b>'s turn.\nNext target: 3"));
            QVERIFY(seen.icon == QMessageBox::NoIcon && seen.format == Qt::PlainText);
            using B = QMessageBox::StandardButton;
            QCOMPARE(seen.buttons, (c.kind == "question" ? QList<B>{B::Yes, B::No} : QList<B>{B::Ok}));
        }
    }

    // The load dialog shows the game's filter and offers lower-case names too.
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
        QTimer::singleShot(30000, [] {  // a dialog that never lists both files is closed, and fails below
            if (auto* d = ModalAnswerer::modal<QFileDialog>()) d->reject();
        });
        QCOMPARE(ui().chooseFileToOpen("Capzel save game (*.CSG)", "*.CSG", dir.path().toStdString()), std::string());
        listed.sort();
        QVERIFY(listed == (QStringList{"UPPER.CSG", "lower.csg"}) && f.modals->fileDialogs.value(0).filter == "Capzel save game (*.CSG)");
    }

    // Two copies ending games at the same moments: every game of both is kept.
    void twoCopiesLoseNoGame() {
        constexpr int kGames = 200;
        const QString writer = QStringLiteral(CAPZEL_BIN_DIR "/history_writer");
        QProcess a, b;
        a.start(writer, {history(), QString::number(kGames), QStringLiteral("A")});
        b.start(writer, {history(), QString::number(kGames), QStringLiteral("B")});
        for (QProcess* p : {&a, &b}) QVERIFY(p->waitForFinished(60000) && p->exitCode() == 0);
        const HistoryReading r = readBack(history());
        QVERIFY2(r.ok(), r.error.c_str());
        QCOMPARE(int(r.games.size()), 2 * kGames);
        QCOMPARE(std::count_if(r.games.begin(), r.games.end(), [](const HistoryGame& g) { return g.players[0].name == "A"; }), kGames);
    }

    // A crash in the middle of adding a game leaves part of a line: the part goes, the next game is added.
    void tornLastLineIsDroppedAndTheNextGameAdded() {
        for (const char* name : {"Ann", "Bob"}) QVERIFY(capzel::ui::addToHistoryFile(history().toStdString(), game(name)).added);
        QVERIFY(capzel::test::writeBytes(history(), capzel::test::readBytes(history()) + "\"2026-12-08 11:00\",1,1,4,\"Cy\",\"Hu"));
        const capzel::ui::HistoryAddition added = capzel::ui::addToHistoryFile(history().toStdString(), game("Dee"));
        QVERIFY(added.added && added.notice.empty());
        const HistoryReading r = readBack(history());
        QVERIFY2(r.ok(), r.error.c_str());
        QVERIFY(r.games == (std::vector<HistoryGame>{game("Ann"), game("Bob"), game("Dee")}) && !QFile::exists(history() + ".broken"));
    }

    // A history file on a disk that fills up: the game that does not fit is told and leaves no part of its line.
    void historyOnAFullDisk() {
        if (!mounted_) QSKIP("mounting a 64 KiB tmpfs was refused (the test needs root): skipped");
        const std::string path = disk(QStringLiteral("history.csv")).toStdString();
        capzel::ui::HistoryAddition last;
        int added = 0;
        while (added < 4000 && (last = capzel::ui::addToHistoryFile(path, game("Ann"))).added) ++added;
        const HistoryReading r = readBack(QString::fromStdString(path));
        QVERIFY2(r.ok(), r.error.c_str());
        QVERIFY(int(r.games.size()) == added && added > 100 && !last.added);
        QVERIFY2(last.notice.find("could not be added") != std::string::npos, last.notice.c_str());
    }
};

CAPZEL_QT_TEST(QtPlatformTest)
#include "tst_qtplatform.moc"
