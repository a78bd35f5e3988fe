// Finding online games on the local network: a host's program announces its
// room in a small JSON datagram to a UDP multicast group every two seconds,
// and a joining player's program listens to the group and lists the games it
// heard lately.
//
//   {"capzel": "game", "protocol": 1, "game": "Capzel", "host": "alice-pc",
//    "port": 47474, "code": "K7QX2M", "open": 2}
//
// Anything that arrives on the group is untrusted: a datagram over
// kMaxAnnouncementBytes, not such an object, of another protocol version, or
// with a text a person could not have typed is dropped without a word. The
// game's address is the one the datagram came from, never a field of it.
//
// Qt Core and Qt Network only, no window.
#pragma once

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QNetworkInterface>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUdpSocket>

#include <optional>

namespace capzel::network {

// The longest announcement taken, in bytes.
constexpr qsizetype kMaxAnnouncementBytes = 1024;
// The most games listed at once, and from one address: a flood of made-up
// announcements fills the list no further, and one sender cannot push the
// others' games out of it.
constexpr qsizetype kMaxLanGames = 64;
constexpr qsizetype kMaxLanGamesPerAddress = 4;
// The longest game or host name in an announcement, in characters.
constexpr std::size_t kMaxAnnouncedNameChars = 60;

struct LanGame {
    QString gameName;
    QString hostName;
    QHostAddress address;  // where the datagram came from
    quint16 port = 0;
    QString code;
    int openSeats = 0;
    int protocolVersion = 0;
    bool operator==(const LanGame&) const = default;
};

// Where announcements go: the group, its port, and the network interface
// they are sent and heard on (an invalid one: the system's choice).
struct LanChannel {
    QHostAddress group{QStringLiteral("239.255.77.77")};
    quint16 port = 47475;
    QNetworkInterface interface;
    int announceMs = 2000;  // one announcement every so often
    int forgetMs = 6000;    // a game not heard for this long is dropped
};

// The announcement's text (the address is not part of it).
QByteArray encodeAnnouncement(const LanGame& game);
// The game a datagram announces, or nothing when it is not a good one.
// Never throws.
std::optional<LanGame> parseAnnouncement(const QByteArray& datagram, const QHostAddress& sender);

class LanAnnouncer : public QObject {
    Q_OBJECT
public:
    explicit LanAnnouncer(LanChannel channel = {}, QObject* parent = nullptr);

    // What is announced from now on (the next datagram goes at once).
    void setGame(const LanGame& game);
    // Starts or stops the announcements.
    void start();
    void stop();
    bool isAnnouncing() const { return timer_.isActive(); }

private:
    void announce();

    LanChannel channel_;
    QUdpSocket socket_;
    QTimer timer_;
    QByteArray datagram_;
};

class LanBrowser : public QObject {
    Q_OBJECT
public:
    explicit LanBrowser(LanChannel channel = {}, QObject* parent = nullptr);

    // Joins the group; false with `error` when it cannot.
    bool start(QString* error = nullptr);
    void stop();
    const QList<LanGame>& games() const { return games_; }
    // A datagram heard from `sender` (what the socket reads comes here).
    void take(const QByteArray& datagram, const QHostAddress& sender);

signals:
    // The games heard lately, in the order first heard, whenever one comes,
    // goes or changes.
    void gamesChanged(const QList<LanGame>& games);

private:
    void readDatagrams();
    void heard(const LanGame& game);
    void forgetSilent();

    LanChannel channel_;
    QUdpSocket socket_;
    QTimer sweep_;
    QElapsedTimer clock_;
    QList<LanGame> games_;
    QList<qint64> lastHeard_;  // clock_ time, one per game
};

}  // namespace capzel::network
