#include "SelfPlay.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <optional>
#include <stdexcept>

#include "JsonFields.h"
#include "JsonWriter.h"
#include "SimPlatform.h"
#include "platform/SilentPlatform.h"
#include "players/Planner.h"
#include "players/Random.h"
#include "records/GameRecord.h"
#include "records/NewGame.h"
#include "rules/TurnStart.h"
#include "match/Match.h"
#include "players/PlannedShot.h"

namespace capzel::sim {

namespace {

using nlohmann::json;

SeatPlayer readSeat(const json& v, const std::string& where) {
    const std::string name = readText(v, where);
    if (name == "novice") return SeatPlayer::Novice;
    if (name == "club") return SeatPlayer::Club;
    if (name == "strong") return SeatPlayer::Strong;
    if (name == "expert") return SeatPlayer::Expert;
    if (name == "random") return SeatPlayer::Random;
    fail(where, "must be \"novice\", \"club\", \"strong\", \"expert\" or \"random\"");
}

PlayerKind kindOf(SeatPlayer s) {
    switch (s) {
    case SeatPlayer::Novice: return PlayerKind::Novice;
    case SeatPlayer::Club: return PlayerKind::Club;
    case SeatPlayer::Strong: return PlayerKind::Strong;
    default: return PlayerKind::Expert;  // the random baseline sits in a computer's seat too
    }
}

// Nobody reads the messages of these games.
class QuietPlatform final : public SilentPlatform {
public:
    void message(std::string_view) override {}
};

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

struct Tally {
    std::vector<long long> wins;
    std::vector<long long> aimedShots;   // per seat: shots taken before becoming a killer
    std::vector<long long> targetShots;  // per seat: those of them that ended in the target box
    std::vector<double> shotsPerGame;
    std::vector<double> decisionSeconds;
    long long fewestCandidates = -1;
    int unfinished = 0;
};

void writeRecord(const std::string& folder, int game, const GameRecord& record) {
    char name[32];
    std::snprintf(name, sizeof name, "/game-%04d.json", game + 1);
    SimPlatform files;
    const std::string problem = saveGameRecord(files, folder + name, record);
    if (!problem.empty()) throw std::runtime_error(problem);
}

// One game; the seats rotate by the game's number, so that every seat
// starts as often as the others.
void playGame(const SelfPlayRequest& r, int game, Tally& tally) {
    const int n = int(r.seats.size());
    const auto seatOf = [&](int player) { return (player - 1 + game) % n; };
    NewGameSettings settings;
    settings.players = n;
    settings.walls = r.wallsOn;
    for (int i = 1; i <= n; ++i) settings.seats[std::size_t(i)] = kindOf(r.seats[std::size_t(seatOf(i))]);
    Game start;
    applyNewGame(start, settings);
    paintPlayerColors(start);  // as a window shows the game
    QuietPlatform ui;
    GameContext ctx{start, ui};
    Judgement started = startTurn(ctx, start.currentTurn);
    Match match(std::move(start), std::move(started.announcements));

    const std::uint64_t gameSeed = players::mixSeed(r.seed, std::uint64_t(game));
    players::PlannerOptions options;
    options.threads = r.threads;
    int shots = 0;
    while (match.game().gameRunning && shots < r.maxShots) {
        const Game& g = match.game();
        const int cur = g.currentTurn;
        const SeatPlayer seat = r.seats[std::size_t(seatOf(cur))];
        const std::uint64_t seed = players::mixSeed(gameSeed, std::uint64_t(shots));
        players::PlannedShot shot;
        if (seat == SeatPlayer::Random) {
            shot = players::randomShot(g, seed);
        } else {
            const auto t0 = std::chrono::steady_clock::now();
            const players::PlanResult plan = players::planShot(g, g.seats[cur].kind, seed, options);
            tally.decisionSeconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
            if (tally.fewestCandidates < 0 || plan.candidatesJudged < tally.fewestCandidates)
                tally.fewestCandidates = plan.candidatesJudged;
            shot = plan.shot;
        }
        ++shots;
        const bool aimed = !g.seats[cur].isKiller;
        const Played played = match.play(players::plannedShotCommand(g, shot));
        if (!played.taken()) break;
        if (aimed) {
            ++tally.aimedShots[std::size_t(seatOf(cur))];
            if (played.outcome.shooterInTarget) ++tally.targetShots[std::size_t(seatOf(cur))];
        }
    }
    tally.shotsPerGame.push_back(shots);
    if (!r.records.empty()) writeRecord(r.records, game, match.record());
    const Game& g = match.game();
    if (g.gameRunning) {
        ++tally.unfinished;
        return;
    }
    // The rules end a game on the winner's own shot.
    if (g.isPlayer(g.currentTurn)) ++tally.wins[std::size_t(seatOf(g.currentTurn))];
}

}  // namespace

SelfPlayRequest parseSelfPlayRequest(std::string_view text) {
    const json in = parseObject(text);
    rejectUnknownKeys(in, "", {"players", "games", "seed", "walls_on", "max_shots", "threads", "records"});
    if (!in.contains("players")) fail("players", "is missing");
    const json& seats = in["players"];
    if (!seats.is_array() || seats.empty() || seats.size() > std::size_t(kMaxPlayers))
        fail("players", "must be a list of 1 to 8 players");
    SelfPlayRequest r;
    for (std::size_t k = 0; k < seats.size(); ++k)
        r.seats.push_back(readSeat(seats[k], "players[" + std::to_string(k) + "]"));
    if (in.contains("games")) r.games = int(readInteger(in["games"], "games", 1, 1000000));
    if (in.contains("seed"))
        r.seed = std::uint64_t(readInteger(in["seed"], "seed", 0, std::numeric_limits<long long>::max()));
    if (in.contains("walls_on")) r.wallsOn = readBool(in["walls_on"], "walls_on");
    if (in.contains("max_shots")) r.maxShots = int(readInteger(in["max_shots"], "max_shots", 1, 1000000));
    if (in.contains("threads")) r.threads = int(readInteger(in["threads"], "threads", 0, 256));
    if (in.contains("records")) r.records = readText(in["records"], "records");
    return r;
}

std::string playSelfGames(const SelfPlayRequest& r) {
    Tally tally;
    tally.wins.assign(r.seats.size(), 0);
    tally.aimedShots.assign(r.seats.size(), 0);
    tally.targetShots.assign(r.seats.size(), 0);
    for (int game = 0; game < r.games; ++game) playGame(r, game, tally);

    Writer w(",\n  ");
    w.integer("games", r.games);
    w.integers("wins", tally.wins, 0, int(tally.wins.size()) - 1);
    std::string rates = "[";
    for (std::size_t k = 0; k < r.seats.size(); ++k) {
        const long long aimed = tally.aimedShots[k];
        rates += (k > 0 ? ", " : "") + number(aimed > 0 ? double(tally.targetShots[k]) / double(aimed) : 0);
    }
    w.raw("target_rate", rates + "]");
    w.raw("median_shots_per_game", number(median(tally.shotsPerGame)));
    w.raw("median_decision_seconds", number(median(tally.decisionSeconds)));
    w.raw("max_decision_seconds",
          number(tally.decisionSeconds.empty() ? 0 : *std::max_element(tally.decisionSeconds.begin(),
                                                                      tally.decisionSeconds.end())));
    w.integer("unfinished", tally.unfinished);
    w.integer("decisions", (long long)tally.decisionSeconds.size());
    w.integer("fewest_candidates_per_decision", std::max(0LL, tally.fewestCandidates));
    return "{\n  " + w.out + "\n}\n";
}

}  // namespace capzel::sim
