// history_writer <file> <games> <name>: adds that many one-player games won
// by <name> to the game history <file>, one at a time as game ends do; for
// the test of two copies of the game ending games at once.
#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "desktop/HistoryFile.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) return 2;
    const capzel::HistoryGame game{"2026-12-08 10:00", 1, 3, {{argv[3], capzel::PlayerKind::Human, 100}}};
    for (int k = 0, n = std::stoi(argv[2]); k < n; ++k) {
        const capzel::ui::HistoryAddition a = capzel::ui::addToHistoryFile(argv[1], game);
        if (!a.added || !a.notice.empty()) {
            std::fprintf(stderr, "%s\n", a.notice.c_str());
            return 1;
        }
    }
    return 0;
}
