// The lobby, the chat line, and the status window's presence in an online
// game: texts as the players typed them, the chat's length and pace, and the
// classic table left as it was.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include "model/GameState.h"
#include "support/ShotDir.h"
#include "support/QtTestMain.h"
#include "ui/online/ChatLine.h"
#include "ui/online/LobbyWindow.h"
#include "ui/windows/StatusWindow.h"

using capzel::PlayerKind;
using capzel::protocol::SeatPresence;
using capzel::protocol::SeatStatus;
using capzel::ui::ChatLine;
using capzel::ui::LobbyWindow;
using capzel::ui::StatusWindow;

namespace {

const std::vector<SeatStatus> kSeats = {
    {1, "Ann", SeatPresence::Connected, PlayerKind::Human},
    {2, "<b>Bob</b>", SeatPresence::Waiting, PlayerKind::Human},
    {3, "Deep", SeatPresence::Computer, PlayerKind::Expert},
    {4, "", SeatPresence::Open, PlayerKind::Human},
};

capzel::GameState gameOf(int players) {
    capzel::GameState g;
    g.numberOfPlayers = std::int16_t(players);
    g.currentTurn = 1;
    g.gameRunning = true;
    g.recreatePerGameTables();
    for (int i = 1; i <= players; ++i) {
        g.playerName[i] = kSeats[std::size_t(i - 1)].name;
        g.playerColor[i] = capzel::rgb(255, 255, 0);
    }
    return g;
}

}  // namespace

class OnlineWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }

    void lobbySeats() {
        LobbyWindow lobby;
        lobby.setCode("K7QX2M");
        lobby.setAddress("ws://192.0.2.2:47474");
        lobby.setSeats(kSeats);
        const QTableWidget* t = lobby.seatTable();
        const QStringList expected[] = {{"1", "Ann", "person", "connected"},
                                        {"2", "<b>Bob</b>", "person", "waiting for <b>Bob</b>…"},
                                        {"3", "Deep", "computer, Expert", "computer"},
                                        {"4", "", "open", "open"}};
        QCOMPARE(t->rowCount(), 4);
        for (int row = 0; row < 4; ++row)
            for (int c = 0; c < LobbyWindow::ActionColumn; ++c) QCOMPARE(t->item(row, c)->text(), expected[row][c]);
        QVERIFY(!lobby.waitLabel()->isHidden());
        QVERIFY(!lobby.handButton(1));  // only the host hands seats over

        lobby.setHost(true);
        QSignalSpy handed(&lobby, &LobbyWindow::handToComputer);
        for (int row : {0, 2, 3}) QVERIFY(!lobby.handButton(row));
        lobby.handButton(1)->click();
        QCOMPARE(handed.value(0).value(0).toInt(), 2);
        lobby.show();
        capzel::test::saveShot(lobby, "lobby");

        lobby.copyButton()->click();
        QCOMPARE(QApplication::clipboard()->text(), "ws://192.0.2.2:47474 K7QX2M");
        QSignalSpy leaving(&lobby, &LobbyWindow::leaveRequested);
        lobby.leaveButton()->click();
        QCOMPARE(leaving.size(), 1);

        std::vector<SeatStatus> full = kSeats;
        full[3] = {4, "Dee", SeatPresence::Connected, PlayerKind::Human};
        lobby.setSeats(full);
        QVERIFY(lobby.waitLabel()->isHidden());
    }

    // A line goes out trimmed, on one line, within the protocol's length; a
    // line shows in the log exactly as typed.
    void chatText_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sent");  // empty: nothing goes out
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("plain") << "hello" << "hello";
        QTest::newRow("markup") << "<b>hi</b> <img src='x'>" << "<b>hi</b> <img src='x'>";
        QTest::newRow("trimmed") << "  hi  " << "hi";
        QTest::newRow("blank") << "   " << "";
        QTest::newRow("line break") << "one\ntwo" << "one two";
        QTest::newRow("too long") << QString(400, 'a') << QString(300, 'a');
        QTest::newRow("emoji count as one") << emoji.repeated(300) << emoji.repeated(300);
    }
    void chatText() {
        QFETCH(QString, typed);
        QFETCH(QString, sent);
        ChatLine chat;
        QSignalSpy spy(&chat, &ChatLine::sendLine);
        chat.lineEdit()->insert(typed);
        chat.send();
        QCOMPARE(spy.size(), sent.isEmpty() ? 0 : 1);
        if (!sent.isEmpty()) QCOMPARE(spy.value(0).value(0).toString(), sent);
    }

    void chatLog() {
        ChatLine chat;
        chat.addLine("<b>Bob</b>", "<i>hi</i> &amp;");
        chat.addLine("Ann", "two\nlines");
        QCOMPARE(chat.log()->toPlainText(), "<b>Bob</b>: <i>hi</i> &amp;\nAnn: two lines");
        for (int i = 0; i < ChatLine::kLogLines + 5; ++i) chat.addLine("Ann", QString::number(i));
        QCOMPARE(chat.log()->document()->blockCount(), ChatLine::kLogLines);
        chat.resize(360, chat.sizeHint().height());
        chat.show();
        capzel::test::saveShot(chat, "chat-line");
    }

    // One line within the gap: the Send button greyed, Return ignored.
    void chatPace() {
        ChatLine chat;
        chat.setMinimumGap(150);
        QSignalSpy spy(&chat, &ChatLine::sendLine);
        chat.lineEdit()->setText("one");
        QTest::keyClick(chat.lineEdit(), Qt::Key_Return);
        chat.lineEdit()->setText("two");
        QVERIFY(!chat.sendButton()->isEnabled());
        QTest::keyClick(chat.lineEdit(), Qt::Key_Return);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(chat.lineEdit()->text(), "two");  // kept for when the gap is over
        QTRY_VERIFY(chat.sendButton()->isEnabled());
        chat.sendButton()->click();
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.value(1).value(0).toString(), "two");
    }

    // Online, the classic cells stay as they were; a dot beside each player
    // present, a ring for the awaited one, and a line naming whom the game
    // waits for. Offline again, the window is as it was.
    void statusPresence() {
        const capzel::GameState g = gameOf(3);
        StatusWindow w(g);
        w.show();
        w.refreshRows();
        const QSize offline = w.size();
        QList<QRect> cellPlaces;
        QStringList cellTexts;
        for (int row = 1; row <= 3; ++row)
            for (int c = 0; c < StatusWindow::ColumnCount; ++c) {
                cellPlaces << w.cell(StatusWindow::Column(c), row)->geometry();
                cellTexts << w.cell(StatusWindow::Column(c), row)->text();
            }

        w.setPresence({kSeats.begin(), kSeats.begin() + 3});
        QVERIFY(w.height() > offline.height());
        QCOMPARE(w.width(), offline.width());
        int i = 0;
        for (int row = 1; row <= 3; ++row)
            for (int c = 0; c < StatusWindow::ColumnCount; ++c, ++i) {
                QCOMPARE(w.cell(StatusWindow::Column(c), row)->geometry(), cellPlaces[i]);
                QCOMPARE(w.cell(StatusWindow::Column(c), row)->text(), cellTexts[i]);
            }
        QCOMPARE(w.presenceLine()->text(), "waiting for <b>Bob</b>…");
        // As typed, tags and all: markup would show narrower.
        const QLabel* line = w.presenceLine();
        QVERIFY(line->sizeHint().width() >= line->fontMetrics().horizontalAdvance(line->text()));
        QVERIFY(w.presenceLine()->isVisible());
        QCOMPARE(w.cell(StatusWindow::NameColumn, 1)->toolTip(), "Ann is connected");
        const QImage shot = w.grab().toImage();
        capzel::test::saveShot(w, "status-online");
        const auto centre = [&](int row) { return shot.pixelColor(w.presenceDotRect(row).center()); };
        QCOMPARE(centre(1), QColor(0, 200, 0));  // filled
        QCOMPARE(centre(2), QColor(Qt::black));  // a ring
        QCOMPARE(centre(3), QColor(Qt::black));  // the computer: nothing
        QVERIFY(!w.presenceLine()->geometry().intersects(w.cell(StatusWindow::NameColumn, 3)->geometry()));
        QVERIFY(w.presenceLine()->geometry().bottom() < w.height());

        w.setPresence({});
        QCOMPARE(w.size(), offline);
        QVERIFY(!w.presenceLine()->isVisible());
        QVERIFY(w.cell(StatusWindow::NameColumn, 1)->toolTip().isEmpty());
        QCOMPARE(w.grab().toImage().pixelColor(w.presenceDotRect(1).center()), QColor(Qt::black));
    }
};

CAPZEL_QT_TEST(OnlineWindowsTest)
#include "tst_online_windows.moc"
