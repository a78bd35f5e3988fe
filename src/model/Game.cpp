#include "model/Game.h"

#include <algorithm>
#include <cstring>

namespace capzel {

namespace {

// The letter with the given character code. Codes beyond the printable
// ASCII range (positions pushed far past 29 by hand) fall back to the number,
// so that no message ever carries a stray byte.
std::string letter(int code, int number) {
    if (code >= 33 && code <= 126) return std::string(1, char(code));
    return std::to_string(number);
}

// Appends values in the canonical form: little-endian, fixed width.
class ByteWriter {
public:
    void u64(std::uint64_t v) { put(v, 8); }
    void u32(std::uint32_t v) { put(v, 4); }
    void i32(std::int32_t v) { put(std::uint32_t(v), 4); }
    void i16(std::int16_t v) { put(std::uint16_t(v), 2); }
    void flag(bool v) { put(v ? 1 : 0, 1); }
    void real(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void real(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u64(bits);
    }
    void text(const std::string& t) {
        u64(t.size());
        bytes += t;
    }
    void box(const Box& b) {
        real(b.left);
        real(b.top);
        real(b.width);
        real(b.height);
        flag(b.visible);
        u32(b.fillColor);
    }

    std::string bytes;

private:
    void put(std::uint64_t v, int width) {
        for (int k = 0; k < width; ++k) bytes.push_back(char((v >> (8 * k)) & 0xFFu));
    }
};

}  // namespace

void Seat::clearGameTables() {
    position = 0;
    inGame = moveableNextTurn = losingTurn = headingInReverse = onLetters = isKiller = dead = false;
    kind = PlayerKind::Human;
}

int Game::playerCount() const { return std::clamp<int>(numberOfPlayers, 0, kMaxPlayers); }

void Game::recreatePerGameTables() {
    perGameTablesExist = true;
    for (Seat& s : seats) s.clearGameTables();
    shotsTaken = 0;
}

std::string Game::targetLabel(int p) {
    const int t = currentTurn;
    if (t < 1 || t > kMaxPlayers) return std::to_string(p);
    Seat& s = seat(t);
    if (!s.isKiller) {
        s.headingInReverse = s.position >= 13;
        s.onLetters = s.position >= 25;
        s.isKiller = s.position >= 29;
    }
    if (s.onLetters) {
        if (p == 25) return std::to_string(26 - p);
        return letter(p + 39, p);
    }
    if (s.headingInReverse) return std::to_string(26 - p);
    return std::to_string(p);
}

std::string Game::canonicalBytes() const {
    ByteWriter w;
    w.u32(1);  // the form of these bytes
    w.i16(currentTurn);
    w.flag(gameRunning);
    w.flag(wallsOn);
    w.flag(shotInProgress);
    w.i16(launchStrength);
    w.i32(hitCount);
    for (std::size_t k = 1; k <= kHitLogSize; ++k) {
        w.i32(hitFirst[k]);
        w.i32(hitSecond[k]);
    }
    w.i32(killCount);
    w.i32(sentCount);
    w.i32(oneShotBonus);
    w.i32(shotsTaken);
    const int n = playerCount();
    w.u64(std::uint64_t(n));
    for (int i = 1; i <= n; ++i) {
        const Seat& p = seat(i);
        w.text(p.name);
        w.i32(p.score);
        w.u32(p.color);
        w.real(p.friction);
        w.u32(std::uint32_t(p.kind));
        w.i32(p.position);
        for (bool f : {p.inGame, p.moveableNextTurn, p.losingTurn, p.headingInReverse, p.onLetters, p.isKiller, p.dead})
            w.flag(f);
        w.box(piece(i));
        w.real(velocityX[std::size_t(i)]);
        w.real(velocityY[std::size_t(i)]);
    }
    for (std::size_t j = 1; j <= kWallCount; ++j) w.box(board.walls[j]);
    w.box(board.pieceHolder);
    const Line& aim = board.pointer;
    for (float v : {aim.x1, aim.y1, aim.x2, aim.y2}) w.real(v);
    w.flag(aim.visible);
    w.real(board.leftLine.x1);
    w.real(board.rightLine.x1);
    w.real(board.scaleHeight);
    w.real(ox);
    w.real(oy);
    return std::move(w.bytes);
}

std::uint64_t Game::hash() const {
    std::uint64_t h = 0xcbf29ce484222325ull;  // FNV-1a offset basis
    for (const char c : canonicalBytes()) {
        h ^= std::uint8_t(c);
        h *= 0x100000001b3ull;  // FNV prime
    }
    return h;
}

Game Game::canonical() const {
    Game c;
    const int n = playerCount();
    c.numberOfPlayers = std::int16_t(n);
    c.recreatePerGameTables();
    c.currentTurn = currentTurn;
    c.gameRunning = gameRunning;
    c.wallsOn = wallsOn;
    c.shotInProgress = shotInProgress;
    c.launchStrength = launchStrength;
    c.hitCount = hitCount;
    for (std::size_t k = 1; k <= kHitLogSize; ++k) {
        c.hitFirst[k] = hitFirst[k];
        c.hitSecond[k] = hitSecond[k];
    }
    c.killCount = killCount;
    c.sentCount = sentCount;
    c.oneShotBonus = oneShotBonus;
    c.shotsTaken = shotsTaken;
    for (std::size_t i = 1; i <= kMaxPlayers; ++i) {
        if (int(i) > n) {
            c.board.pieces[i].visible = false;
            continue;
        }
        c.seats[i] = seats[i];
        c.board.pieces[i] = board.pieces[i];
        c.velocityX[i] = velocityX[i];
        c.velocityY[i] = velocityY[i];
    }
    c.board.walls = board.walls;
    c.board.pieceHolder = board.pieceHolder;
    Line& aim = c.board.pointer;
    aim.x1 = board.pointer.x1;
    aim.y1 = board.pointer.y1;
    aim.x2 = board.pointer.x2;
    aim.y2 = board.pointer.y2;
    aim.visible = board.pointer.visible;
    c.board.leftLine.x1 = board.leftLine.x1;
    c.board.rightLine.x1 = board.rightLine.x1;
    c.board.scaleHeight = board.scaleHeight;
    c.ox = ox;
    c.oy = oy;
    return c;
}

bool operator==(const Game& a, const Game& b) { return a.canonicalBytes() == b.canonicalBytes(); }

std::string reachedTargetLabel(int n) {
    if (n > 25) return letter(n + 39, n);
    if (n > 13) return std::to_string(26 - n);
    return std::to_string(n);
}

}  // namespace capzel
