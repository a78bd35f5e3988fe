// The online game's windows: host and join dialogs (entries, choices kept), the lobby and the chat line.
#include <QHostAddress>

#include "support/QtTestMain.h"
#include "ui/online/ChatLine.h"
#include "ui/online/HostOnlineDialog.h"
#include "ui/online/JoinOnlineDialog.h"
#include "ui/online/LobbyWindow.h"
#include "ui/online/OnlineEntries.h"

using namespace capzel;
using namespace capzel::ui;
using namespace capzel::protocol;
using capzel::network::LanGame;
using Who = HostSeat::Who;

namespace {

const std::vector<SeatStatus> kSeats = {{1, "Ann", SeatPresence::Connected, PlayerKind::Human}, {2, "<b>Bob</b>", SeatPresence::Waiting, PlayerKind::Human},
                                        {3, "Deep", SeatPresence::Computer, PlayerKind::Expert}, {4, "", SeatPresence::Open, PlayerKind::Human}};

}  // namespace

class OnlineWindowsTest : public capzel::test::UiTest {
    Q_OBJECT

private slots:
    // What a typed server address becomes; none when it is not one.
    void serverUrls() {
        const std::pair<const char*, const char*> rows[] = {
            {"example.org", "ws://example.org:47474"}, {" Example.ORG:7788 ", "ws://example.org:7788"}, {"192.0.2.7:1", "ws://192.0.2.7:1"},
            {"[::1]:9000", "ws://[::1]:9000"}, {"ws://h:5/", "ws://h:5"}, {"WSS://h", "wss://h:47474"}, {"  ", nullptr},
            {"http://h:80", "ws://h:80"}, {"HTTPS://h", "wss://h:47474"}, {"ftp://h:80", nullptr}, {"ws://h:5/room", nullptr},
            {"h:5?x=1", nullptr}, {"ws://me@h:5", nullptr}, {"h:0", nullptr}, {"h:65536", nullptr}, {"h:port", nullptr},
            {"ws://:5", nullptr}, {"my host:5", nullptr}};
        for (const auto& [typed, url] : rows)
            QVERIFY2(serverUrl(typed) == (url ? std::optional<QString>(url) : std::nullopt), typed);
    }

    // OK follows the seats: one played here, and a name for every seat not left to a remote player.
    void hostEntries() {
        const int here = int(Who::ThisComputer), remote = int(Who::Remote), computer = int(Who::Computer);
        const struct { const char* what; QList<int> who; QStringList names; bool ok; } rows[] = {
            {"alone", {here}, {"Ann"}, true},
            {"no name", {here}, {" "}, false},
            {"nobody here", {remote, computer}, {"", "Cy"}, false},
            {"remote needs no name", {here, remote, remote}, {"Ann", "", ""}, true},
            {"computer needs a name", {here, computer}, {"Ann", ""}, false},
            {"control character", {here}, {"A\tnn"}, false},
            {"eight", QList<int>(8, here), QStringList(8, "P"), true},
        };
        for (const auto& r : rows) {
            HostOnlineDialog d;
            d.seatCountBox()->setValue(int(r.who.size()));
            for (int i = 0; i < r.who.size(); ++i) d.whoChoice(i + 1)->setCurrentIndex(r.who[i]), d.nameEdit(i + 1)->setText(r.names[i]);
            QVERIFY2(d.okButton()->isEnabled() == r.ok && d.problemLabel()->text().isEmpty() == r.ok, r.what);
            QVERIFY2(d.choices().seats.size() == std::size_t(r.who.size()), r.what);
        }
    }

    // The choices as shown, kept when accepted and offered again; kept choices out of range read as something a host can play.
    void hostChoicesKept() {
        const HostChoices wanted{7788, false, {{"Ann", Who::ThisComputer, PlayerKind::Human}, {"", Who::Remote, PlayerKind::Human},
                                               {"Deep", Who::Computer, PlayerKind::Strong}}};
        {
            HostOnlineDialog d;
            d.portBox()->setValue(7788), d.wallsCheck()->setChecked(false), d.seatCountBox()->setValue(3);
            d.nameEdit(1)->setText("  Ann ");
            d.whoChoice(2)->setCurrentIndex(int(Who::Remote)), d.nameEdit(2)->setText("ignored");
            d.whoChoice(3)->setCurrentIndex(int(Who::Computer));
            d.levelChoice(3)->setCurrentIndex(d.levelChoice(3)->findText("Strong"));
            d.nameEdit(3)->setText("Deep");
            QVERIFY(!d.levelChoice(1)->isEnabled() && d.levelChoice(3)->isEnabled() && !d.nameEdit(2)->isEnabled() && d.choices() == wanted);
            capzel::test::saveShot(d, "host-dialog");
            d.accept();
        }
        HostOnlineDialog again;
        QVERIFY(again.choices() == wanted && !again.nameEdit(4)->isVisible());

        QSettings s(QSettings::IniFormat, QSettings::UserScope, "Capzel", "Capzel");
        s.remove("online/host");
        for (const auto& [key, value] : std::initializer_list<std::pair<QString, int>>{
                 {"port", 70000}, {"seats", 2}, {"seat1/who", int(Who::Remote)}, {"seat2/who", int(Who::Computer)}, {"seat2/kind", int(PlayerKind::Human)}})
            s.setValue("online/host/" + key, value);
        s.setValue("online/host/seat2/name", "Hal");
        s.sync();
        QCOMPARE(loadHostChoices(), (HostChoices{47474, true, {{"", Who::ThisComputer, PlayerKind::Human}, {"Hal", Who::Computer, PlayerKind::Novice}}}));
        s.setValue("online/host/seats", 9);
        s.sync();
        QCOMPARE(loadHostChoices().seats.size(), std::size_t(1));
    }

    void joinEntries() {
        // The code as typed, and as taken; no url: no good address.
        const struct { const char *what, *address, *code, *name; bool ok; const char *url, *takenCode; } rows[] = {
            {"typed lower case", "host:7788", "k7qx2m", "Bo", true, "ws://host:7788", "K7QX2M"},
            {"spaces dropped", "wss://h", "K7Q X2M", "Bo", true, "wss://h:47474", "K7QX2M"},
            {"too long a code is cut", "h", "K7QX2MZZ", "Bo", true, "ws://h:47474", "K7QX2M"},
            {"short code", "h", "K7QX2", "Bo", false, "ws://h:47474", "K7QX2"},
            {"letter easily misread", "h", "K7QX2O", "Bo", false, "ws://h:47474", "K7QX2O"},
            {"no name", "h", "K7QX2M", "", false, "ws://h:47474", "K7QX2M"},
            {"bad address", "ftp://h", "K7QX2M", "Bo", false, "", "K7QX2M"},
        };
        for (const auto& r : rows) {
            JoinOnlineDialog d;
            d.addressEdit()->clear(), d.codeEdit()->clear(), d.addressEdit()->setFocus();
            QTest::keyClicks(d.addressEdit(), r.address);
            QTest::keyClicks(d.codeEdit(), r.code);
            d.nameEdit()->setText(r.name);
            QVERIFY2(d.okButton()->isEnabled() == r.ok && d.choices().url == r.url && d.choices().code == r.takenCode, r.what);
        }
    }

    // An invitation pasted into any box (0 address, 1 code, 2 name) fills address, code and Watch; a greyed Join says what is missing.
    void joinTakesAnInvitation() {
        const struct { const char* what; int box; QString pasted, url, code; bool watch; } rows[] = {
            {"into the address", 0, "ws://192.0.2.2:47622/?room=A5LLG3", "ws://192.0.2.2:47622", "A5LLG3", false},
            {"into the code", 1, " ws://192.0.2.2:47622/?room=a5llg3 ", "ws://192.0.2.2:47622", "A5LLG3", false},
            {"into the name", 2, "wss://h.example:9/?room=A5LLG3", "wss://h.example:9", "A5LLG3", false},
            {"web page", 0, "http://192.0.2.2:47622/?room=A5LLG3", "ws://192.0.2.2:47622", "A5LLG3", false},
            {"secure page, watching", 1, "https://h.example:8443/?room=A5LLG3&watch", "wss://h.example:8443", "A5LLG3", true},
            {"the lobby's link of a secure server", 0, invitationText("wss://h.example:8443", "A5LLG3"), "wss://h.example:8443", "A5LLG3", false},
            {"no code: not an invitation", 1, "ws://192.0.2.2:47622/", "", "WS://1", false},
        };
        for (const auto& r : rows) {
            JoinOnlineDialog d;
            d.setChoices({"", "", "Bo", false});
            QVERIFY(!d.okButton()->isEnabled());
            QCOMPARE(d.missingLabel()->text(),
                     "Still needed to join: the server's address (host:port), the room's code (six letters and digits).");
            QLineEdit* edits[] = {d.addressEdit(), d.codeEdit(), d.nameEdit()};
            edits[r.box]->setFocus();
            edits[r.box]->insert(r.pasted);
            QVERIFY2(d.addressEdit()->text() == r.url && d.codeEdit()->text() == r.code, r.what);
            QVERIFY2(d.nameEdit()->text() == "Bo" && d.spectateCheck()->isChecked() == r.watch, r.what);
            QVERIFY2(d.okButton()->isEnabled() != r.url.isEmpty() && d.missingLabel()->isHidden() != r.url.isEmpty(), r.what);
        }
    }

    // A game found on the network fills in address and code, staying chosen as the list is heard anew; accepted choices come back.
    void joinFromTheNetwork() {
        {
            JoinOnlineDialog d;
            const LanGame a{"Capzel", "alice-pc", QHostAddress("192.0.2.10"), 47474, "K7QX2M", 2, 1},
                b{"Capzel", "<b>bob</b>", QHostAddress("192.0.2.11"), 7000, "ABCDEF", 1, 1};
            d.setGames({a, b});
            d.gameList()->setCurrentRow(1);
            QVERIFY(d.addressEdit()->text() == "192.0.2.11:7000" && d.codeEdit()->text() == "ABCDEF" && d.gameList()->item(1)->text().contains("<b>bob</b>"));
            d.setGames({b, a});
            QCOMPARE(d.gameList()->currentRow(), 0);
            d.nameEdit()->setText("Cat"), d.spectateCheck()->setChecked(true);
            capzel::test::saveShot(d, "join-dialog");
            d.accept();
        }
        JoinOnlineDialog again;
        QVERIFY(again.choices() == (JoinChoices{"ws://192.0.2.11:7000", "ABCDEF", "Cat", true}) && again.okButton()->isEnabled());
    }

    void lobbySeats() {
        LobbyWindow lobby;
        lobby.setAddresses({"ws://192.0.2.2:47622", "ws://[2001:db8::2]:47622"});
        lobby.setCode("K7QX2M");
        lobby.setSeats(kSeats);
        const QTableWidget* t = lobby.seatTable();
        const QStringList expected[] = {{"1", "Ann", "person", "connected"}, {"2", "<b>Bob</b>", "person", "waiting for <b>Bob</b>…"},
                                        {"3", "Deep", "computer, Expert", "computer"}, {"4", "", "open", "open"}};
        QCOMPARE(t->rowCount(), 4);
        for (int row = 0; row < 4; ++row)
            for (int c = 0; c < LobbyWindow::ActionColumn; ++c) QCOMPARE(t->item(row, c)->text(), expected[row][c]);
        QVERIFY(!lobby.waitLabel()->isHidden() && !lobby.handButton(1));  // only the host hands seats over

        lobby.setHost(true);
        QSignalSpy handed(&lobby, &LobbyWindow::handToComputer);
        for (int row : {0, 2, 3}) QVERIFY(!lobby.handButton(row));
        lobby.handButton(1)->click();
        QCOMPARE(handed.value(0).value(0).toInt(), 2);
        capzel::test::saveShot(lobby, "lobby");

        for (const char* link : {"http://192.0.2.2:47622/?room=K7QX2M", "http://[2001:db8::2]:47622/?room=K7QX2M"}) {  // one text each
            lobby.copyButton()->click();
            QCOMPARE(QApplication::clipboard()->text(), link);
            lobby.addressChoice()->setCurrentIndex(1);
        }
        QSignalSpy leaving(&lobby, &LobbyWindow::leaveRequested);
        lobby.leaveButton()->click();
        QCOMPARE(leaving.size(), 1);

        const QStringList mine = reachableAddresses();  // numbers another computer reaches, loopback only when nothing else
        QVERIFY(!mine.isEmpty());
        for (QString address : mine) {
            const QHostAddress a(address.remove('[').remove(']'));
            QVERIFY2(!a.isNull() && (!a.isLoopback() || mine.size() == 1), qPrintable(address));
        }

        lobby.setSeats({kSeats[0], kSeats[1], kSeats[2], {4, "Dee", SeatPresence::Connected, PlayerKind::Human}});
        QVERIFY(lobby.waitLabel()->isHidden());
    }

    // A line goes out trimmed, on one line, within the protocol's length (an emoji counts as one); the log shows it as typed.
    void chatText() {
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        const std::pair<QString, QString> rows[] = {  // typed, sent (empty: nothing goes out)
            {"hello", "hello"}, {"<b>hi</b> <img src='x'>", "<b>hi</b> <img src='x'>"}, {"  hi  ", "hi"}, {"   ", ""}, {"one\ntwo", "one two"},
            {QString(400, 'a'), QString(300, 'a')}, {emoji.repeated(300), emoji.repeated(300)}};
        for (const auto& [typed, sent] : rows) {
            ChatLine chat;
            QSignalSpy spy(&chat, &ChatLine::sendLine);
            chat.lineEdit()->insert(typed), chat.send();
            QCOMPARE(spy.size(), sent.isEmpty() ? 0 : 1);
            if (!sent.isEmpty()) QCOMPARE(spy.value(0).value(0).toString(), sent);
        }
    }

    void chatLog() {
        ChatLine chat;
        chat.addLine("<b>Bob</b>", "<i>hi</i> &amp;"), chat.addLine("Ann", "two\nlines");
        QCOMPARE(chat.log()->toPlainText(), "<b>Bob</b>: <i>hi</i> &amp;\nAnn: two lines");
        for (int i = 0; i < ChatLine::kLogLines + 5; ++i) chat.addLine("Ann", QString::number(i));
        QCOMPARE(chat.log()->document()->blockCount(), ChatLine::kLogLines);
        chat.resize(360, chat.sizeHint().height());
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
        QVERIFY(spy.size() == 1 && chat.lineEdit()->text() == "two");  // kept for when the gap is over
        QTRY_VERIFY(chat.sendButton()->isEnabled());
        chat.sendButton()->click();
        QVERIFY(spy.size() == 2 && spy.value(1).value(0).toString() == "two");
    }
};

CAPZEL_QT_TEST(OnlineWindowsTest)
#include "tst_online_windows.moc"
