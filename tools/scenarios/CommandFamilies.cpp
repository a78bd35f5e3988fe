#include "CommandFamilies.h"

#include <algorithm>
#include <string>

namespace capzel::scenarios {

namespace {

using Pool = std::vector<std::string>;

const Pool kWho = {"all", "ALL", "All", "al", "1", "2", "3", "4", "2.5", "3.5", "0", "-1", "0.4", "8", "9",
                   "1e9", "1e400", "32768", "65537", "", "abc", "2 please", " 3"};
const Pool kPercent = {"97.5", "96.5", "99 percent", "0.001", "100.0000001", "1e400", "0", "-5", "", "1e-400",
                       "nan", "inf", "-inf", "50", "100", "100.5", "99.999999999", "3.5e38", "-0", "1e-45"};
const Pool kSpeed = {"12", " 12 ", "-3", "5", "6.5", "-2e1", "+.5", "0", "1e300", "-1e300", "10000.5", "-9999.5",
                     "12abc", "1 2", "1e400", "-1e400", "", "nan", "inf", "3.4e38", "-0"};
const Pool kWhere = {"1", "5", "7", "13", "25", "26", "28.5", "29", "29.5", "30", "0", "-7", "1e400", "2.5",
                     "0.5", "0.4", "1e9", "", "12", "14"};
const Pool kYesNo = {"0", "1", "1.0", "1 ", " 1", "1st", "2", "0.9", "", "yes", "true"};

struct Form {
    const char* command;
    std::vector<const Pool*> questions;
};

const Form kForms[] = {
    {"Set Position", {&kWho, &kWhere}},  {"Set Friction", {&kWho, &kPercent}},
    {"Set Speed", {&kWho, &kSpeed, &kSpeed}}, {"Set Piece", {&kWho, &kWhere, &kYesNo, &kYesNo}},
    {"Set Ingame", {&kWho}},             {"Set Guidelines", {}},
};

ScenarioPlayer onBoard(int i, int position, std::string flags = "g") {
    return {std::string("P").append(std::to_string(i)), float(1500 + 900 * i), float(2000 + 700 * (i % 3)), 98, 200, position,
            std::move(flags)};
}

ScenarioPlayer inHolder(int i) {
    static const Board layout = makeBoardLayout();
    const Box& p = layout.pieces[i];
    return {std::string("P").append(std::to_string(i)), p.left, p.top, 98, 200, 0, ""};
}

// Games the commands meet: half the pieces still in the holder, a full
// game in every phase, a lone player, and a game whose turn is player 2's.
std::vector<std::pair<std::string, Scenario>> games() {
    Scenario four{"", true, 1, 0, {}, {onBoard(1, 3), inHolder(2), onBoard(3, 3), inHolder(4)}};
    Scenario eight{"", true, 1, 0, {}, {}};
    const char* flags[8] = {"gm", "g", "gr", "grl", "gklr", "d", "gx", "g"};
    const int positions[8] = {4, 1, 17, 26, 29, 8, 12, 0};
    for (int i = 1; i <= 8; ++i) eight.players.push_back(onBoard(i, positions[i - 1], flags[i - 1]));
    eight.players[7] = inHolder(8);
    Scenario one{"", false, 1, 0, {}, {onBoard(1, 6, "gm")}};
    Scenario second{"", true, 2, 0, {}, {onBoard(1, 2), onBoard(2, 14, "gr"), onBoard(3, 28, "grl")}};
    return {{"four", four}, {"eight", eight}, {"one", one}, {"turn of two", second}};
}

}  // namespace

std::vector<CommandCase> allCommandCases() {
    std::vector<CommandCase> out;
    for (const auto& [gameName, game] : games())
        for (const Form& form : kForms) {
            // Every value of every pool once in each question, the values of
            // the questions walking their pools at different paces.
            size_t rounds = 1;
            for (const Pool* p : form.questions) rounds = std::max(rounds, p->size());
            for (size_t k = 0; k < rounds; ++k) {
                std::vector<std::string> answers;
                for (size_t q = 0; q < form.questions.size(); ++q) {
                    const Pool& pool = *form.questions[q];
                    answers.push_back(pool[(k * (q + 1) + q) % pool.size()]);
                }
                out.push_back({std::string(form.command) + " on " + gameName + " " + std::to_string(k), game,
                               form.command, answers});
            }
        }
    return out;
}

}  // namespace capzel::scenarios
