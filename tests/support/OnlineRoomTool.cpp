// online_room: the kept rooms and the shots the real-window online test plays.
//   online_room new <room-file>: a kept room of Ann and Bob, walls out of play,
//       before its first shot; prints each seat's token ("token 1 <hex>").
//   online_room plan <room-file> [strong]: the next shot of the player on turn,
//       the best of 720 directions by the computer players' measure, with "Go"
//       at the bar's first tick (with strong, also at its top: the two levels a
//       player stops alike on any machine). Prints "turn <seat> shots <n> aim
//       <x> <y> ticks <k> last <k> from <x> <y> told <n>" (the aim point in
//       twips, the ticks before "Go", the last shot's ticks, the aim line's
//       start, the last shot's announcements), or "over told <n>" once won.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/PowerBarScale.h"
#include "players/Outcome.h"
#include "players/PlannedShot.h"
#include "rules/Rulebook.h"
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

// The best of `directions` shots with "Go" at one of the bar's `levels` (in
// ticks). A click lands a little late, and later on a busy machine, so each
// direction is judged by its mean over the ticks a click meant for the level
// may really give: the first tick and up to 60 more, or the top and up to 60
// fewer. A shot that only the exact level makes good is passed over for one
// that does well over the whole spread.
players::PlannedShot bestShot(const Game& g, int directions, const std::vector<int>& levels) {
    players::PlannedShot best = players::shotAlong(g, 0, 1);
    double bestValue = -1e300;
    for (int ticks : levels)
        for (int k = 0; k < directions; ++k) {
            const double angle = 2 * 3.141592653589793 * k / directions;
            double value = 0;
            int tried = 0;
            for (int off = 0; off <= 60; off += 15) {
                const players::PlannedShot shot = players::shotAlong(g, angle, ticks == 1 ? 1 + off : ticks - off);
                const Command command = players::plannedShotCommand(g, shot);
                if (validate(g, command)) continue;
                Game trial = g;
                apply(trial, command);
                value += players::outcomeValue(g, trial, g.currentTurn);
                ++tried;
            }
            if (tried > 0 && value / tried > bestValue) bestValue = value / tried, best = players::shotAlong(g, angle, ticks);
        }
    return best;
}

int plan(const char* file, bool strong) {
    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    std::string error;
    const auto room = server::Room::fromText(text.str(), server::Clock::now(), &error);
    if (!room) {
        std::fprintf(stderr, "online_room: %s\n", error.c_str());
        return 1;
    }
    const Game& g = room->game();
    const auto& entries = room->record().entries;
    const std::size_t told = (entries.empty() ? room->record().start : outcomeOf(entries.back())).announcements.size();
    if (!g.gameRunning) {
        std::printf("over told %zu\n", told);
        return 0;
    }
    int last = 0;
    for (auto e = entries.rbegin(); e != entries.rend() && last == 0; ++e)
        if (const auto* shot = std::get_if<RecordedShot>(&*e)) last = ticksOf(g.board, shot->strength);
    const std::vector<int> levels = strong ? std::vector<int>{1, maxBarTicks()} : std::vector<int>{1};
    const players::PlannedShot planned = bestShot(g, 720, levels);
    // Only the aim's direction counts: a point beyond the window is brought
    // nearer the piece along the same line, where the mouse can reach it.
    const Board& board = g.board;
    const Box& piece = g.piece(g.currentTurn);
    const double x0 = players::aimStartX(piece), y0 = players::aimStartY(piece);
    const double dx = planned.aimX - x0, dy = planned.aimY - y0;
    const auto inside = [&](double x, double y) {
        return x > 150 && y > 150 && x < board.scaleWidth - 150 && y < board.scaleHeight - 150;
    };
    double scale = 1;
    while (scale > 0.2 && !inside(x0 + dx * scale, y0 + dy * scale)) scale -= 0.05;
    std::printf("turn %d shots %d aim %.1f %.1f ticks %d last %d from %.1f %.1f told %zu\n", g.currentTurn,
                room->shotCount(), x0 + dx * scale, y0 + dy * scale, planned.barTicks, last, x0, y0, told);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc >= 3 ? argv[1] : "";
    const bool strong = argc == 4 && std::string(argv[3]) == "strong";
    if (mode == "new" && argc == 3) return newRoom(argv[2]);
    if (mode == "plan" && (argc == 3 || strong)) return plan(argv[2], strong);
    std::fprintf(stderr, "usage: online_room new <room-file> | plan <room-file> [strong]\n");
    return 2;
}
