// near_end_room <room-file>: a kept online room of two people, Ann and Bob,
// walls out of play, whose game the computer (Club) has played for both up to the
// turn of the first killer, where one touch of the other piece wins. Prints
// each seat's token ("token 1 <hex>").
#include <cstdio>
#include <fstream>

#include "players/Planner.h"
#include "server/Room.h"
#include "session/RecordReplay.h"
#include "session/RemoteGame.h"

using namespace capzel;

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    server::TokenSource tokens;
    const auto human = PlayerKind::Human;
    server::Room room("NEAR23", protocol::CreateRoom{{human, human}, false, {"Ann", "Bob"}, {}});
    const auto now = server::Clock::now();
    const auto ann = room.join(server::JoinRequest{"Ann", std::nullopt, {1}, {}, true}, tokens, now);
    const auto bob = room.join(server::JoinRequest{"Bob", std::nullopt, {2}, {}, false}, tokens, now);
    RemoteGame game;
    if (!game.applyState(room.state())) return 1;
    for (int n = 0; n < 500; ++n) {
        const GameState& g = game.state();
        if (!g.gameRunning) return 1;
        const auto other = std::size_t(3 - g.currentTurn);
        if (g.isKiller[std::size_t(g.currentTurn)] && g.inGame[other] && !g.dead[other] && g.position[other] >= 1) break;
        const auto plan = players::planShot(g, game.field(), PlayerKind::Club, std::uint64_t(n) + 7);
        const auto played = room.shoot(g.currentTurn, protocol::Shot{room.shotCount() + 1,
                                                                     plannedShotInputs(g, game.field(), plan.shot)});
        if (!played.refusal.empty() || !game.playAccepted(played.accepted)) return 1;
    }
    const GameState& g = game.state();
    if (!g.isKiller[std::size_t(g.currentTurn)] || g.position[std::size_t(3 - g.currentTurn)] < 1) return 1;
    std::ofstream(argv[1]) << room.roomText();
    std::printf("token 1 %s\ntoken 2 %s\n", ann.token.c_str(), bob.token.c_str());
    return 0;
}
