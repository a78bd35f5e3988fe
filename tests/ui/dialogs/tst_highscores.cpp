// The high-score window and the game history at the end of a game.
#include <QChartView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <memory>

#include "records/HighScores.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "ui/windows/GameHistoryWindow.h"
#include "ui/windows/HighScoreWindow.h"
#include "ui/desktop/ProgramFolder.h"

using capzel::ui::HighScoreWindow;

class HighScoresTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;
    std::unique_ptr<QTemporaryDir> dir_;

    QString chs() const { return dir_->filePath(QStringLiteral("Capzel.CHS")); }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    HighScoreWindow* open() {
        f.app->showHighScores();
        return f.app->highScoresWindow();
    }
private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        capzel::ui::setProgramFolder(dir_->path().toStdString());
        QVERIFY(f.open());
    }
    void cleanup() {
        f.close();
        capzel::ui::setProgramFolder({});
    }

    // The table is created; the window shown again is not reread; once closed, the next one rereads.
    void openAgainBringsUpWithoutReading() {
        QVERIFY(!QFile::exists(chs()));
        HighScoreWindow* first = open();
        QVERIFY(first && first->isVisible());
        QVERIFY(QFile::exists(chs()));
        write(chs(), "\"Changed\",1\r\n");
        QCOMPARE(open(), first);
        QCOMPARE(first->nameLabel(1)->text(), QStringLiteral("Norvin Telk"));
        QPointer<HighScoreWindow> closed(first);
        first->close();
        QTRY_VERIFY(closed.isNull());
        QCOMPARE(f.app->highScoresWindow(), nullptr);
        HighScoreWindow* second = open();
        QVERIFY(second);
        QCOMPARE(second->nameLabel(1)->text(), QStringLiteral("Changed"));
        QCOMPARE(second->scoreLabel(2)->text(), QString());
    }

    // A game's end opens the scores and adds to the history; what is no history is set aside, told.
    void endOfGameOpensItAndAddsToTheHistory_data() {
        QTest::addColumn<QByteArray>("before");  // "dir" for a folder in its place
        QTest::addColumn<int>("games");
        QTest::addColumn<bool>("setAside");
        QTest::newRow("no history yet") << QByteArray() << 1 << false;
        QTest::newRow("a history of one game")
            << QByteArray("\"2026-01-01 10:00\",1,1,9,\"Bob\",\"Human\",300\r\n") << 2 << false;
        QTest::newRow("not a history") << QByteArray("\"2026-01-01 10:00\",1,1,9,\"Bob\"\r\n") << 1 << true;
        QTest::newRow("a folder") << QByteArray("dir") << 1 << true;
    }
    void endOfGameOpensItAndAddsToTheHistory() {
        QFETCH(QByteArray, before);
        QFETCH(int, games);
        QFETCH(bool, setAside);
        const QString history = QString::fromStdString(capzel::ui::historyFile());
        const QString aside = history + QStringLiteral(".broken");
        QDir(history).removeRecursively();
        QFile::remove(history);
        QFile::remove(aside);
        if (before == "dir")
            QVERIFY(QDir().mkpath(history));
        else if (!before.isEmpty())
            write(history, before);

        // Bob is dead: Ann, a killer, wins with a shot that leaves her in box 1.
        QVERIFY(f.startGame({"<b>Ann</b>", "Bob"}));
        capzel::GameState& g = f.state();
        g.playerKind[2] = capzel::PlayerKind::Club;
        g.dead[2] = g.isKiller[1] = true;
        capzel::test::ModalAnswerer& boxes = *f.modals;
        boxes.boxes.clear();
        capzel::test::aim(f.window());
        QVERIFY(capzel::test::shoot(f.window(), 1310));
        QVERIFY(!g.gameRunning);
        QVERIFY(f.app->highScoresWindow() && f.app->highScoresWindow()->isVisible());
        QVERIFY(boxes.messages().value(0).endsWith(QStringLiteral("<b>Ann</b> WON!")));
        QCOMPARE(boxes.messages().size(), 1 + int(setAside));
        QCOMPARE(QFileInfo::exists(aside), setAside);
        if (setAside) {
            QVERIFY(boxes.messages().constLast().contains(aside));
            if (before != "dir") QCOMPARE(read(aside), before);
        }

        f.app->showHistory();
        capzel::ui::GameHistoryWindow* w = f.app->historyWindow();
        QVERIFY(w && w->isVisible());
        const QAbstractItemModel* rows = w->gameList()->model();
        QCOMPARE(rows->rowCount(), games);
        QCOMPARE(rows->index(0, 1).data().toString(), QStringLiteral("<b>Ann</b>"));  // newest first
        QVERIFY(rows->index(0, 3).data().toString().contains(QStringLiteral("Bob (Club)")));
        QTRY_VERIFY(!w->counting());
        QCOMPARE(w->winList()->topLevelItem(0)->text(0), QStringLiteral("<b>Ann</b>"));
        QCOMPARE(w->winList()->topLevelItemCount(), 2);
        QCOMPARE(boxes.messages().size(), 1 + int(setAside));  // the window found a good history

        // Charts... shows its window at once and its charts once the history is read.
        w->chartsButton()->click();
        auto* charts = w->findChild<QWidget*>(QStringLiteral("historyCharts"));
        QVERIFY(charts && charts->isVisible());
        QTRY_VERIFY(charts->findChild<QChartView*>(QStringLiteral("winsChart")));
        QCOMPARE(charts->findChild<QChartView*>(QStringLiteral("winsChart"))->chart()->series().size(), 2);
    }

    // A bad line among good ones, found while the wins are counted: the file
    // is set aside with a message and the window shows the new, empty history.
    void aBadLineFoundWhileCountingSetsTheHistoryAside() {
        const QString history = QString::fromStdString(capzel::ui::historyFile());
        const QByteArray good = "\"2026-01-01 10:00\",1,1,9,\"Bob\",\"Human\",300\r\n";
        const QByteArray before = good + "\"2026-01-01 11:00\",1,1\r\n" + good;
        QFile::remove(history);
        QDir(history + QStringLiteral(".broken")).removeRecursively();  // the last case's folder
        write(history, before);
        f.modals->boxes.clear();
        f.app->showHistory();
        capzel::ui::GameHistoryWindow* w = f.app->historyWindow();
        QVERIFY(w);
        QTRY_COMPARE(f.modals->messages().size(), 1);
        QVERIFY(f.modals->messages().constFirst().contains(QStringLiteral("line 2")));
        QCOMPARE(read(history + QStringLiteral(".broken")), before);
        QCOMPARE(w->gameList()->model()->rowCount(), 0);
        QTRY_COMPARE(w->winList()->topLevelItemCount(), 0);
    }
};

CAPZEL_QT_TEST(HighScoresTest)
#include "tst_highscores.moc"
