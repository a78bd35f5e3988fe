# shellcheck shell=bash
# The computer players' real-window scenario, sourced after e2e_scenarios.sh
# (for its file dialog and menu helpers).

# Loads a saved game of two computer players near the end of the course
# (Ann, Expert, in C with D to go; Bob, Novice, in B with C to go; Bob
# shoots first) into a freshly started game; the turn start that the load
# shows waits for the person who loaded it.
load_computers_game() {
    start_game
    menu f l
    file_dialog "Load Game" "$E2E_DATA/saves/two_computers_near_the_end.CSG"
    expect_box "^message: Bob's turn start.  Target: C$" Return
}

no_box_open() { ! box_window >/dev/null; }

computers_game() {
    step "Exit while a computer plays"
    load_computers_game
    sleep 1.5
    exit_by_menu
    expect_game_ends

    step "two computers play to a winner, unattended"
    load_computers_game
    local start; start=$(date +%s)
    sleep 0.5
    shot "computer-aiming"
    wait_until "a winner" 240 grep -q "WON!" "$JOURNAL"
    echo "   won after $(( $(date +%s) - start )) s; the boxes shown:"
    sed 's/^/     /' "$JOURNAL"
    wait_until "the high-score window" 20 window_shown "High Scores"
    wait_until "the last box to close" 10 no_box_open
    shot "computers-won"
    grep -q "^question: \|^input: " "$JOURNAL" && fail "a computer's turn asked the person something"
    step "Exit"
    exit_by_menu
    expect_game_ends
}
