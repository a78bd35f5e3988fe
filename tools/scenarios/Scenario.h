// One recorded shot of the scenario corpus: the game as it stands before the
// shot, and everything a player or a saved game can see after it (every
// piece's place and velocity, scores, targets, flags, the messages in order,
// whose turn is next). Both the generator and the corpus test use this form.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/Shot.h"
#include "model/GameContext.h"
#include "model/Pace.h"
#include "records/NewGame.h"

namespace capzel::scenarios {

struct ScenarioPlayer {
    std::string name;
    float left = 0;
    float top = 0;
    float friction = 98;
    std::int32_t score = 0;
    int position = 0;
    std::string flags;  // letters of the flags that are set: see flagLetters
};

struct Scenario {
    std::string name;  // unique; tells the family and the case
    bool wallsOn = true;
    int turn = 1;
    int power = 0;
    std::array<float, 4> pointer{};  // x1, y1, x2, y2: the shot goes from 2 towards 1
    std::vector<ScenarioPlayer> players;
};

// The flags of a player, one letter each: in game, dead, killer, on the
// letters, heading in reverse, moveable next turn, losing turn.
inline constexpr const char* flagLetters = "gdklrmx";
std::string flagText(const Game& g, int i);  // player i's

Scenario scenarioFromJson(const nlohmann::json& j);  // throws nlohmann::json::exception

// The scenario's game as a setup (model/GameSetup.h).
GameSetup scenarioSetup(const Scenario& s);
// Lays out a fresh field and game for the scenario (unused pieces hidden).
void setUp(GameContext& ctx, const Scenario& s);

// Plays the shot to its end as a window paces it, with nobody watching:
// `pace` is left as the calibration on the platform's clock and the shot's
// contacts leave it.
ShotResult playPacedShot(GameContext& ctx, StepPace& pace);

// The outcome of the scenario's shot on a fresh game, judged as "Go" hands
// a finished shot to the rules, in the corpus's form.
nlohmann::json playScenario(const Scenario& s);

// What the finished (and judged) shot left, in the corpus's form: the
// players of the game, or the first `players` of the tables when given.
nlohmann::json outcome(const GameContext& ctx, const ShotResult& r, double stepDelay,
                       const std::vector<std::string>& messages, int highScoresShown, int players = -1);

// The fixed games whose fingerprints the tests pin: a new game as the
// dialog opens it with mixed frictions (walls only with 3 players), and
// eight pieces broken up by a killer.
NewGameSettings pinnedNewGame(int players);
Scenario pinnedBreak();

// A 64-bit digest of the whole game and field: every table of the game,
// every shape of the field with its place, size, look and drawing order.
std::uint64_t stateDigest(const GameContext& ctx);

}  // namespace capzel::scenarios
