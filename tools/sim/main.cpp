// capzel-sim: plays one shot of Capzel with no window.
//
//   capzel-sim < request.json > outcome.json
//
// Reads one JSON object on standard input (the players, the aim line, the
// strength) and writes the state after the shot as one JSON object on
// standard output. Invalid input: exit status 2, one line on standard error
// naming the problem, nothing on standard output.
#include <cstdio>
#include <exception>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "SimRequest.h"
#include "SimRun.h"

namespace {

constexpr const char* kUsage =
    "usage: capzel-sim < request.json\n"
    "Plays one shot with no window: reads one JSON object on standard input and\n"
    "writes the state after the shot as one JSON object on standard output.\n"
    "Exit status 2 and one line on standard error when the input is not valid.\n"
    "A shot that has not come to rest after \"max_cycles\" cycles (default 1000000)\n"
    "stops there and is reported as \"unfinished\".\n"
    "With \"judge\": true the finished shot is then judged by the turn rules as\n"
    "the \"Go\" button judges it; \"messages\" holds every message box in order.\n";

int refuse(const std::string& problem) {
    std::cerr << "capzel-sim: " << problem << '\n';
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace capzel::sim;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        return refuse("unknown argument \"" + std::string(arg) + "\" (see --help)");
    }
    try {
        const std::string input{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
        const SimRequest request = parseRequest(input);
        SimRun run(request);
        const capzel::ShotResult result = run.play(request);
        std::cout << writeOutcome(run.ctx, result, run.ui.messages);
        std::cout.flush();
        return std::cout ? 0 : 1;
    } catch (const InputError& e) {
        return refuse(e.what());
    } catch (const std::exception& e) {
        std::cerr << "capzel-sim: " << e.what() << '\n';
        return 1;
    }
}
