# Scenarios of the shots beyond the classic turn: the hints on the field,
# fast forward, taking a shot back, and the game kept on disk coming back
# after the program was killed. Sourced by e2e_shots.sh after e2e_lib.sh and e2e_scenarios.sh.

YELLOWISH='r>0.8 && g>0.8 && b<0.25'

# Yellow pixels around Ann's (white) piece on box 1: the hint ring.
hint_pixels() {
    local ox oy; read -r ox oy < <(client_origin)
    count_pixels $((ox + BOX1_X - 30)) $((oy + BOX1_Y - 30)) 60 60 "$YELLOWISH"
}

hints_shown() {
    step "hints: a ring around the player's piece between shots, none while charging"
    start_two_player_game
    shot "hints"
    [ "$(hint_pixels)" -ge 20 ] || fail "no hint ring around Ann's piece"
    charge
    shot "hints-charging"
    [ "$(hint_pixels)" -le 2 ] || fail "the hint ring stays while the bar charges"
    step "Esc calls the charge off: the bar goes, the same player aims again"
    keys_to_main Escape
    sleep 0.3
    shot "charge-called-off"
    local ox oy
    read -r ox oy < <(client_origin)
    [ "$(count_pixels $((ox + 3)) $((oy + 190)) 30 430 "$BLUISH")" -le 5 ] || fail "the power bar stays after Esc"
    [ "$(hint_pixels)" -ge 20 ] || fail "no hint ring for Ann after Esc"
    no_box_waiting || fail "a box after Esc"
    stop_game
}

# Aims from Ann's piece on box 1 and lets go, and presses Enter at once: the
# bar is stopped before its first tick, so the strength is always the same.
# Extra xdotool commands (keydown space) follow Enter without a pause.
aim_and_enter() {
    local ox oy; read -r ox oy < <(client_origin)
    xdotool windowfocus --sync "$(main_window)" 2>/dev/null || true
    xdotool mousemove $((ox + BOX1_X)) $((oy + BOX1_Y)) mousedown 1
    sleep 0.15
    xdotool mousemove $((ox + BOX1_X)) $((oy + BOX1_Y - 40))
    sleep 0.1
    xdotool mousemove $((ox + BOX1_X + 20)) $((oy + BOX1_Y - 80))
    sleep 0.15
    xdotool mouseup 1 key Return "$@"
}

# The game kept on disk names the given current turn.
autosave_at_turn() { grep -q "^$1,\" = Current turn\"" "$(autosave_file)" 2>/dev/null; }

# Plays Ann's shot (extra keys after Enter), answers the rules' boxes up to
# Bob's turn, and copies the game kept on disk to $1. Prints the seconds
# from Enter to the first box.
shot_to_bobs_turn() {
    local out="$1"; shift
    local t0 t1
    t0=$(date +%s.%N)
    aim_and_enter "$@"
    wait_until "the rules' first box" 30 box_appeared
    t1=$(date +%s.%N)
    xdotool keyup space 2>/dev/null || true
    answer_until "^message: Bob's turn start"
    wait_until "the game kept at Bob's turn" 10 autosave_at_turn 2
    cp "$(autosave_file)" "$out"
    echo "   aim, shot and judging to the first box (harness delays included): $(echo "$t1 - $t0" | bc) s"
}

fast_forward_and_undo() {
    step "a shot at normal pace, taken back with Ctrl+Z, then fast-forwarded with Space held"
    start_two_player_game
    menu f s
    file_dialog "Save Game" "$WORK/before.CSG"
    wait_until "the saved file" 10 test -s "$WORK/before.CSG"
    shot_to_bobs_turn "$WORK/normal.CSG"

    keys_to_main ctrl+z
    expect_box "^question: Take back the last shot" y
    wait_until "the game kept back at Ann's turn" 10 autosave_at_turn 1
    cmp -s "$(autosave_file)" "$WORK/before.CSG" || fail "the shot taken back did not restore the game"
    sleep 0.3
    shot "undone"
    expect_colour "$BOX1_X" "$BOX1_Y" white "Ann's piece back on box 1"
    expect_colour "$HOLDER_X" "$HOLDER_Y" red "Bob's piece back in the holder"

    shot_to_bobs_turn "$WORK/fast.CSG" keydown space
    cmp "$WORK/normal.CSG" "$WORK/fast.CSG" >&2 || fail "the fast-forwarded shot ended elsewhere"
    stop_game
}

resume_after_kill() {
    step "killed mid-game with SIGKILL, started again, resumed"
    start_two_player_game
    shot_to_bobs_turn "$WORK/kept.CSG"
    charge
    kill -9 "$GAME_PID"
    wait "$GAME_PID" 2>/dev/null || true
    KEEP_AUTOSAVE=1 start_game
    expect_box "^question: Resume the unfinished game from last time\?$" y
    answer_until "^message: Bob's turn start"
    sleep 0.3
    shot "resumed"
    local ox oy
    read -r ox oy < <(client_origin)
    [ "$(count_pixels $((ox + 70)) $((oy + 505)) 70 110 "$REDDISH")" -ge 100 ] || fail "Bob's piece is not on box 1"
    exit_by_menu
    expect_game_ends
}
