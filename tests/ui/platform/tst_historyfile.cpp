// The game history file shared by two copies of the game, cut by a crash,
// and on a full disk.
#include <QProcess>
#include <QtTest>

#include "records/GameHistory.h"
#include "support/FakePlatform.h"
#include "support/QtTestMain.h"
#include "ui/desktop/HistoryFile.h"

using capzel::HistoryGame;
using capzel::HistoryReading;

class HistoryFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString file() const { return dir_.filePath(QStringLiteral("history.csv")); }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static HistoryReading readBack(const QString& path) { return capzel::readHistory(read(path).toStdString()); }
    static HistoryGame game(const char* name) { return {"2026-12-08 11:00", 1, 4, {{name, capzel::PlayerKind::Club, 7}}}; }

private slots:
    void init() { QFile::remove(file()); }

    // Two copies ending games at the same moments: every game of both is kept.
    void twoCopiesLoseNoGame() {
        constexpr int kGames = 200;
        const QString writer = QStringLiteral(CAPZEL_BIN_DIR "/history_writer");
        QProcess a, b;
        a.start(writer, {file(), QString::number(kGames), QStringLiteral("A")});
        b.start(writer, {file(), QString::number(kGames), QStringLiteral("B")});
        for (QProcess* p : {&a, &b}) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->exitCode(), 0);
        }
        const HistoryReading r = readBack(file());
        QVERIFY2(r.ok(), r.error.c_str());
        QCOMPARE(int(r.games.size()), 2 * kGames);
        QCOMPARE(int(std::count_if(r.games.begin(), r.games.end(), [](const HistoryGame& g) {
                     return g.players[0].name == "A";
                 })),
                 kGames);
    }

    // A crash in the middle of adding a game leaves part of a line: the
    // earlier games stay readable, the part goes, the next game is added.
    void tornLastLineIsDroppedAndTheNextGameAdded() {
        for (const char* name : {"Ann", "Bob"}) QVERIFY(capzel::ui::addToHistoryFile(file().toStdString(), game(name)).added);
        {
            QFile f(file());
            QVERIFY(f.open(QIODevice::Append));
            f.write("\"2026-12-08 11:00\",1,1,4,\"Cy\",\"Hu");
        }
        capzel::test::FakePlatform files;
        files.files[file().toStdString()] = read(file()).toStdString();
        const capzel::ui::HistoryFileState seen = capzel::ui::loadHistoryFile(files, file().toStdString());
        QCOMPARE(seen.notice, std::string());
        QCOMPARE(seen.starts.size(), std::size_t(2));

        const capzel::ui::HistoryAddition added = capzel::ui::addToHistoryFile(file().toStdString(), game("Dee"));
        QVERIFY(added.added);
        QCOMPARE(added.notice, std::string());
        const HistoryReading r = readBack(file());
        QVERIFY2(r.ok(), r.error.c_str());
        QCOMPARE(r.games, (std::vector<HistoryGame>{game("Ann"), game("Bob"), game("Dee")}));
        QVERIFY(!QFile::exists(file() + QStringLiteral(".broken")));
    }

    // A disk that fills up: the game that does not fit is told and leaves no
    // part of its line; every earlier game stays.
    void fullDiskKeepsEveryEarlierGame() {
        QTemporaryDir mountPoint;
        auto run = [](const QString& program, const QStringList& args) {
            QProcess p;
            p.start(program, args);
            return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        };
        if (!run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                           QStringLiteral("size=16k"), QStringLiteral("tmpfs"), mountPoint.path()}))
            QSKIP("mounting a 16 KiB tmpfs was refused (the test needs root): skipped");
        const std::string path = mountPoint.filePath(QStringLiteral("history.csv")).toStdString();
        capzel::ui::HistoryAddition last;
        int added = 0;
        while (added < 2000 && (last = capzel::ui::addToHistoryFile(path, game("Ann"))).added) ++added;
        const HistoryReading r = readBack(QString::fromStdString(path));
        run(QStringLiteral("umount"), {mountPoint.path()});
        QVERIFY2(r.ok(), r.error.c_str());
        QCOMPARE(int(r.games.size()), added);
        QVERIFY(added > 100 && !last.added);
        QVERIFY2(last.notice.find("could not be added") != std::string::npos, last.notice.c_str());
    }
};

CAPZEL_QT_TEST(HistoryFileTest)
#include "tst_historyfile.moc"
