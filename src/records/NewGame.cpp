#include "records/NewGame.h"

#include <algorithm>

namespace capzel {

namespace {
constexpr Color kDialogColors[kMaxPlayers + 1] = {
    0,
    rgb(255, 255, 255), rgb(255, 0, 0), rgb(255, 128, 0), rgb(255, 255, 0),
    rgb(0, 255, 0),     rgb(0, 255, 255), rgb(0, 0, 255), rgb(255, 0, 255),
};
}  // namespace

Color defaultPlayerColor(int player) {
    return player >= 1 && player <= kMaxPlayers ? kDialogColors[player] : 0;
}

NewGameSettings::NewGameSettings() {
    for (int i = 1; i <= kMaxPlayers; ++i) {
        names[std::size_t(i)] = "Player " + std::to_string(i);
        colors[std::size_t(i)] = kDialogColors[i];
        friction[std::size_t(i)] = FrictionLevel::Normal;
    }
}

GameSetup newGameSetup(const NewGameSettings& s) {
    GameSetup setup;
    const int n = std::clamp(s.players, 1, kMaxPlayers);
    for (int i = 1; i <= n; ++i) {
        SeatSetup seat;
        seat.name = s.names[std::size_t(i)];
        seat.color = s.colors[std::size_t(i)];
        seat.friction = frictionLevelInfo(s.friction[std::size_t(i)]).friction;
        seat.score = startingScore(s.friction[std::size_t(i)], i);
        seat.kind = s.seats[std::size_t(i)];
        setup.seats.push_back(std::move(seat));
    }
    setup.walls = s.walls;
    return setup;
}

void applyNewGame(Game& g, const NewGameSettings& s) { buildGame(g, newGameSetup(s)); }

}  // namespace capzel
