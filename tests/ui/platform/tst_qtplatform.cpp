// The game's way to the player through Qt, and the game history shared by two copies of
// the game against a crash and a full disk.
#include <QFileDialog>
#include <QListView>

#include "records/GameHistory.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "desktop/HistoryFile.h"

using capzel::HistoryGame;
using capzel::HistoryReading;
using capzel::test::ModalAnswerer;

class QtPlatformTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;
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
    static HistoryReading readBack(const QString& path) { return capzel::readHistory(bytes(path).toStdString()); }
    static HistoryGame game(const char* name) { return {"2026-12-08 11:00", 1, 4, {{name, capzel::PlayerKind::Club, 7}}}; }
    static QByteArray bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

private slots:
    void initTestCase() {
        capzel::test::quietOffscreenNotices();
        mounted_ = run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                 QStringLiteral("size=64k"), QStringLiteral("tmpfs"), mountPoint_.path()});
    }
    void cleanupTestCase() {
        if (mounted_) run(QStringLiteral("umount"), {mountPoint_.path()});
    }
    void init() { QVERIFY(f.open()); }
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
            const QString& kind = c.kind;
            f.modals->boxes.clear();
            f.modals->answers = QStringList{c.click};
            f.modals->cancelInputs = kind == "cancel";
            const char* text = "It is <b>Ann</b>'s turn.\r\nNext target: 3";
            QString got;
            if (kind == "message")
                ui().message(text);
            else if (kind == "question")
                got = ui().askYesNo(text) ? "yes" : "no";
            else
                got = QString::fromStdString(ui().inputBox(text));
            QCOMPARE(got, c.answer);
            QCOMPARE(f.modals->boxes.size(), 1);
            const ModalAnswerer::Box& seen = f.modals->boxes[0];
            QCOMPARE(seen.title, QStringLiteral("Capzel"));
            if (seen.input) continue;
            QCOMPARE(seen.text, QStringLiteral("It is <b>Ann</b>'s turn.\nNext target: 3"));
            QCOMPARE(seen.icon, QMessageBox::NoIcon);
            QCOMPARE(seen.format, Qt::PlainText);
            using B = QMessageBox::StandardButton;
            QCOMPARE(seen.buttons, (kind == "question" ? QList<B>{B::Yes, B::No} : QList<B>{B::Ok}));
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
        QCOMPARE(listed, (QStringList{"UPPER.CSG", "lower.csg"}));
        QCOMPARE(f.modals->fileDialogs.value(0).filter, QStringLiteral("Capzel save game (*.CSG)"));
    }

    // Two copies ending games at the same moments: every game of both is kept.
    void twoCopiesLoseNoGame() {
        constexpr int kGames = 200;
        const QString writer = QStringLiteral(CAPZEL_BIN_DIR "/history_writer");
        QProcess a, b;
        a.start(writer, {history(), QString::number(kGames), QStringLiteral("A")});
        b.start(writer, {history(), QString::number(kGames), QStringLiteral("B")});
        for (QProcess* p : {&a, &b}) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->exitCode(), 0);
        }
        const HistoryReading r = readBack(history());
        QVERIFY2(r.ok(), r.error.c_str());
        QCOMPARE(int(r.games.size()), 2 * kGames);
        QCOMPARE(std::count_if(r.games.begin(), r.games.end(), [](const HistoryGame& g) { return g.players[0].name == "A"; }),
                 kGames);
    }

    // A crash in the middle of adding a game leaves part of a line (read as
    // the core tests check): the part goes, the next game is added.
    void tornLastLineIsDroppedAndTheNextGameAdded() {
        for (const char* name : {"Ann", "Bob"}) QVERIFY(capzel::ui::addToHistoryFile(history().toStdString(), game(name)).added);
        {
            QFile f(history());
            QVERIFY(f.open(QIODevice::Append));
            f.write("\"2026-12-08 11:00\",1,1,4,\"Cy\",\"Hu");
        }
        const capzel::ui::HistoryAddition added = capzel::ui::addToHistoryFile(history().toStdString(), game("Dee"));
        QVERIFY(added.added);
        QCOMPARE(added.notice, std::string());
        const HistoryReading r = readBack(history());
        QVERIFY2(r.ok(), r.error.c_str());
        QCOMPARE(r.games, (std::vector<HistoryGame>{game("Ann"), game("Bob"), game("Dee")}));
        QVERIFY(!QFile::exists(history() + QStringLiteral(".broken")));
    }

    // A history file on a disk that fills up: the game that does not fit is
    // told and leaves no part of its line; every earlier game stays.
    void historyOnAFullDisk() {
        if (!mounted_) QSKIP("mounting a 64 KiB tmpfs was refused (the test needs root): skipped");
        const std::string path = disk(QStringLiteral("history.csv")).toStdString();
        capzel::ui::HistoryAddition last;
        int added = 0;
        while (added < 4000 && (last = capzel::ui::addToHistoryFile(path, game("Ann"))).added) ++added;
        const HistoryReading r = readBack(QString::fromStdString(path));
        QVERIFY2(r.ok(), r.error.c_str());
        QCOMPARE(int(r.games.size()), added);
        QVERIFY(added > 100 && !last.added);
        QVERIFY2(last.notice.find("could not be added") != std::string::npos, last.notice.c_str());
    }

};

CAPZEL_QT_TEST(QtPlatformTest)
#include "tst_qtplatform.moc"
