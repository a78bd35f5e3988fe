# shellcheck shell=bash
# The computer players' real-window scenario, sourced after e2e_scenarios.sh
# (for its file dialog and menu helpers).

# A saved game of two computer players near the end of the course: Ann
# (Expert) rests in C with D to go, Bob (Novice) in B with C to go; Bob
# shoots first.
write_computers_game() {
    local file="$1" player
    {
        printf '"Editing this save game file could result in errors when the game is loaded.  Edit under own risk."\r\n'
        printf '2," = Number of players"\r\n2," = Current turn"\r\n'
        for player in "Ann 28 5197 5340 16777215" "Bob 27 6015 4522 255"; do
            set -- $player
            printf '"%s"," = Player %s name"\r\n' "$1" "$([ "$1" = Ann ] && echo 1 || echo 2)"
            printf '#FALSE#," = %s dead"\r\n#TRUE#," = %s in game"\r\n#FALSE#," = %s is a killer"\r\n' "$1" "$1" "$1"
            printf '#TRUE#," = %s on A, B, C, or D"\r\n#FALSE#," = %s losing turn"\r\n' "$1" "$1"
            printf '#FALSE#," = %s moveable next turn"\r\n#TRUE#," = %s heading in reverse"\r\n' "$1" "$1"
            printf '98," = %s friction"\r\n500," = %s score"\r\n%s," = %s color (in long)"\r\n' "$1" "$1" "$5" "$1"
            printf '300," = %s height"\r\n%s," = %s left"\r\n%s," = %s top"\r\n300," = %s width"\r\n' \
                "$1" "$3" "$1" "$4" "$1" "$1"
            printf '"%s"," = %s current Position"\r\n' "$2" "$1"
        done
        printf '"Who plays each seat: Human, or the computer at Novice, Club or Expert level."\r\n'
        printf '"Expert"," = Ann seat"\r\n"Novice"," = Bob seat"\r\n'
    } > "$file"
}

# Loads the computers' game into a freshly started game; the turn start
# that the load shows waits for the person who loaded it.
load_computers_game() {
    start_game
    menu f l
    file_dialog "Load Game" "$WORK/computers.CSG"
    expect_box "^message: Bob's turn start.  Target: C$" Return
}

no_box_open() { ! box_window >/dev/null; }

computers_game() {
    step "Exit while a computer plays"
    write_computers_game "$WORK/computers.CSG"
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
