# The end-to-end scenarios, each a player's sequence of real input events.
# Sourced by e2e_xvfb.sh after e2e_lib.sh.

# Client points of the field: box 1's centre (where a new player's piece
# enters), the D box's centre, the holder's first place, the power bar.
BOX1_X=105 BOX1_Y=561
BOXD_X=301 BOXD_Y=310
HOLDER_X=698 HOLDER_Y=18

# The status window shows one row per player in the player's colour.
expect_status_rows() {
    local x y w h
    read -r x y w h < <(window_rect "Game Status")
    [ "$(count_pixels "$x" "$y" "$w" "$h" "$WHITISH")" -ge 20 ] || fail "no white row (Ann) in the status window"
    [ "$(count_pixels "$x" "$y" "$w" "$h" "$REDDISH")" -ge 20 ] || fail "no red row (Bob) in the status window"
}

start_two_player_game() {
    start_game
    new_game Ann Bob
    expect_box "^message: Ann's turn start" Return
}

# Drags from the player's piece in box 1 (upwards: the piece will go down)
# and lets go: the power bar starts charging.
charge() { drag "$BOX1_X" "$BOX1_Y" "$BOX1_X" $((BOX1_Y - 80)); sleep 0.15; }
shoot() { charge; click_go; sleep 0.4; }

# Types text into the file name field of a file dialog and accepts it.
file_dialog() {
    wait_until "the $1 dialog" 10 window_shown "$1"
    keys_to "$(visible_named "$1" | head -n1)" ctrl+a
    xdotool type --delay 10 "$2"
    xdotool key Return
    wait_until "the $1 dialog to close" 10 window_gone "$1"
}

load_game() {
    menu f l
    expect_box '^question: ' y
    file_dialog "Load Game" "$1"
}

type_access_word() { keys_to_main shift+q shift+u shift+i shift+n shift+c shift+e; sleep 0.2; }

play_two_player_turn() {
    step "New, two players, Play"
    new_game Ann Bob
    expect_box "^message: Ann's turn start.  Target: 2$" Return
    shot "first-turn"
    expect_colour "$BOX1_X" "$BOX1_Y" white "Ann's piece on box 1"
    expect_colour "$HOLDER_X" "$HOLDER_Y" red "Bob's piece in the holder"
    expect_status_rows

    step "aim by dragging from the piece, release, Go"
    charge
    shot "charging"
    local ox oy
    read -r ox oy < <(client_origin)
    [ "$(count_pixels $((ox + BOX1_X - 3)) $((oy + BOX1_Y - 75)) 7 60 'r>0.3 && g<0.15 && b<0.15')" -ge 5 ] ||
        fail "no aim line above Ann's piece"
    [ "$(count_pixels $((ox + 3)) $((oy + 190)) 30 430 "$BLUISH")" -ge 100 ] || fail "the power bar is not filling"
    click_go
    sleep 0.4
    shot "shot-running"
    step "the rules' message after the shot"
    answer_until "^message: Bob's turn start"
    shot "second-turn"
    read -r ox oy < <(client_origin)
    [ "$(count_pixels $((ox + 70)) $((oy + 505)) 70 110 "$REDDISH")" -ge 100 ] || fail "Bob's piece did not enter box 1"
}

status_window_round_trip() {
    step "close the status window, open it again with Ctrl+S"
    close_window "$(visible_named "Game Status" | head -n1)"
    wait_until "the status window to close" 10 window_gone "Game Status"
    keys_to_main ctrl+s
    wait_until "the status window" 10 window_shown "Game Status"
    sleep 0.3
    shot "status"
    expect_status_rows
}

save_and_load() {
    step "save to a file"
    menu f s
    file_dialog "Save Game" "$WORK/game1.CSG"
    wait_until "the saved file" 10 test -s "$WORK/game1.CSG"
    head -n1 "$WORK/game1.CSG" | grep -q '^"Editing this save game file' || fail "not a saved game"
    grep -q '^"Ann"," = Player 1 name"' "$WORK/game1.CSG" || fail "Ann is not in the saved game"
    grep -q '^2," = Current turn"' "$WORK/game1.CSG" || fail "the saved game is not at Bob's turn"

    step "load it back"
    load_game "$WORK/game1.CSG"
    answer_until "^message: Bob's turn start"
    shot "loaded"
    expect_status_rows
}

new_during_charge_and_shot() {
    step "New during a charge, then during a shot"
    start_two_player_game
    charge
    RUNNING=1 new_game Ann Bob
    expect_box "^message: Ann's turn start" Return
    shoot
    RUNNING=1 new_game Ann Bob
    expect_box "^message: Ann's turn start" Return
    shot "new-during-shot"
    expect_colour "$BOX1_X" "$BOX1_Y" white "Ann's piece on box 1 in the new game"
    stop_game
}

exit_during_charge() {
    step "Exit during a charge, then during a shot"
    start_two_player_game
    charge
    exit_by_menu
    expect_game_ends
    start_two_player_game
    shoot
    exit_by_menu
    expect_game_ends
}

close_main_window_during_shot() {
    step "close the main window during a shot"
    start_two_player_game
    shoot
    close_window "$(main_window)"
    wait_until "the main window to close" 30 sh -c '! xdotool search --onlyvisible --name "^Capzel\$" >/dev/null'
    sleep 1
    game_alive || fail "the game ended while its status window was open"
    no_box_waiting || fail "a rules' message for a closed window"
    close_window "$(visible_named "Game Status" | head -n1)"
    expect_game_ends
}

won_game() {
    start_game
    new_game Solo
    expect_box "^message: Solo's turn start" Return
    type_access_word
    # Friction 1 %: the next shot barely moves the piece.
    keys_to_main F2
    expect_inputs 1 1
    # The piece onto D, then its last target back to C: the next shot that
    # stays in D is the one that finishes.
    keys_to_main F4
    expect_inputs 1 29 1 1
    keys_to_main F4
    expect_inputs 1 28 1 0
    shot "on-D"
    drag "$BOXD_X" "$BOXD_Y" "$BOXD_X" $((BOXD_Y - 40))
    click_go
    answer_until "WON!"
    wait_until "the high-score window" 20 window_shown "High Scores"
    sleep 0.3
    shot "high-scores"
    grep -q "reached target D and became a killer" "$JOURNAL" || fail "no killer message"
    local x y w h
    read -r x y w h < <(window_rect "High Scores")
    [ "$(count_pixels "$x" "$y" "$w" "$h" "$WHITISH")" -ge 200 ] || fail "the high-score table shows no text"
    step "Exit"
    exit_by_menu
    expect_game_ends
}
