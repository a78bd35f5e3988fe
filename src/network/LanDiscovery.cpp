#include "network/LanDiscovery.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <algorithm>
#include <cmath>

#include "model/Board.h"
#include "protocol/Messages.h"

namespace capzel::network {

namespace {

// A whole number within [low, high], or nothing.
std::optional<int> wholeIn(const QJsonValue& v, int low, int high) {
    if (!v.isDouble()) return std::nullopt;
    const double d = v.toDouble();
    if (!(d >= low && d <= high) || std::floor(d) != d) return std::nullopt;
    return int(d);
}

// A non-empty text a person could have typed, or nothing.
std::optional<QString> nameIn(const QJsonValue& v) {
    if (!v.isString()) return std::nullopt;
    const QString s = v.toString();
    if (s.trimmed().isEmpty() || !protocol::isPlainText(s.toStdString(), kMaxAnnouncedNameChars)) return std::nullopt;
    return s;
}

}  // namespace

QByteArray encodeAnnouncement(const LanGame& game) {
    const QJsonObject o{{"capzel", "game"},
                        {"protocol", protocol::kProtocolVersion},
                        {"game", game.gameName},
                        {"host", game.hostName},
                        {"port", int(game.port)},
                        {"code", game.code},
                        {"open", game.openSeats}};
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<LanGame> parseAnnouncement(const QByteArray& datagram, const QHostAddress& sender) {
    if (datagram.size() > kMaxAnnouncementBytes || sender.isNull()) return std::nullopt;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(datagram, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
    const QJsonObject o = doc.object();
    if (o.value("capzel") != QJsonValue("game")) return std::nullopt;
    const auto version = wholeIn(o.value("protocol"), 0, 1 << 30);
    const auto port = wholeIn(o.value("port"), 1, 65535);
    const auto open = wholeIn(o.value("open"), 0, kMaxPlayers);
    const auto gameName = nameIn(o.value("game"));
    const auto hostName = nameIn(o.value("host"));
    const QJsonValue code = o.value("code");
    if (version != protocol::kProtocolVersion || !port || !open || !gameName || !hostName || !code.isString() ||
        !protocol::isRoomCode(code.toString().toStdString()))
        return std::nullopt;
    return LanGame{*gameName, *hostName, sender, quint16(*port), code.toString(), *open, *version};
}

// ---- LanAnnouncer -----------------------------------------------------------

LanAnnouncer::LanAnnouncer(LanChannel channel, QObject* parent) : QObject(parent), channel_(std::move(channel)) {
    // The announcements stay on the local network: one hop, no router.
    socket_.bind(QHostAddress(QHostAddress::AnyIPv4), 0);
    socket_.setSocketOption(QAbstractSocket::MulticastTtlOption, 1);
    socket_.setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);  // a browser on this computer hears it too
    if (channel_.interface.isValid()) socket_.setMulticastInterface(channel_.interface);
    timer_.setInterval(channel_.announceMs);
    connect(&timer_, &QTimer::timeout, this, &LanAnnouncer::announce);
}

void LanAnnouncer::setGame(const LanGame& game) {
    datagram_ = encodeAnnouncement(game);
    if (timer_.isActive()) announce();
}

void LanAnnouncer::start() {
    timer_.start();
    announce();
}

void LanAnnouncer::stop() { timer_.stop(); }

void LanAnnouncer::announce() {
    if (!datagram_.isEmpty()) socket_.writeDatagram(datagram_, channel_.group, channel_.port);
}

// ---- LanBrowser -------------------------------------------------------------

LanBrowser::LanBrowser(LanChannel channel, QObject* parent) : QObject(parent), channel_(std::move(channel)) {
    connect(&socket_, &QUdpSocket::readyRead, this, &LanBrowser::readDatagrams);
    sweep_.setInterval(std::max(50, channel_.forgetMs / 6));
    connect(&sweep_, &QTimer::timeout, this, &LanBrowser::forgetSilent);
    clock_.start();
}

bool LanBrowser::start(QString* error) {
    const auto fail = [&](const QString& why) {
        if (error) *error = why;
        socket_.close();
        return false;
    };
    if (!socket_.bind(QHostAddress(QHostAddress::AnyIPv4), channel_.port,
                      QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
        return fail(socket_.errorString());
    const bool joined = channel_.interface.isValid() ? socket_.joinMulticastGroup(channel_.group, channel_.interface)
                                                     : socket_.joinMulticastGroup(channel_.group);
    if (!joined) return fail(socket_.errorString());
    sweep_.start();
    return true;
}

void LanBrowser::stop() {
    sweep_.stop();
    socket_.close();
    if (games_.isEmpty()) return;
    games_.clear();
    lastHeard_.clear();
    emit gamesChanged(games_);
}

void LanBrowser::readDatagrams() {
    while (socket_.hasPendingDatagrams()) {
        // One byte more than taken, so that a longer datagram shows as too long.
        const QNetworkDatagram d = socket_.receiveDatagram(kMaxAnnouncementBytes + 1);
        take(d.data(), d.senderAddress());
    }
}

void LanBrowser::take(const QByteArray& datagram, const QHostAddress& sender) {
    if (const auto game = parseAnnouncement(datagram, sender)) heard(*game);
}

// A game is the same game while its address, port and code are.
void LanBrowser::heard(const LanGame& game) {
    for (qsizetype i = 0; i < games_.size(); ++i) {
        LanGame& known = games_[i];
        if (known.address == game.address && known.port == game.port && known.code == game.code) {
            lastHeard_[i] = clock_.elapsed();
            if (known == game) return;
            known = game;
            emit gamesChanged(games_);
            return;
        }
    }
    const auto fromThere = std::count_if(games_.cbegin(), games_.cend(),
                                         [&](const LanGame& known) { return known.address == game.address; });
    if (games_.size() >= kMaxLanGames || fromThere >= kMaxLanGamesPerAddress) return;
    games_.append(game);
    lastHeard_.append(clock_.elapsed());
    emit gamesChanged(games_);
}

void LanBrowser::forgetSilent() {
    const qint64 now = clock_.elapsed();
    bool changed = false;
    for (qsizetype i = games_.size() - 1; i >= 0; --i) {
        if (now - lastHeard_[i] < channel_.forgetMs) continue;
        games_.removeAt(i);
        lastHeard_.removeAt(i);
        changed = true;
    }
    if (changed) emit gamesChanged(games_);
}

}  // namespace capzel::network
