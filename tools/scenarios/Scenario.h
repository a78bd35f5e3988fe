// One recorded shot of the scenario corpus: the game before the shot, and all
// a player or a saved game can see after it. The generator and the corpus test share it.
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
    float left = 0, top = 0, friction = 98;
    std::int32_t score = 0;
    int position = 0;
    std::string flags;  // letters of the flags that are set: see flagLetters
};

struct Scenario {
    std::string name;  // unique; tells the family and the case
    bool wallsOn = true;
    int turn = 1, power = 0;
    std::array<float, 4> pointer{};  // x1, y1, x2, y2: the shot goes from 2 towards 1
    std::vector<ScenarioPlayer> players;
};

// In game, dead, killer, on the letters, heading in reverse, moveable next turn, losing turn.
inline constexpr const char* flagLetters = "gdklrmx";
std::string flagText(const Game& g, int i);  // player i's

Scenario scenarioFromJson(const nlohmann::json& j);  // throws nlohmann::json::exception

GameSetup scenarioSetup(const Scenario& s);
void setUp(Game& g, const Scenario& s);  // a fresh game, unused pieces hidden
ShotCommand scenarioShot(const Game& g, const Scenario& s);  // the current seat's

// A shot played to its end through the rulebook as a window paces it, unwatched, and judged.
struct PacedPlay { ShotResult result; std::int16_t launchStrength = 0; double stepDelay = 0; Outcome outcome; };
PacedPlay playPacedShot(Game& g, const ShotCommand& shot);

// The outcome of the scenario's shot played on `g` (on a fresh game), in the corpus's form.
nlohmann::json playScenarioOn(Game& g, const Scenario& s);
nlohmann::json playScenario(const Scenario& s);

// What the judged shot left: the game's players, or the first `players` of the tables.
nlohmann::json outcome(const Game& g, const ShotResult& r, std::int16_t launchStrength, double stepDelay,
                       const std::vector<std::string>& messages, int highScoresShown, int players = -1);
// The texts of the announcements, in order, as the boxes show them.
std::vector<std::string> messagesOf(const Judgement& said);

// Games whose fingerprints the tests pin: a new game with mixed frictions
// (walls only with 3 players), and eight pieces broken up by a killer.
NewGameSettings pinnedNewGame(int players);
Scenario pinnedBreak();

// A digest of every table and every shape of the field, rows beyond the players included.
std::uint64_t stateDigest(const Game& g);

}  // namespace capzel::scenarios
