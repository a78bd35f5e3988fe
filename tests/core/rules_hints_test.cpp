// The field's marks between shots.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "rules/Hints.h"

using namespace capzel;

TEST(FieldHints, MarkOnlyALivingCurrentPlayerBetweenShots) {
    // flag: k killer, d dead, s shot under way, c charging, o no game; target: the spot marked (0: none);
    // prey: a letter per player 1..8, x marked.
    struct Row { const char* what; int turn, position; char flag; Color piece, mark; int target; const char* prey; };
    constexpr Color kYellow = rgb(255, 255, 0), kCyan = rgb(0, 255, 255), kMagenta = rgb(255, 0, 255);
    const Row rows[] = {
        {"newcomer", 1, 0, ' ', 0, rgb(255, 255, 255), 1, "--------"},
        {"on the way back", 2, 20, ' ', rgb(255, 0, 0), kCyan, 21, "--------"},
        {"on D", 2, 28, ' ', rgb(0, 255, 0), kMagenta, 29, "--------"},
        {"past the course", 2, 29, ' ', rgb(0, 0, 255), kYellow, 0, "--------"},
        {"before the course", 2, -1, ' ', kYellow, kCyan, 0, "--------"},
        {"killer", 2, 29, 'k', rgb(0, 0, 200), kYellow, 0, "x-x----x"},
        {"killer beside a dead player", 3, 29, 'k', rgb(255, 128, 0), kCyan, 0, "x------x"},
        {"killer in the last seat", 8, 29, 'k', kMagenta, kYellow, 0, "xxx-----"},
        {"dead", 2, 5, 'd', 0, 0, 0, "--------"},
        {"shot under way", 2, 5, 's', 0, 0, 0, "--------"},
        {"charging", 2, 5, 'c', 0, 0, 0, "--------"},
        {"no game", 2, 5, 'o', 0, 0, 0, "--------"},
        {"turn beyond the players", 9, 5, ' ', 0, 0, 0, "--------"},
        {"no turn", 0, 5, ' ', 0, 0, 0, "--------"},
    };
    for (const Row& r : rows) {
        Game g;
        g.numberOfPlayers = 8;
        g.recreatePerGameTables();
        g.gameRunning = r.flag != 'o';
        g.shotInProgress = r.flag == 's';
        g.currentTurn = std::int16_t(r.turn);
        for (int i : {1, 2, 8}) g.seats[i].inGame = true;  // 3 waits in the holder
        g.seats[2].dead = r.flag == 'd';
        const int me = std::min(r.turn, kMaxPlayers);
        g.seats[me].isKiller = r.flag == 'k';
        g.seats[me].position = r.position;
        g.piece(me).fillColor = r.piece;
        if (r.flag == 'k') g.seats[3].inGame = true, g.seats[2].dead = r.turn == 3;  // 3 on the field; the dead are no prey
        const FieldHints h = fieldHints(g, g.board, r.flag == 'c');
        EXPECT_EQ(h.piece, r.mark != 0 ? r.turn : 0) << r.what;
        EXPECT_EQ(h.colour, r.mark) << r.what;
        EXPECT_EQ(h.target.has_value(), r.target != 0) << r.what;
        if (h.target && r.target) {
            const Box& want = g.board.spots[r.target];
            EXPECT_EQ(std::tie(h.target->left, h.target->top), std::tie(want.left, want.top)) << r.what;
        }
        std::string prey;
        for (int j = 1; j <= 8; ++j) prey += h.prey[j] ? 'x' : '-';
        EXPECT_EQ(prey, r.prey) << r.what;
    }
}
