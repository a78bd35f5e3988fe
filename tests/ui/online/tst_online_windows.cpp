// The lobby and the chat line of an online game: texts as the players typed
// them, the chat's length and pace.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>

#include "support/ShotDir.h"
#include "support/QtTestMain.h"
#include "ui/online/ChatLine.h"
#include "ui/online/LobbyWindow.h"

using capzel::PlayerKind;
using capzel::protocol::SeatPresence;
using capzel::protocol::SeatStatus;
using capzel::ui::ChatLine;
using capzel::ui::LobbyWindow;

namespace {

const std::vector<SeatStatus> kSeats = {
    {1, "Ann", SeatPresence::Connected, PlayerKind::Human},
    {2, "<b>Bob</b>", SeatPresence::Waiting, PlayerKind::Human},
    {3, "Deep", SeatPresence::Computer, PlayerKind::Expert},
    {4, "", SeatPresence::Open, PlayerKind::Human},
};

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
};

CAPZEL_QT_TEST(OnlineWindowsTest)
#include "tst_online_windows.moc"
