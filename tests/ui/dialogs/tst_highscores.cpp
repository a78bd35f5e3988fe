// The high-score window: the default table created in an empty folder, and
// the window brought up again rather than read again. Edited files are the
// core's; the end of a game opening it is played in the end-to-end test.
#include <QFile>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "records/HighScores.h"
#include "rules/Turns.h"
#include "support/QtTestMain.h"
#include "ui/App.h"
#include "ui/ProgramFolder.h"
#include "ui/frmHighScores.h"
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

};

CAPZEL_QT_TEST(HighScoresTest)
#include "tst_highscores.moc"
