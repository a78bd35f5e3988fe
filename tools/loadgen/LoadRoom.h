// One room of capzel-loadgen: its person seats played by WebSocket
// connections of its own. The first connection makes the room, the others
// join it by its code (and connect to the server's address with
// ?room=CODE, for a load balancer that routes by room); each player shoots a cheap shot (at its next box with
// a random strength, drawn from the room's seed) a thinking time after its
// turn comes, and follows the game with the program's own client
// (session/HeadlessPlayer.h), so that a shot whose hash differs from the
// server's counts as a desync, as it would for a player. When the game is
// over the room begins a new one with new connections.
//
// Against capzel-relay (a bare WebSocket relay, for comparison) the room's
// maker sends the game's start as the server would begin it, and each
// shooter sends its shot as an accepted shot with the outcome it played
// here, which the relay passes on to the room: the relay plays and checks
// nothing, and the players still compare their games with one another.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QUrl>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "protocol/Messages.h"
#include "session/HeadlessPlayer.h"

class QWebSocket;

namespace capzel::loadgen {

struct LoadSettings {
    QUrl server;
    int playersPerRoom = 2;  // person seats, each a connection
    int computerSeats = 0;   // seats the server's computer plays (Club)
    int thinkMs = 2000;      // mean time from a player's turn to its shot
    int shotTimeoutMs = 10000;
    bool insecure = false;   // a wss server's certificate is taken unchecked (one of its own making)
    bool relay = false;      // the server is capzel-relay
};

// What every room adds up to.
struct LoadStats {
    QElapsedTimer clock;                // since the run began
    bool measuring = false;             // latencies are kept only once every room is open
    std::vector<double> latenciesMs;    // a shot sent to its Accepted back, per shot
    long shots = 0;                     // own shots accepted
    long followed = 0;                  // accepted shots played here (every player's)
    long desyncs = 0;
    long errors = 0;
    long games = 0;                     // games played to their end
    int longestGame = 0;                // the most shots one game has had
    std::map<std::string, long> errorKinds;

    void error(const std::string& what);
};

class LoadRoom : public QObject {
    Q_OBJECT
public:
    LoadRoom(const LoadSettings& settings, LoadStats& stats, std::uint64_t seed, QObject* parent = nullptr);
    ~LoadRoom() override;

    // Opens the first connection, which makes the room.
    void start();
    // No shot is sent any more; the connections stay until close().
    void stop();
    void close();
    // Whether a shot sent is still awaiting its Accepted.
    bool awaiting() const;

private:
    struct Player {
        int index = 0;
        QWebSocket* socket = nullptr;
        std::unique_ptr<HeadlessPlayer> game;
        int mismatches = 0;  // the client's count, last seen
        int seat = 0;
        QTimer think;
        std::optional<int> sentShot;  // its number, while awaiting its Accepted
        std::optional<protocol::Shot> heldShot;  // for the relay: sent once played here
        qint64 sentAtNs = 0;
    };

    void open(int index);
    void received(Player& p, const std::string& text);
    void maybeShoot(Player& p);
    void shoot(Player& p);
    void send(Player& p, const protocol::Message& m);
    void sendFromClient(Player& p, const protocol::Message& m);
    void gameOver();

    LoadSettings settings_;
    LoadStats& stats_;
    std::mt19937_64 random_;
    std::vector<std::unique_ptr<Player>> players_;
    std::string code_;
    bool stopping_ = false;
    bool restarting_ = false;
};

}  // namespace capzel::loadgen
