#include "LoadRoom.h"

#include <QWebSocket>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "model/PowerBarScale.h"
#include "players/PlannedShot.h"
#include "rules/Hints.h"
#include "server/Room.h"

namespace capzel::loadgen {

void LoadStats::error(const std::string& what) {
    ++errors;
    ++errorKinds[what];
}

namespace {

// The game a server begins for a room of these players: a relay has none
// of its own to begin.
protocol::State startOf(const LoadSettings& settings) {
    protocol::CreateRoom setup;
    setup.seats.assign(std::size_t(settings.playersPerRoom), PlayerKind::Human);
    setup.seats.insert(setup.seats.end(), std::size_t(settings.computerSeats), PlayerKind::Club);
    server::Room room("RELAY2", setup);
    server::TokenSource tokens;
    for (int k = 0; k < settings.playersPerRoom; ++k)
        room.join("Load " + std::to_string(k + 1), std::nullopt, tokens, server::Clock::now());
    return room.state();
}

}  // namespace

LoadRoom::LoadRoom(const LoadSettings& settings, LoadStats& stats, std::uint64_t seed, QObject* parent)
    : QObject(parent), settings_(settings), stats_(stats), random_(seed) {}

LoadRoom::~LoadRoom() { close(); }

void LoadRoom::start() {
    restarting_ = false;
    code_.clear();
    open(0);
}

void LoadRoom::stop() {
    stopping_ = true;
    for (auto& p : players_) p->think.stop();
}

void LoadRoom::close() {
    for (auto& p : players_) {
        p->socket->disconnect(this);
        p->socket->close();
        p->socket->deleteLater();
    }
    players_.clear();
}

bool LoadRoom::awaiting() const {
    for (const auto& p : players_)
        if (p->sentShot) return true;
    return false;
}

void LoadRoom::open(int index) {
    auto player = std::make_unique<Player>();
    Player& p = *player;
    p.index = index;
    p.socket = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
    p.game = std::make_unique<HeadlessPlayer>([this, &p](const protocol::Message& m) { sendFromClient(p, m); });
    p.think.setSingleShot(true);
    // Coarse timers fire together on round times: players would shoot in bursts.
    p.think.setTimerType(Qt::PreciseTimer);
    if (settings_.insecure)
        connect(p.socket, &QWebSocket::sslErrors, this, [socket = p.socket] { socket->ignoreSslErrors(); });
    connect(&p.think, &QTimer::timeout, this, [this, &p] { shoot(p); });
    connect(p.socket, &QWebSocket::connected, this, [this, &p] {
        send(p, protocol::Hello{protocol::kProtocolVersion, "loadgen", "Load " + std::to_string(p.index + 1)});
    });
    connect(p.socket, &QWebSocket::textMessageReceived, this,
            [this, &p](const QString& text) { received(p, text.toStdString()); });
    connect(p.socket, &QWebSocket::disconnected, this, [this, &p] {
        if (p.seat > 0 || p.game->online().hasJoined())
            stats_.error("connection closed by the server (" + std::to_string(int(p.socket->closeCode())) + " " +
                         p.socket->closeReason().toStdString() + ")");
        else
            stats_.error("no connection: " + p.socket->errorString().toStdString());
        p.think.stop();
        p.sentShot.reset();
    });
    players_.push_back(std::move(player));
    // Joining players name the room in the address, as a load balancer in
    // front of several servers routes them by its code.
    QUrl url = settings_.server;
    if (url.path().isEmpty()) url.setPath(QStringLiteral("/"));  // "GET ?room=" is no request line
    if (index > 0) url.setQuery(QStringLiteral("room=") + QString::fromStdString(code_));
    p.socket->open(url);
}

void LoadRoom::send(Player& p, const protocol::Message& m) {
    p.socket->sendTextMessage(QString::fromStdString(protocol::encodeMessage(m)));
}

// What the player's client sends. A relay takes a shot as the accepted one
// it passes on, with the outcome played here: the shot is held until then.
void LoadRoom::sendFromClient(Player& p, const protocol::Message& m) {
    if (const auto* shot = std::get_if<protocol::Shot>(&m); shot && settings_.relay) {
        p.heldShot = *shot;
        return;
    }
    send(p, m);
}

void LoadRoom::received(Player& p, const std::string& text) {
    protocol::Decoded message = protocol::decodeMessage(text);
    if (std::holds_alternative<protocol::Welcome>(message)) {
        if (p.index == 0) {
            protocol::CreateRoom setup;
            setup.seats.assign(std::size_t(settings_.playersPerRoom), PlayerKind::Human);
            setup.seats.insert(setup.seats.end(), std::size_t(settings_.computerSeats), PlayerKind::Club);
            send(p, setup);
        } else {
            send(p, protocol::JoinRoom{code_, std::nullopt, {}, {}, false});
        }
        return;
    }
    if (const auto* joined = std::get_if<protocol::Joined>(&message)) {
        p.seat = joined->mine.empty() ? 0 : joined->mine.front();
        if (p.index == 0) {
            code_ = joined->code;
            if (settings_.relay) send(p, startOf(settings_));
            for (int k = 1; k < settings_.playersPerRoom; ++k) open(k);
        }
    } else if (const auto* refused = std::get_if<protocol::Refused>(&message)) {
        stats_.error("refused: " + refused->reason);
    } else if (const auto* wrong = std::get_if<protocol::Refusal>(&message)) {
        stats_.error("a message from the server that cannot be read: " + wrong->reason);
    }
    const auto* a = std::get_if<protocol::Accepted>(&message);
    if (a && p.sentShot && *p.sentShot == a->shot.shotNumber && a->shot.inputs.seat == p.seat) {
        if (stats_.measuring) stats_.latenciesMs.push_back(double(stats_.clock.nsecsElapsed() - p.sentAtNs) / 1e6);
        ++stats_.shots;
        p.sentShot.reset();
    }
    p.game->receive(message);
    if (a) {
        ++stats_.followed;
        stats_.longestGame = std::max(stats_.longestGame, a->shot.shotNumber);
    }
    // The client asks the server for its game again after a difference.
    stats_.desyncs += p.game->mismatches() - p.mismatches;
    p.mismatches = p.game->mismatches();
    if (a && !p.game->game().gameRunning) return gameOver();
    maybeShoot(p);
}

void LoadRoom::maybeShoot(Player& p) {
    if (stopping_ || !p.game->onTurn() || p.sentShot || p.think.isActive()) return;
    std::uniform_int_distribution<int> think(settings_.thinkMs / 2, settings_.thinkMs * 3 / 2);
    p.think.start(think(random_));
}

// At the next box, a little off, with any strength of the bar; a killer,
// who has no box, anywhere.
void LoadRoom::shoot(Player& p) {
    const Game& g = p.game->game();
    const Board& board = g.board;
    if (stopping_ || !p.game->onTurn()) return;
    std::uniform_real_distribution<double> anywhere(-std::numbers::pi, std::numbers::pi);
    std::normal_distribution<double> off(0, 0.05);
    std::uniform_int_distribution<int> ticks(1, maxBarTicks());
    double angle = anywhere(random_);
    if (const FieldHints hints = fieldHints(g, board, false); hints.target) {
        const Box& piece = board.pieces[std::size_t(p.seat)];
        const double tx = double(hints.target->left) + double(hints.target->width) / 2;
        const double ty = double(hints.target->top) + double(hints.target->height) / 2;
        angle = std::atan2(ty - double(players::aimStartY(piece)), tx - double(players::aimStartX(piece))) + off(random_);
    }
    const players::PlannedShot planned = players::shotAlong(g, angle, ticks(random_));
    const int number = p.game->shotsPlayed() + 1;
    p.sentShot = number;
    p.sentAtNs = stats_.clock.nsecsElapsed();
    // Fired as "Go" fires it: the client sends it at its launch and plays it.
    if (const auto refused = p.game->shoot(players::plannedShotCommand(g, planned))) {
        stats_.error("a shot the rulebook refuses: " + refused->text);
        p.sentShot.reset();
        return;
    }
    if (p.heldShot) {
        protocol::Accepted passed{*std::exchange(p.heldShot, std::nullopt)};
        passed.shot.inputs.seat = p.seat;
        const auto& entries = p.game->session().record().entries;
        if (!entries.empty()) passed.shot.inputs.outcome = outcomeOf(entries.back());
        send(p, passed);
    }
    QTimer::singleShot(settings_.shotTimeoutMs, &p.think, [this, &p, number] {
        if (p.sentShot != number) return;
        stats_.error("no Accepted within " + std::to_string(settings_.shotTimeoutMs) + " ms");
        p.sentShot.reset();
    });
}

void LoadRoom::gameOver() {
    if (restarting_) return;
    restarting_ = true;
    ++stats_.games;
    // Every player sees the end first; then the room is left and a new one made.
    QTimer::singleShot(200, this, [this] {
        close();
        if (!stopping_) start();
    });
}

}  // namespace capzel::loadgen
