// capzel-sim: plays one shot of Capzel with no window, or reads and writes
// saved games with the game's own reader and writer.
//
//   capzel-sim < request.json > outcome.json
//   capzel-sim --load FILE > state.json
//   capzel-sim --save FILE < state.json
//   capzel-sim --selfplay < request.json > result.json
//   capzel-sim --replay < record.json
//
// See kUsage below for the exit statuses.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "SaveFileJson.h"
#include "SelfPlay.h"
#include "SimPlatform.h"
#include "SimRequest.h"
#include "SimRun.h"
#include "records/GameRecord.h"
#include "records/SaveLoadCommands.h"
#include "records/GameText.h"
#include "match/RecordReplay.h"

namespace {

using namespace capzel;
using namespace capzel::sim;

constexpr const char* kUsage =
    "usage: capzel-sim < request.json\n"
    "       capzel-sim --load FILE\n"
    "       capzel-sim --save FILE < state.json\n"
    "       capzel-sim --selfplay < request.json\n"
    "       capzel-sim --replay < record.json\n"
    "\n"
    "Without options, plays one shot with no window: reads one JSON object on\n"
    "standard input and writes the state after the shot as one JSON object on\n"
    "standard output. A shot that has not come to rest after \"max_cycles\"\n"
    "cycles (default 1000000) stops there and is reported as \"unfinished\".\n"
    "With \"judge\": true the finished shot is then judged by the turn rules as\n"
    "the \"Go\" button judges it; \"messages\" holds every message box in order.\n"
    "\n"
    "--load FILE reads a saved game (.CSG) with the game's reader and prints\n"
    "the loaded state as JSON: number_of_players, current_turn, and per player\n"
    "name, dead, in_game, is_killer, on_letters, losing_turn,\n"
    "moveable_next_turn, heading_in_reverse, friction, score, color, height,\n"
    "left, top, width, position. A file the game would refuse: exit status 2\n"
    "and the game's message on standard error, one line of it per line.\n"
    "\n"
    "--save FILE reads that JSON on standard input and writes FILE with the\n"
    "game's writer, which brings the values into the file's ranges as the\n"
    "game's Save does; the old file is replaced only once the new one is\n"
    "complete. Loading what was saved prints the same JSON.\n"
    "\n"
    "--selfplay plays whole games between computer players with no window.\n"
    "The request: {\"players\": [\"expert\", \"random\"], \"games\": 200,\n"
    "\"seed\": 1, \"walls_on\": true}, one seat per player (\"novice\", \"club\",\n"
    "\"strong\", \"expert\", or \"random\": a uniformly random direction and\n"
    "strength), and optionally \"max_shots\" (default 2000: a game still\n"
    "running then is unfinished) and \"threads\" (default 0: one per core).\n"
    "The seats take the first turn in rotation from game to game. The result:\n"
    "games, wins (per seat, in seat order), target_rate (per seat: the share\n"
    "of its shots before it became a killer that ended in its target box),\n"
    "median_shots_per_game, median_decision_seconds, max_decision_seconds,\n"
    "unfinished, decisions and fewest_candidates_per_decision. The same\n"
    "request gives the same output, apart from the two decision-time fields.\n"
    "With \"records\": \"FOLDER\" each game's record is written there as\n"
    "game-0001.json, game-0002.json, ...\n"
    "\n"
    "--replay reads a game record on standard input and plays it again with no\n"
    "window: one line per entry (\"shot 12 seat 2 <state hash> ok\", or\n"
    "\"mismatch\"), then the final game as one line of JSON (a snapshot). It\n"
    "stops at the first entry that differs from the record: exit status 0 when\n"
    "every entry matches, 1 at a mismatch, 2 when the record is refused (the\n"
    "field or the shot named on standard error).\n"
    "\n"
    "Exit status 2 and one line on standard error when the input is not\n"
    "valid; 1 when a file cannot be written or the run fails otherwise.\n";

int refuse(const std::string& problem) {
    std::cerr << "capzel-sim: " << problem << '\n';
    return 2;
}

// A request or a saved state is a few kilobytes; more input than this is
// refused rather than read without end (standard input may be a device).
constexpr std::size_t kMaxInputBytes = 1 << 20;

std::string readStandardInput(std::size_t maxBytes = kMaxInputBytes) {
    std::string text(maxBytes + 1, '\0');
    std::cin.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(std::cin.gcount()));
    if (text.size() > maxBytes) throw InputError("the input is larger than " + std::to_string(maxBytes) + " bytes");
    return text;
}

// A message box's text for the terminal: its "\r\n" line breaks as "\n".
std::string asLines(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out + '\n';
}

int written(const std::string& text) {
    std::cout << text;
    std::cout.flush();
    return std::cout ? 0 : 1;
}

int playShot() {
    const SimRequest request = parseRequest(readStandardInput());
    SimRun run(request);
    const ShotResult result = run.play(request);
    return written(writeOutcome(run.ctx, result, run.ui.messages));
}

// The game's Load command with FILE as the dialog's answer and no game
// running (so nothing is asked first).
int loadFile(const std::string& path) {
    Game g;
    SimPlatform ui;
    ui.chosenFile = path;
    GameContext ctx{g, ui};
    if (!loadGameCommand(ctx, ".")) {
        for (const std::string& m : ui.messages) std::cerr << asLines(m);
        return 2;
    }
    return written(describeSavedState(g));
}

// The game's Save command with FILE as the dialog's answer.
int saveFile(const std::string& path) {
    Game g;
    setUpFromSavedState(readStandardInput(), g);
    SimPlatform ui;
    ui.chosenFile = path;
    GameContext ctx{g, ui};
    if (!saveGameCommand(ctx)) {
        for (const std::string& m : ui.messages) std::cerr << asLines(m);
        return 1;
    }
    return 0;
}

// A game record played again with no window.
int replayRecord() {
    std::string problem;
    const std::optional<GameRecord> record = readGameRecord(readStandardInput(kMaxGameRecordBytes), &problem);
    if (!record) return refuse("the game record is refused: " + problem);
    RecordReplay replay(*record);
    ReplayStep step = replay.startStep();
    std::cout << step.describe() << '\n';
    while (step.matches() && !replay.done()) {
        step = replay.next();
        std::cout << step.describe() << '\n';
    }
    std::cout << writeGameText(replay.game()) << '\n';
    std::cout.flush();
    if (!step.error.empty()) return refuse("the game record is refused: " + step.error);
    return step.matches() && std::cout ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view first = argc > 1 ? argv[1] : "";
    if (first == "--help" || first == "-h") {
        std::cout << kUsage;
        return 0;
    }
    const bool load = first == "--load", save = first == "--save", selfplay = first == "--selfplay",
               replay = first == "--replay";
    if ((load || save) && argc != 3) return refuse(std::string(first) + " needs one file name (see --help)");
    if ((selfplay || replay) && argc != 2) return refuse(std::string(first) + " takes no further arguments (see --help)");
    if (!load && !save && !selfplay && !replay && argc > 1) return refuse("unknown argument \"" + std::string(first) + "\" (see --help)");
    if ((load || save) && std::string_view(argv[2]).empty()) return refuse("the file name is empty");
    try {
        if (load) return loadFile(argv[2]);
        if (save) return saveFile(argv[2]);
        if (selfplay) return written(playSelfGames(parseSelfPlayRequest(readStandardInput())));
        if (replay) return replayRecord();
        return playShot();
    } catch (const InputError& e) {
        return refuse(e.what());
    } catch (const nlohmann::json::exception&) {
        // A value of the input the readers above did not foresee.
        return refuse("the input cannot be read");
    } catch (const std::exception& e) {
        std::cerr << "capzel-sim: " << e.what() << '\n';
        return 1;
    }
}
