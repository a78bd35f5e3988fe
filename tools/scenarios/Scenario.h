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

#include "engine/ShotRun.h"
#include "model/Command.h"
#include "model/Game.h"
#include "model/Pace.h"
#include "records/NewGame.h"
#include "rules/Rulebook.h"

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
// Lays out a fresh game for the scenario (unused pieces hidden).
void setUp(Game& g, const Scenario& s);
// The scenario's shot: the seat whose turn it is, its aim line and strength.
ShotCommand scenarioShot(const Game& g, const Scenario& s);

// A shot played to its end through the rulebook as a window paces it, with
// nobody watching, and judged: what the engine counted, the launch strength
// the shot ran with, the delay the calibration and the contacts left, and
// what the rules said.
struct PacedPlay {
    ShotResult result;
    std::int16_t launchStrength = 0;
    double stepDelay = 0;
    Outcome outcome;
};
PacedPlay playPacedShot(Game& g, const ShotCommand& shot);

// The outcome of the scenario's shot on a fresh game, judged as "Go" hands
// a finished shot to the rules, in the corpus's form.
nlohmann::json playScenario(const Scenario& s);

// What the finished (and judged) shot left, in the corpus's form: the
// players of the game, or the first `players` of the tables when given.
nlohmann::json outcome(const Game& g, const ShotResult& r, std::int16_t launchStrength, double stepDelay,
                       const std::vector<std::string>& messages, int highScoresShown, int players = -1);
// The texts of the announcements, in order, as the boxes show them.
std::vector<std::string> messagesOf(const Judgement& said);

// The fixed games whose fingerprints the tests pin: a new game as the
// dialog opens it with mixed frictions (walls only with 3 players), and
// eight pieces broken up by a killer.
NewGameSettings pinnedNewGame(int players);
Scenario pinnedBreak();

// A 64-bit digest of the whole game: every table of the game, every shape
// of the field with its place, size and look, the rows beyond the players
// included.
std::uint64_t stateDigest(const Game& g);

}  // namespace capzel::scenarios
