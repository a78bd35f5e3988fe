// online_room: the kept rooms and the shots the real-window online test plays.
//
//   online_room new <room-file>
//       A kept room of two people, Ann and Bob, walls out of play, before its
//       first shot. Prints each seat's token ("token 1 <hex>").
//   online_room plan <room-file>
//       The shot the player on turn in that kept room makes next, as a
//       careful player aims it (the Strong level's choice before its miss,
//       which fares well when missed by a little): "turn <seat> shots <n>
//       aim <x> <y> ticks <k> last <k>", the aim point in field twips, the
//       power bar's ticks before "Go", and the ticks the last shot was
//       actually played with (0 before the first), read back from its
//       strength. "over" once the game has its winner.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "model/PowerBarScale.h"
#include "players/Planner.h"
#include "server/Room.h"

using namespace capzel;

namespace {

int newRoom(const char* file) {
    server::TokenSource tokens;
    const auto human = PlayerKind::Human;
    server::Room room("PLAY23", protocol::CreateRoom{{human, human}, false, {"Ann", "Bob"}, {}});
    const auto now = server::Clock::now();
    const auto ann = room.join(server::JoinRequest{"Ann", std::nullopt, {1}, {}, true}, tokens, now);
    const auto bob = room.join(server::JoinRequest{"Bob", std::nullopt, {2}, {}, false}, tokens, now);
    std::ofstream(file) << room.roomText();
    std::printf("token 1 %s\ntoken 2 %s\n", ann.token.c_str(), bob.token.c_str());
    return 0;
}

// The bar's ticks that gave `strength` (the inverse of barStrength).
int ticksOf(const Board& board, int strength) {
    return int((strength - int(board.scaleHeight) + powerBarRows()) / 10);
}

int plan(const char* file) {
    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    std::string error;
    const auto room = server::Room::fromText(text.str(), server::Clock::now(), &error);
    if (!room) {
        std::fprintf(stderr, "online_room: %s\n", error.c_str());
        return 1;
    }
    const Game& g = room->game();
    if (!g.gameRunning) {
        std::printf("over\n");
        return 0;
    }
    const auto& entries = room->record().entries;
    int last = 0;
    for (auto e = entries.rbegin(); e != entries.rend() && last == 0; ++e)
        if (const auto* shot = std::get_if<RecordedShot>(&*e)) last = ticksOf(g.board, shot->strength);
    const auto planned = players::planShot(g, PlayerKind::Strong, std::uint64_t(room->shotCount()));
    // Only the aim's direction counts: a point beyond the window is brought
    // nearer the piece along the same line, where the mouse can reach it.
    const Board& board = g.board;
    const Box& piece = g.piece(g.currentTurn);
    const double x0 = players::aimStartX(piece), y0 = players::aimStartY(piece);
    const double dx = planned.intended.aimX - x0, dy = planned.intended.aimY - y0;
    const auto inside = [&](double x, double y) {
        return x > 150 && y > 150 && x < board.scaleWidth - 150 && y < board.scaleHeight - 150;
    };
    double scale = 1;
    while (scale > 0.2 && !inside(x0 + dx * scale, y0 + dy * scale)) scale -= 0.05;
    std::printf("turn %d shots %d aim %.1f %.1f ticks %d last %d\n", g.currentTurn, room->shotCount(),
                x0 + dx * scale, y0 + dy * scale, planned.intended.barTicks, last);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode == "new") return newRoom(argv[2]);
    if (mode == "plan") return plan(argv[2]);
    std::fprintf(stderr, "usage: online_room new|plan <room-file>\n");
    return 2;
}
