// Running games kept by copies sharing one data folder: each keeps its own, offers only what no running copy holds.
#include "support/QtTestMain.h"
#include "desktop/Autosave.h"
#include "desktop/ProgramFolder.h"

using capzel::ui::CapzelApp;

class AutosaveTest : public capzel::test::UiTest {
    Q_OBJECT

    std::unique_ptr<capzel::test::ModalAnswerer> boxes_;

    static QString slotFile(int slot) { return QString::fromStdString(capzel::ui::autosaveSlotFile(capzel::ui::userDataFolder(), slot)); }

    static std::unique_ptr<CapzelApp> startCopy() {  // its window, and at its start the offer of kept games
        auto app = std::make_unique<CapzelApp>();
        app->openMainWindow();
        app->offerResume();
        return app;
    }

    static void play(CapzelApp& app, const QStringList& names) {  // kept on disk as after a judged shot
        capzel::NewGameSettings s;
        s.players = int(names.size());
        for (int i = 0; i < names.size(); ++i) s.names[std::size_t(i + 1)] = names[i].toStdString();
        app.session().beginNewGame(s);
    }

    // The game goes on from `g` as it stands, kept as a game taken over is.
    static void takeOver(CapzelApp& app, capzel::Game g) { app.session().beginOnlineGame(g, std::nullopt); }

    static QString firstName(CapzelApp& app) { return QString::fromStdString(app.game().seats[1].name); }

private slots:
    void init() { boxes_ = std::make_unique<capzel::test::ModalAnswerer>(); }
    void cleanup() {
        boxes_.reset();
        for (const QString& name : QDir(QString::fromStdString(capzel::ui::userDataFolder())).entryList(QDir::Files))
            QFile::remove(QString::fromStdString(capzel::ui::userDataFolder()) + "/" + name);
    }

    // Two games left by copies that are gone: a choice lists both, the pick goes on in its own file, the other stays.
    void severalKeptGamesAreListed() {
        {
            auto a = startCopy(), b = startCopy();
            play(*a, {"Ann"}), play(*b, {"Bob"});
        }
        boxes_->answers = {"Bob"};
        auto c = startCopy();
        QVERIFY(boxes_->choices.size() == 1 && boxes_->choices[0].size() == 2);
        QVERIFY(boxes_->choices[0][0].startsWith("Ann") && boxes_->choices[0][1].startsWith("Bob") && firstName(*c) == "Bob");
        capzel::Game over = c->game();
        over.gameRunning = false;
        takeOver(*c, over);
        QVERIFY(QFile::exists(slotFile(1)) && !QFile::exists(slotFile(2)));

        boxes_->boxes.clear();  // while c runs, a copy started beside it is offered Ann's game only
        boxes_->answers = {"No"};
        auto d = startCopy();
        QVERIFY(boxes_->messages() == QStringList{capzel::ui::kResumeQuestion} && boxes_->choices.size() == 1 && !d->game().gameRunning);
    }

    // A ninth copy keeps no game, and says so once; the eight keep theirs.
    void aCopyBeyondTheSlotsSaysSoOnce() {
        std::vector<std::unique_ptr<CapzelApp>> copies;
        for (int k = 0; k <= capzel::ui::kAutosaveSlots; ++k) {
            copies.push_back(startCopy());
            play(*copies.back(), {QStringLiteral("P%1").arg(k)});
        }
        copies.back()->session().keep();
        QVERIFY(boxes_->messages().size() == 1 && boxes_->messages()[0].contains("held by another running copy"));
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
        QLockFile lock(slotFile(1) + ".lock");  // taken, then given the gone process's id
        QVERIFY(lock.tryLock(0));
        const QByteArray held = capzel::test::readBytes(slotFile(1) + ".lock");
        lock.unlock();
        QVERIFY(capzel::test::writeBytes(slotFile(1) + ".lock", QByteArray::number(pid) + held.mid(held.indexOf('\n'))));

        boxes_->answers = {"Yes"};
        auto b = startCopy();
        QCOMPARE(firstName(*b), QStringLiteral("Ann"));
    }

    // A judged shot is on disk before its first box shows: a crash while the box is open loses nothing, takes nothing back.
    void theJudgedShotIsKeptBeforeItsBoxes() {
        auto a = startCopy();
        play(*a, {"Ann", "Bob"});
        capzel::ui::MainWindow& w = *a->mainWindow();
        capzel::test::aim(w);
        QByteArray keptAtFirstBox;
        boxes_->holdBoxes = [&] {
            if (keptAtFirstBox.isEmpty()) keptAtFirstBox = capzel::test::readBytes(slotFile(1));
            return false;
        };
        QVERIFY(capzel::test::shoot(w) && !boxes_->messages().isEmpty());
        QVERIFY(keptAtFirstBox == capzel::test::readBytes(slotFile(1)) && keptAtFirstBox.contains("2,\" = Current turn\""));
    }

    // A kept game that cannot go on (no saved game, nobody alive) is refused once, set aside: no game, no history line, no new offer.
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
        if (!readable) QVERIFY(capzel::test::writeBytes(slotFile(1), "not a saved game\r\n"));
        boxes_->answers = {"Yes"};
        auto b = startCopy();
        QVERIFY2(boxes_->messages().size() == 1 && boxes_->messages()[0].contains(told), qPrintable(boxes_->messages().join('|')));
        QVERIFY(!b->game().gameRunning && !QFile::exists(slotFile(1)) && QFile::exists(slotFile(1) + ".broken"));
        QVERIFY(!QFile::exists(QString::fromStdString(capzel::ui::historyFile())));
        b.reset(), boxes_->boxes.clear();
        auto c = startCopy();
        QVERIFY(boxes_->boxes.isEmpty());
    }
};

CAPZEL_QT_TEST(AutosaveTest)
#include "tst_autosave.moc"
