// The high-score window: the default table created in an empty folder, a
// hand-edited file shown as it is, the window brought up again rather than
// read again, the per-user folder when the program's folder cannot be
// written, and the end of a game opening it.
#include <QFile>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "records/HighScores.h"
#include "model/Placement.h"
#include "support/BoxAnswerer.h"
#include "support/QtTestMain.h"
#include "ui/App.h"
#include "ui/ProgramFolder.h"
#include "ui/frmHighScores.h"
#include "ui/StepScheduler.h"
#include "ui/frmMain.h"

using capzel::ui::CapzelApp;
using capzel::ui::frmHighScores;

class HighScoresTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CapzelApp> app_;
    std::unique_ptr<QTemporaryDir> dir_;

    QString chs() const { return dir_->filePath(QStringLiteral("Capzel.CHS")); }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    frmHighScores* open() {
        app_->showHighScores();
        return app_->highScoresWindow();
    }
    static QStringList rows(const frmHighScores* w) {
        QStringList out;
        for (int i = 1; i <= capzel::kHighScoreRows; ++i) out << w->lblName(i)->text() + "|" + w->lblScore(i)->text();
        return out;
    }

    // Opens the window with the program in `programFolder` and checks that
    // the table went to the per-user data folder.
    void expectPerUserTable(const QString& programFolder) {
        QTemporaryDir dataHome;
        const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        capzel::ui::setProgramFolder(programFolder.toStdString());
        frmHighScores* w = open();
        const QString expected =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Capzel.CHS");
        qputenv("XDG_DATA_HOME", oldDataHome);
        QVERIFY(w);
        QVERIFY(expected.startsWith(dataHome.path()));
        QCOMPARE(read(expected), QByteArray::fromStdString(capzel::defaultHighScoreFile()));
        QCOMPARE(w->lblScore(1)->text(), QStringLiteral("100"));
        w->close();
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        capzel::ui::setProgramFolder(dir_->path().toStdString());
        app_ = std::make_unique<CapzelApp>();
        app_->openMainWindow();
    }
    void cleanup() {
        app_.reset();
        capzel::ui::setProgramFolder({});
    }

    // The table is created in the program's folder (its content is the
    // core's HighScores tests) and shown in the window's rows.
    void defaultTableInAnEmptyFolder() {
        QVERIFY(!QFile::exists(chs()));
        frmHighScores* w = open();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("High Scores"));
        QCOMPARE(w->size(), QSize(282, 347));  // 4230 x 5205 twips
        QVERIFY(QFile::exists(chs()));
        QStringList expected;
        for (int score = 100; score >= 10; score -= 10) expected << QStringLiteral("Norvin Telk|%1").arg(score);
        QCOMPARE(rows(w), expected);
        // Row 10 stands at 4560 twips, its name 195 twips into the frame.
        QCOMPARE(w->lblName(10)->mapTo(w, QPoint(0, 0)), QPoint(16, 317));
        QCOMPARE(w->lblScore(1)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    }

    // A hand-edited file in its own order, a name with markup as typed, a
    // broken line as an empty row; the file is only read.
    void handEditedFileShownAsItIs() {
        write(chs(), "\"Zed\",5\r\n\"<b>Amy</b>\",900\r\n\"unclosed,7\r\n");
        frmHighScores* w = open();
        QVERIFY(w);
        QCOMPARE(rows(w).mid(0, 4), QStringList({"Zed|5", "<b>Amy</b>|900", "|", "|"}));
        QCOMPARE(w->lblName(2)->textFormat(), Qt::PlainText);
        QCOMPARE(read(chs()).left(9), QByteArray("\"Zed\",5\r\n"));
    }

    void openAgainBringsUpWithoutReading() {
        frmHighScores* first = open();
        QVERIFY(first);
        write(chs(), "\"Changed\",1\r\n");
        QCOMPARE(open(), first);
        QCOMPARE(first->lblName(1)->text(), QStringLiteral("Norvin Telk"));
        // Closed, it is gone; the next one reads the file afresh.
        QPointer<frmHighScores> closed(first);
        first->close();
        QTRY_VERIFY(closed.isNull());
        QCOMPARE(app_->highScoresWindow(), nullptr);
        frmHighScores* second = open();
        QVERIFY(second);
        QCOMPARE(second->lblName(1)->text(), QStringLiteral("Changed"));
        QCOMPARE(second->lblScore(2)->text(), QString());
    }

    void perUserFolderWhenTheProgramFolderIsNotWritable() {
        expectPerUserTable(dir_->filePath(QStringLiteral("missing")));
    }

    // An installed copy (bin/ beside share/capzel/) keeps scores per user
    // even when its folder could be written, as for an administrator.
    void perUserFolderForAnInstalledCopy() {
        QDir root(dir_->path());
        QVERIFY(root.mkpath(QStringLiteral("prefix/bin")) && root.mkpath(QStringLiteral("prefix/share/capzel/media")));
        const QString bin = root.filePath(QStringLiteral("prefix/bin"));
        QVERIFY(capzel::ui::installedCopy(bin.toStdString()));
        expectPerUserTable(bin);
        QVERIFY(!QFile::exists(bin + QStringLiteral("/Capzel.CHS")));
        // A build folder (songs in media/ beside the program) is not installed.
        QVERIFY(root.mkpath(QStringLiteral("prefix/bin/media")));
        QVERIFY(!capzel::ui::installedCopy(bin.toStdString()));
    }

    void folderWritableIsTried() {
        QVERIFY(capzel::ui::folderWritable(dir_->path().toStdString()));
        QVERIFY(!capzel::ui::folderWritable(dir_->filePath("missing").toStdString()));
        write(dir_->filePath("plain"), "x");
        QVERIFY(!capzel::ui::folderWritable(dir_->filePath("plain").toStdString()));
        QVERIFY(!capzel::ui::folderWritable(""));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plain"});  // no probe left
    }

    // A lone player's shot that leaves the piece in D wins the game: the
    // window whose turn it was opens the table.
    void endOfGameOpensIt() {
        capzel::ui::frmMain* w = app_->mainWindow();
        capzel::GameContext ctx = w->context();
        capzel::modCapzel& g = ctx.g;
        g.NumberOfPlayers = 1;
        g.recreatePerGameTables();
        g.CurrentTurn = 1;
        g.GameRunning = true;
        g.InGame[1] = true;
        g.Position[1] = 28;
        g.Friction[1] = 98;
        capzel::centrePieceOn(ctx.piece(1), ctx.board().Spot[29]);
        capzel::test::BoxAnswerer boxes;
        w->turn().mouseMove(1, 0, 0, 0);
        g.Power = 1310;  // too weak to move the piece
        w->turn().startShot();
        w->scheduler().start();
        QTRY_VERIFY(!w->turn().running());
        QVERIFY(!g.GameRunning);
        QVERIFY(app_->highScoresWindow() && app_->highScoresWindow()->isVisible());
    }
};

CAPZEL_QT_TEST_MAIN(HighScoresTest)
#include "tst_highscores.moc"
