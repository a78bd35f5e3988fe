#include "model/GameSnapshot.h"

#include <algorithm>

#include "model/Bits.h"

namespace capzel {

namespace {

// Appends values in the canonical form: little-endian, fixed width.
class ByteWriter {
public:
    void u64(std::uint64_t v) { put(v, 8); }
    void u32(std::uint32_t v) { put(v, 4); }
    void i32(std::int32_t v) { put(std::uint32_t(v), 4); }
    void i16(std::int16_t v) { put(std::uint16_t(v), 2); }
    void flag(bool v) { put(v ? 1 : 0, 1); }
    void real(float v) { u32(bitCopy<std::uint32_t>(v)); }
    void real(double v) { u64(bitCopy<std::uint64_t>(v)); }
    void text(const std::string& t) {
        u64(t.size());
        bytes += t;
    }
    void box(const SnapshotBox& b) {
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

SnapshotBox boxOf(const Box& b) { return {b.left, b.top, b.width, b.height, b.visible, b.fillColor}; }

void putBox(const SnapshotBox& s, Box& b) {
    b.left = s.left;
    b.top = s.top;
    b.width = s.width;
    b.height = s.height;
    b.visible = s.visible;
    b.fillColor = s.fillColor;
}

std::string canonicalBytes(const GameSnapshot& s) {
    ByteWriter w;
    w.u32(1);  // the form of these bytes
    w.i16(s.currentTurn);
    w.flag(s.gameRunning);
    w.flag(s.wallsOn);
    w.flag(s.shotInProgress);
    w.i16(s.power);
    w.i32(s.hitCount);
    for (int k = 0; k < kHitLogSize; ++k) {
        w.i32(s.hitFirst[std::size_t(k)]);
        w.i32(s.hitSecond[std::size_t(k)]);
    }
    w.i32(s.killCount);
    w.i32(s.sentCount);
    w.i32(s.oneShotBonus);
    w.i32(s.shotsTaken);
    w.u64(s.players.size());
    for (const PlayerSnapshot& p : s.players) {
        w.text(p.name);
        w.i32(p.score);
        w.u32(p.color);
        w.real(p.friction);
        w.u32(std::uint32_t(p.kind));
        w.i32(p.position);
        for (bool f : {p.inGame, p.moveableNextTurn, p.losingTurn, p.headingInReverse, p.onLetters, p.isKiller, p.dead})
            w.flag(f);
        w.box(p.piece);
        w.real(p.velocityX);
        w.real(p.velocityY);
    }
    for (const SnapshotBox& b : s.walls) w.box(b);
    w.box(s.pieceHolder);
    for (float v : {s.pointer.x1, s.pointer.y1, s.pointer.x2, s.pointer.y2}) w.real(v);
    w.flag(s.pointer.visible);
    w.real(s.leftEdge);
    w.real(s.rightEdge);
    w.real(s.fieldHeight);
    w.real(s.contactOffsetX);
    w.real(s.contactOffsetY);
    return std::move(w.bytes);
}

bool operator==(const GameSnapshot& a, const GameSnapshot& b) { return canonicalBytes(a) == canonicalBytes(b); }

std::uint64_t stateHash(const GameSnapshot& s) {
    std::uint64_t h = 0xcbf29ce484222325ull;  // FNV-1a offset basis
    for (const char c : canonicalBytes(s)) {
        h ^= std::uint8_t(c);
        h *= 0x100000001b3ull;  // FNV prime
    }
    return h;
}

GameSnapshot captureSnapshot(const GameState& g, const Field& field) {
    GameSnapshot s;
    s.currentTurn = g.currentTurn;
    s.gameRunning = g.gameRunning;
    s.wallsOn = g.wallsOn;
    s.shotInProgress = g.shotInProgress;
    s.power = g.power;
    s.hitCount = g.hitCount;
    std::copy(g.hitFirst.begin() + 1, g.hitFirst.end(), s.hitFirst.begin());
    std::copy(g.hitSecond.begin() + 1, g.hitSecond.end(), s.hitSecond.begin());
    s.killCount = g.killCount;
    s.sentCount = g.sentCount;
    s.oneShotBonus = g.oneShotBonus;
    s.shotsTaken = g.shotsTaken;

    const Board& b = field.board;
    const int n = std::clamp<int>(g.numberOfPlayers, 0, kMaxPlayers);
    for (std::size_t i = 1; i <= std::size_t(n); ++i) {
        s.players.push_back({g.playerName[i], g.score[i], g.playerColor[i], g.friction[i], g.playerKind[i],
                             g.position[i], g.inGame[i], g.moveableNextTurn[i], g.losingTurn[i],
                             g.headingInReverse[i], g.onLetters[i], g.isKiller[i], g.dead[i], boxOf(b.pieces[i]),
                             field.velocityX[i], field.velocityY[i]});
    }
    for (std::size_t j = 1; j <= kWallCount; ++j) s.walls[j - 1] = boxOf(b.walls[j]);
    s.pieceHolder = boxOf(b.pieceHolder);
    s.pointer = {b.pointer.x1, b.pointer.y1, b.pointer.x2, b.pointer.y2, b.pointer.visible};
    s.leftEdge = b.leftLine.x1;
    s.rightEdge = b.rightLine.x1;
    s.fieldHeight = b.scaleHeight;
    s.contactOffsetX = field.ox;
    s.contactOffsetY = field.oy;
    return s;
}

void applySnapshot(const GameSnapshot& s, GameState& g, Field& field) {
    const int n = std::min(s.numberOfPlayers(), kMaxPlayers);
    g.numberOfPlayers = std::int16_t(n);
    g.recreatePerGameTables();
    g.currentTurn = s.currentTurn;
    g.gameRunning = s.gameRunning;
    g.wallsOn = s.wallsOn;
    g.shotInProgress = s.shotInProgress;
    g.power = s.power;
    g.hitCount = s.hitCount;
    std::copy(s.hitFirst.begin(), s.hitFirst.end(), g.hitFirst.begin() + 1);
    std::copy(s.hitSecond.begin(), s.hitSecond.end(), g.hitSecond.begin() + 1);
    g.killCount = s.killCount;
    g.sentCount = s.sentCount;
    g.oneShotBonus = s.oneShotBonus;
    g.shotsTaken = s.shotsTaken;

    Board& b = field.board;
    field.velocityX.fill(0);
    field.velocityY.fill(0);
    for (std::size_t i = 1; i <= kMaxPlayers; ++i) {
        if (int(i) > n) {
            b.pieces[i].visible = false;
            continue;
        }
        const PlayerSnapshot& p = s.players[i - 1];
        g.playerName[i] = p.name;
        g.score[i] = p.score;
        g.playerColor[i] = p.color;
        g.friction[i] = p.friction;
        g.playerKind[i] = p.kind;
        g.position[i] = p.position;
        g.inGame[i] = p.inGame;
        g.moveableNextTurn[i] = p.moveableNextTurn;
        g.losingTurn[i] = p.losingTurn;
        g.headingInReverse[i] = p.headingInReverse;
        g.onLetters[i] = p.onLetters;
        g.isKiller[i] = p.isKiller;
        g.dead[i] = p.dead;
        putBox(p.piece, b.pieces[i]);
        field.velocityX[i] = p.velocityX;
        field.velocityY[i] = p.velocityY;
    }
    for (std::size_t j = 1; j <= kWallCount; ++j) putBox(s.walls[j - 1], b.walls[j]);
    putBox(s.pieceHolder, b.pieceHolder);
    b.pointer.x1 = s.pointer.x1;
    b.pointer.y1 = s.pointer.y1;
    b.pointer.x2 = s.pointer.x2;
    b.pointer.y2 = s.pointer.y2;
    b.pointer.visible = s.pointer.visible;
    b.leftLine.x1 = s.leftEdge;
    b.rightLine.x1 = s.rightEdge;
    b.scaleHeight = s.fieldHeight;
    field.ox = s.contactOffsetX;
    field.oy = s.contactOffsetY;
}

}  // namespace capzel
