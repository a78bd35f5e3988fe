// Running games kept on disk by copies of the program that share one data
// folder: each copy keeps its own, offers only what no running copy holds,
// and never replaces or removes another copy's game.
#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <memory>

#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "desktop/Autosave.h"
#include "desktop/ProgramFolder.h"

using capzel::ui::CapzelApp;

class AutosaveTest : public QObject {
    Q_OBJECT

    std::unique_ptr<capzel::test::ModalAnswerer> boxes_;

    static QString slotFile(int slot) {
        return QString::fromStdString(capzel::ui::autosaveSlotFile(capzel::ui::userDataFolder(), slot));
    }

    // A running copy: its window, and at its start the offer of kept games.
    static std::unique_ptr<CapzelApp> startCopy() {
        auto app = std::make_unique<CapzelApp>();
        app->openMainWindow();
        app->offerResume();
        return app;
    }

    // `names` begin a game, kept on disk as after a judged shot.
    static void play(CapzelApp& app, const QStringList& names) {
        capzel::NewGameSettings s;
        s.players = int(names.size());
        for (int i = 0; i < names.size(); ++i) s.names[std::size_t(i + 1)] = names[i].toStdString();
        app.session().beginNewGame(s);
    }

    // The game goes on from `g` as it stands (kept as the session keeps a
    // game taken over).
    static void takeOver(CapzelApp& app, capzel::Game g) { app.session().beginOnlineGame(g, std::nullopt); }

    static void finish(CapzelApp& app) {
        capzel::Game over = app.game();
        over.gameRunning = false;
        takeOver(app, over);
    }

    static QString firstName(CapzelApp& app) { return QString::fromStdString(app.game().seats[1].name); }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() { boxes_ = std::make_unique<capzel::test::ModalAnswerer>(); }
    void cleanup() {
        boxes_.reset();
        for (const QString& name : QDir(QString::fromStdString(capzel::ui::userDataFolder())).entryList(QDir::Files))
            QFile::remove(QString::fromStdString(capzel::ui::userDataFolder()) + "/" + name);
    }

    // Two games left by copies that are gone: a choice lists both, the pick
    // goes on in its own file and the other stays for a later start.
    void severalKeptGamesAreListed() {
        {
            auto a = startCopy();
            auto b = startCopy();
            play(*a, {"Ann"});
            play(*b, {"Bob"});
        }
        boxes_->answers = {"Bob"};
        auto c = startCopy();
        QCOMPARE(boxes_->choices.size(), 1);
        QCOMPARE(boxes_->choices[0].size(), 2);
        QVERIFY(boxes_->choices[0][0].startsWith("Ann") && boxes_->choices[0][1].startsWith("Bob"));
        QCOMPARE(firstName(*c), QStringLiteral("Bob"));
        finish(*c);
        QVERIFY(QFile::exists(slotFile(1)) && !QFile::exists(slotFile(2)));

        // While c runs, a copy started beside it is offered Ann's game only.
        boxes_->boxes.clear();
        boxes_->answers = {"No"};
        auto d = startCopy();
        QCOMPARE(boxes_->messages(), QStringList{capzel::ui::kResumeQuestion});
        QVERIFY(boxes_->choices.size() == 1 && !d->game().gameRunning);
    }

    // A ninth copy keeps no game, and says so once; the eight keep theirs.
    void aCopyBeyondTheSlotsSaysSoOnce() {
        std::vector<std::unique_ptr<CapzelApp>> copies;
        for (int k = 0; k <= capzel::ui::kAutosaveSlots; ++k) {
            copies.push_back(startCopy());
            play(*copies.back(), {QStringLiteral("P%1").arg(k)});
        }
        copies.back()->session().keep();
        QCOMPARE(boxes_->messages().size(), 1);
        QVERIFY(boxes_->messages()[0].contains("held by another running copy"));
        for (int slot = 1; slot <= capzel::ui::kAutosaveSlots; ++slot) QVERIFY(QFile::exists(slotFile(slot)));
    }

    // A lock left by a process that is no longer running is taken over.
    void aLockLeftByAGoneCopyIsTakenOver() {
        {
            auto a = startCopy();
            play(*a, {"Ann"});
        }
        QProcess gone;
        gone.start(QStringLiteral("true"));
        QVERIFY(gone.waitForStarted());
        const qint64 pid = gone.processId();
        QVERIFY(gone.waitForFinished());
        QLockFile lock(slotFile(1) + ".lock");
        QVERIFY(lock.tryLock(0));
        QFile f(slotFile(1) + ".lock");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray info = f.readAll();
        f.close();
        info = QByteArray::number(pid) + info.mid(info.indexOf('\n'));
        lock.unlock();
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(info) == info.size());
        f.close();

        boxes_->answers = {"Yes"};
        auto b = startCopy();
        QCOMPARE(firstName(*b), QStringLiteral("Ann"));
    }

    // A judged shot is on disk before its first box shows: a crash or a
    // kill while the box is open loses nothing, and takes nothing back.
    void theJudgedShotIsKeptBeforeItsBoxes() {
        auto a = startCopy();
        play(*a, {"Ann", "Bob"});
        capzel::ui::MainWindow& w = *a->mainWindow();
        capzel::test::aim(w);
        QByteArray keptAtFirstBox;
        boxes_->holdBoxes = [&] {
            QFile f(slotFile(1));
            if (keptAtFirstBox.isEmpty() && f.open(QIODevice::ReadOnly)) keptAtFirstBox = f.readAll();
            return false;
        };
        QVERIFY(capzel::test::shoot(w));
        QVERIFY(!boxes_->messages().isEmpty());
        QFile f(slotFile(1));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(keptAtFirstBox, f.readAll());
        QVERIFY(keptAtFirstBox.contains("2,\" = Current turn\""));
    }

    // A kept game that is no saved game, or in which nobody is alive, is
    // refused once and set aside: no game begins, no history line is added,
    // no offer comes again.
    void aGameThatCannotGoOnIsSetAside_data() {
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("told");
        QTest::newRow("not a saved game") << false << "set aside";
        QTest::newRow("nobody alive") << true << "every player in it is out";
    }
    void aGameThatCannotGoOnIsSetAside() {
        QFETCH(bool, readable);
        QFETCH(QString, told);
        {
            auto a = startCopy();
            play(*a, {"Ann", "Bob"});
            capzel::Game nobodyAlive = a->game();
            for (int i = 1; i <= 2; ++i) nobodyAlive.seats[std::size_t(i)].dead = true;
            takeOver(*a, nobodyAlive);
        }
        if (!readable) {
            QFile f(slotFile(1));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("not a saved game\r\n") > 0);
        }
        boxes_->answers = {"Yes"};
        auto b = startCopy();
        QCOMPARE(boxes_->messages().size(), 1);
        QVERIFY2(boxes_->messages()[0].contains(told), qPrintable(boxes_->messages()[0]));
        QVERIFY(!b->game().gameRunning && !QFile::exists(slotFile(1)) && QFile::exists(slotFile(1) + ".broken"));
        QVERIFY(!QFile::exists(QString::fromStdString(capzel::ui::historyFile())));
        b.reset();
        boxes_->boxes.clear();
        auto c = startCopy();
        QVERIFY(boxes_->boxes.isEmpty());
    }
};

CAPZEL_QT_TEST(AutosaveTest)
#include "tst_autosave.moc"
