// Games announced on the local network: what the browser takes from a datagram (anything on the group
// is untrusted), and an announcement heard, changed and forgotten through the loopback interface.
#include <QNetworkInterface>
#include <QUdpSocket>

#include "network/LanDiscovery.h"
#include "support/QtTestMain.h"

using namespace capzel::network;

Q_DECLARE_METATYPE(std::optional<LanGame>)

namespace {

const QHostAddress kSender("192.0.2.9");
const LanGame kGame{"Capzel", "alice-pc", kSender, 47474, "K7QX2M", 2, 1};

QByteArray with(const char* field, const QByteArray& value) {
    QByteArray d = R"({"capzel":"game","protocol":1,"game":"Capzel","host":"alice-pc","port":47474,"code":"K7QX2M","open":2})";
    const QByteArray key = QByteArray("\"") + field + "\":";
    const qsizetype at = d.indexOf(key);
    if (at < 0) return d.left(d.size() - 1) + "," + key + value + "}";
    const qsizetype start = at + key.size();
    qsizetype end = start;
    if (d[start] == '"') end = d.indexOf('"', start + 1) + 1;
    else while (d[end] != ',' && d[end] != '}') ++end;
    return d.left(start) + value + d.mid(end);
}

QByteArray without(const char* field) { return with(field, "null").replace(QByteArray("\"") + field + "\":null,", ""); }

}  // namespace

class LanTest : public capzel::test::UiTest {
    Q_OBJECT

private slots:
    void datagrams_data() {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<bool>("taken");
        const auto good = with("open", "2");
        QTest::newRow("good") << good << true;
        QTest::newRow("markup in a name is text") << with("host", R"("<img src='x'>")") << true;
        QTest::newRow("no seat open") << with("open", "0") << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("not json") << QByteArray("hello") << false;
        QTest::newRow("array") << QByteArray("[1,2]") << false;
        QTest::newRow("truncated") << good.left(good.size() - 1) << false;
        QTest::newRow("too long") << with("pad", '"' + QByteArray(1100, 'x') + '"') << false;
        QTest::newRow("deeply nested field beside") << with("pad", QByteArray(400, '[') + QByteArray(400, ']')) << true;
        QTest::newRow("other program") << with("capzel", R"("chat")") << false;
        QTest::newRow("other version") << with("protocol", "2") << false;
        QTest::newRow("version as text") << with("protocol", R"("1")") << false;
        QTest::newRow("no port") << without("port") << false;
        QTest::newRow("port 0") << with("port", "0") << false;
        QTest::newRow("port too big") << with("port", "65536") << false;
        QTest::newRow("port a fraction") << with("port", "4747.5") << false;
        QTest::newRow("port as text") << with("port", R"("47474")") << false;
        QTest::newRow("seats over eight") << with("open", "9") << false;
        QTest::newRow("seats below none") << with("open", "-1") << false;
        QTest::newRow("huge number") << with("open", "1e300") << false;
        QTest::newRow("code lower case") << with("code", R"("k7qx2m")") << false;
        QTest::newRow("code misread letter") << with("code", R"("K7QX2O")") << false;
        QTest::newRow("code as number") << with("code", "123456") << false;
        QTest::newRow("no code") << without("code") << false;
        QTest::newRow("blank game") << with("game", R"("  ")") << false;
        QTest::newRow("control in host") << with("host", R"("a\u0007b")") << false;
        QTest::newRow("line break in game") << with("game", R"("a\nb")") << false;
        QTest::newRow("line separator in host") << with("host", R"("alice-pc\u2028bob-pc")") << false;
        QTest::newRow("right-to-left override in game") << with("game", R"("\u202eleztpaC")") << false;
        QTest::newRow("isolate in host") << with("host", R"("alice\u2067pc\u2069")") << false;
        QTest::newRow("zero-width space in game") << with("game", R"("Cap\u200bzel")") << false;
        QTest::newRow("name too long") << with("host", '"' + QByteArray(61, 'h') + '"') << false;
        QTest::newRow("name of 60") << with("host", '"' + QByteArray(60, 'h') + '"') << true;
        QTest::newRow("bad utf-8") << with("host", "\"a\xff\xfe" "b\"") << false;
        QTest::newRow("host as object") << with("host", "{}") << false;
    }
    void datagrams() {
        QFETCH(QByteArray, datagram);
        QFETCH(bool, taken);
        const std::optional<LanGame> game = parseAnnouncement(datagram, kSender);
        QCOMPARE(game.has_value(), taken);
        if (game) QVERIFY(game->address == kSender && game->code == "K7QX2M");
    }

    void encodedIsParsedBack() {
        for (LanGame g : {kGame, LanGame{"Ü 🙂", "<b>", QHostAddress("::1"), 1, "ZZ2345", 0, 1}}) {
            QCOMPARE(parseAnnouncement(encodeAnnouncement(g), g.address), std::optional(g));
            QVERIFY(!parseAnnouncement(encodeAnnouncement(g), QHostAddress()));
        }
    }

    // One sender's flood of made-up games (each datagram heard goes through take()) takes a few places; another's is still listed.
    void oneAddressFillsOnlyItsShare() {
        LanBrowser browser;
        const QHostAddress flooder("192.0.2.66");
        for (int i = 0; i < 100; ++i) {
            const QByteArray code = QByteArray("AB") + QByteArray::number(2000 + i).replace('0', 'Z').replace('1', 'Y');
            browser.take(with("code", '"' + code + '"'), flooder);
        }
        QCOMPARE(browser.games().size(), kMaxLanGamesPerAddress);
        browser.take(with("open", "2"), kSender);
        QCOMPARE(browser.games().size(), kMaxLanGamesPerAddress + 1);
        QCOMPARE(browser.games().last(), kGame);
    }

    // Through the loopback interface only, on a port of this process's own.
    void heardChangedAndForgotten() {
        const QNetworkInterface loopback = QNetworkInterface::interfaceFromName("lo");
        if (!loopback.isValid()) QSKIP("no loopback interface named lo");
        LanChannel channel;
        channel.interface = loopback, channel.port = quint16(40000 + QCoreApplication::applicationPid() % 20000);
        channel.announceMs = 100, channel.forgetMs = 800;
        LanBrowser browser(channel);
        QString error;
        if (!browser.start(&error)) QSKIP(qPrintable("multicast on the loopback interface: " + error));
        const auto ours = [&]() -> std::optional<LanGame> {
            for (const LanGame& g : browser.games())
                if (g.code == "K7QX2M" && g.port == 47474) return g;
            return std::nullopt;
        };

        QUdpSocket stranger;  // hostile datagrams on the group first: none is listed
        QVERIFY(stranger.bind(QHostAddress(QHostAddress::AnyIPv4), 0));
        stranger.setMulticastInterface(loopback);
        for (const QByteArray& d : {QByteArray("junk"), with("pad", '"' + QByteArray(60000, 'x') + '"'), with("open", "9")})
            stranger.writeDatagram(d, channel.group, channel.port);

        LanAnnouncer announcer(channel);
        announcer.setGame(kGame);
        announcer.start();
        QTRY_VERIFY(ours().has_value());
        QVERIFY(ours()->address == QHostAddress(QHostAddress::LocalHost) && ours()->hostName == "alice-pc" && browser.games().size() == 1);

        LanGame fuller = kGame;
        fuller.openSeats = 1;
        announcer.setGame(fuller);
        QTRY_COMPARE(ours()->openSeats, 1);
        QCOMPARE(browser.games().size(), 1);

        QSignalSpy changes(&browser, &LanBrowser::gamesChanged);
        announcer.stop();
        QTRY_VERIFY(browser.games().isEmpty() && !changes.isEmpty());
        QVERIFY(changes.last().value(0).value<QList<LanGame>>().isEmpty());
    }
};

CAPZEL_QT_TEST(LanTest)
#include "tst_lan.moc"
