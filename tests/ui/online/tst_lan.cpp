// Games announced on the local network: datagrams taken or refused, an announcement heard, changed and forgotten.
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
    void datagrams() {
        const QByteArray good = with("open", "2");
        const struct { const char* what; QByteArray datagram; bool taken; } rows[] = {
            {"good", good, true}, {"markup in a name is text", with("host", R"("<img src='x'>")"), true},
            {"no seat open", with("open", "0"), true}, {"empty", QByteArray(), false}, {"not json", QByteArray("hello"), false},
            {"array", QByteArray("[1,2]"), false}, {"truncated", good.left(good.size() - 1), false},
            {"too long", with("pad", '"' + QByteArray(1100, 'x') + '"'), false},
            {"deeply nested field beside", with("pad", QByteArray(400, '[') + QByteArray(400, ']')), true},
            {"other program", with("capzel", R"("chat")"), false}, {"other version", with("protocol", "2"), false},
            {"version as text", with("protocol", R"("1")"), false}, {"no port", without("port"), false},
            {"port 0", with("port", "0"), false}, {"port too big", with("port", "65536"), false},
            {"port a fraction", with("port", "4747.5"), false}, {"port as text", with("port", R"("47474")"), false},
            {"seats over eight", with("open", "9"), false}, {"seats below none", with("open", "-1"), false},
            {"huge number", with("open", "1e300"), false}, {"code lower case", with("code", R"("k7qx2m")"), false},
            {"code misread letter", with("code", R"("K7QX2O")"), false}, {"code as number", with("code", "123456"), false},
            {"no code", without("code"), false}, {"blank game", with("game", R"("  ")"), false},
            {"control in host", with("host", R"("a\u0007b")"), false}, {"line break in game", with("game", R"("a\nb")"), false},
            {"line separator in host", with("host", R"("alice-pc\u2028bob-pc")"), false},
            {"right-to-left override in game", with("game", R"("\u202eleztpaC")"), false},
            {"isolate in host", with("host", R"("alice\u2067pc\u2069")"), false},
            {"zero-width space in game", with("game", R"("Cap\u200bzel")"), false},
            {"name too long", with("host", '"' + QByteArray(61, 'h') + '"'), false},
            {"name of 60", with("host", '"' + QByteArray(60, 'h') + '"'), true}, {"bad utf-8", with("host", "\"a\xff\xfe" "b\""), false},
            {"host as object", with("host", "{}"), false}};
        for (const auto& r : rows) {
            const std::optional<LanGame> game = parseAnnouncement(r.datagram, kSender);
            QVERIFY2(game.has_value() == r.taken, r.what);
            if (game) QVERIFY2(game->address == kSender && game->code == "K7QX2M", r.what);
        }
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
        QVERIFY(browser.games().size() == kMaxLanGamesPerAddress + 1 && browser.games().last() == kGame);
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

        announcer.setGame(LanGame{"Capzel", "alice-pc", kSender, 47474, "K7QX2M", 1, 1});  // a seat fewer open
        QTRY_VERIFY(ours()->openSeats == 1 && browser.games().size() == 1);

        QSignalSpy changes(&browser, &LanBrowser::gamesChanged);
        announcer.stop();
        QTRY_VERIFY(browser.games().isEmpty() && !changes.isEmpty() && changes.last().value(0).value<QList<LanGame>>().isEmpty());
    }
};

CAPZEL_QT_TEST(LanTest)
#include "tst_lan.moc"
