// capzel-sim end to end: the binary, its JSON and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "DataRows.h"

namespace {

struct SimRun { int status; std::string out, err; };

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

SimRun sim(const std::string& input) {
    const auto dir = std::filesystem::temp_directory_path() / ("capzel-sim-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "in.json", std::ios::binary) << input;
    const std::string cmd = std::string("'") + CAPZEL_BIN_DIR + "/capzel-sim' < '" + (dir / "in.json").string() +
                            "' > '" + (dir / "out").string() + "' 2> '" + (dir / "err").string() + "'";
    const int raw = std::system(cmd.c_str());
    SimRun r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(dir / "out"), slurp(dir / "err")};
    std::filesystem::remove_all(dir);
    return r;
}

const char* kWorkedShot = R"({"current_turn": 1, "power": 2500, "pointer": [5000, 4000, 5000, 5000],
        "players": [{"left": 4850, "top": 4850, "position": 3, "in_game": true, "score": 200}]})";

}  // namespace

TEST(Simulator, PlaysTheWorkedShot) {
    const SimRun r = sim(kWorkedShot);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, slurp(std::filesystem::path(CAPZEL_TEST_DATA) / "sim_worked_shot.json"));
    EXPECT_EQ(sim(kWorkedShot).out, r.out);  // the same bytes every time
}

// A shot cut short by max_cycles is reported unfinished and is not settled.
TEST(Simulator, StopsAtTheCycleLimit) {
    const SimRun cut = sim(R"({"current_turn": 1, "power": 5000, "pointer": [5000, 5000, 5000, 6000],
        "max_cycles": 3, "walls_on": false, "players": [
        {"left": 4850, "top": 6000, "in_game": true, "position": 29, "is_killer": true},
        {"left": 4850, "top": 5000, "in_game": true, "position": 7}]})");
    ASSERT_EQ(cut.status, 0) << cut.err;
    EXPECT_NE(cut.out.find("\"cycles\": 3,\n  \"steps\": 3,\n  \"unfinished\": true"), std::string::npos);
    EXPECT_NE(cut.out.find("\"piece_holder_visible\": false"), std::string::npos);
}

// Each row of sim_refusals.jsonl, and input built to the size limit (a million digits, nesting half a
// million deep, bytes not UTF-8, texts far beyond any field), is refused with status 2 and one short line.
TEST(Simulator, RefusesInvalidInputWithOneShortLine) {
    const std::string shot = R"({"current_turn": 1, "power": 1, "pointer": [1, 2, 3, 4], "players": )";
    const std::string deep = std::string(500000, '[') + std::string(500000, ']');
    const std::string many(900000, 'x');
    std::vector<std::pair<std::string, std::string>> rows = {
        {R"({"power": )" + std::string(1000000, '9') + "}", "the number 999999999999999999999999999999... is too large"},
        {shot + deep + "}", "players[0]: must be an object"},
        {shot + R"([{"top": 2, "left": )" + deep + "}]}", "players[0].left: must be a number"},
        {shot + std::string(900000, '['), "parse error at line 1, column 900069"},
        {"{\"name\xff\": 1}", "parse error at line 1, column 7: the input is not UTF-8 text"},
        {shot + R"([{"left": 1, "top": 2, "name": ")" + many + "\"}]}", "players[0].name: is longer than 40 characters"},
        {"{\"" + many + "\": 1}", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...: unknown key"},
        {"{\"power\": \"" + many, "parse error at line 1, column 900012"},
    };
    for (const nlohmann::json& row : capzel::test::dataRows("sim_refusals.jsonl")) rows.emplace_back(row.at("input"), row.at("says"));
    for (const auto& [input, says] : rows) {
        SCOPED_TRACE(input.substr(0, 80));
        const SimRun run = sim(input);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(says), std::string::npos) << run.err.substr(0, 200);
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
        EXPECT_LT(run.err.size(), 120u);
    }
}
