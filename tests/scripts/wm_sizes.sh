#!/usr/bin/env bash
# Under a window manager (openbox in Xvfb, 1600x1200): where a new and a resumed game put their
# frames; then at every size the game offers (200 % shown at 150 %: it does not fit), a game of one
# Expert seat to its end, every window on the way whole on the screen and none under another;
# again at 150 % with the messages in the strip beside the field (an online game's chat is there too).
#   bash tests/scripts/wm_sizes.sh <bin-dir>     (WM_SIZES="150": those sizes only)
# Screenshots in <build>/e2e-artifacts/sizes.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
XVFB_SCREEN=1600x1200 e2e_setup "${1:-}" sizes openbox xwininfo xprop
SCREEN_W=1600 SCREEN_H=1200
start_wm

# frame WINDOW: "left top right bottom" of its frame once two looks in a row agree (the game places
# a window again once the window manager has framed it).
settled() {
    local now; now=$(edges "$(frame_of "$1")") || return 1
    [ "$now" = "$SETTLED_AT" ] || { SETTLED_AT=$now; return 1; }
}
frame() { SETTLED_AT="" && wait_until "window $1 to settle" 20 settled "$1" && echo "$SETTLED_AT"; }
on_screen() {  # NAME WINDOW: its frame whole on the screen
    local l t r b
    read -r l t r b < <(frame "$2")
    [ "$l" -ge 0 ] && [ "$t" -ge 0 ] && [ "$r" -le "$SCREEN_W" ] && [ "$b" -le "$SCREEN_H" ] ||
        fail "at $SIZE %: $1 is at ($l, $t)-($r, $b), not whole on the ${SCREEN_W}x${SCREEN_H} screen"
    echo "   $1: ($l, $t)-($r, $b), $((r - l)) x $((b - t))"
}
titled() {  # TITLE: the window shown, whole on the screen
    wait_until "the window '$1'" 30 window_shown "$1"
    on_screen "'$1'" "$(named "$1")"
}
# A frame's place among the screen's windows, the topmost first.
stacked_at() { xwininfo -root -children | awk -v id="$1" '$1 ~ /^0x/ { n++; if ($1 == id) print n }'; }
# not_under WINDOW OTHER: overlapping frames only with WINDOW's above (with no room beside, a window
# may cover another, never hide under it).
not_under() {
    local a b
    read -r -a a < <(frame "$1")
    read -r -a b < <(frame "$2")
    [ "${a[2]}" -le "${b[0]}" ] || [ "${b[2]}" -le "${a[0]}" ] || [ "${a[3]}" -le "${b[1]}" ] || [ "${b[3]}" -le "${a[1]}" ] &&
        return 0
    [ "$(stacked_at "$(frame_of "$1")")" -lt "$(stacked_at "$(frame_of "$2")")" ] ||
        fail "at $SIZE %: window $1 (${a[*]}) is under window $2 (${b[*]})"
    echo "   (over the main window: no room beside it)"
}

journal_past_seen() { [ "$(journal_lines)" -gt "$SEEN" ]; }
no_box() { ! box_window >/dev/null; }
box_said() {  # the next box's line checked (a computer's turn's boxes close by themselves)
    wait_until "a box matching '$1'" 180 journal_past_seen
    next_box "$1"
}
answer_input() {  # ERE TEXT: the next input box, whole on the screen, answered
    wait_until "an input box matching '$1'" 30 box_appeared
    box_said "$1"
    local w; w=$(box_window)
    on_screen "the input box" "$w"
    xdotool windowfocus --sync "$w" 2>/dev/null || true
    xdotool type --delay 20 "$2"
    xdotool key Return
    wait_until "the input box to close" 10 box_closed "$w"
}
extras() { keys_to_main alt+e && xdotool key "$@" Return; }  # an Extras item (Down: the first, Up: the last)

# The hidden menu's Set Position puts the piece before D: the Expert's next shot wins. When the
# computer's shot took the keys, the word is given again (a third time shows the menu again).
next_is_who() { sed -n "$((SEEN + 1))p" "$JOURNAL" | grep -q "^input: Who"; }
who_pending() { sed -n "$((SEEN + 1)),\$p" "$JOURNAL" | grep -q "^input: Who"; }
no_box_or_who() { who_pending || no_box; }
set_position_before_d() {
    local try
    for try in 1 2 3; do
        wait_until "no box open" 120 no_box_or_who
        if ! who_pending; then
            xdotool windowactivate --sync "$(main_window)" 2>/dev/null || true
            keys_to_main shift+q shift+u shift+i shift+n shift+c shift+e F1
            wait_until "a box after Set Position" 180 journal_past_seen
        fi
        while journal_past_seen && ! next_is_who; do box_said ""; done
        if next_is_who; then
            answer_input "^input: Who" 1
            answer_input "^input: Where" 28
            return 0
        fi
    done
    fail "Set Position never asked"
}

# play_one_size PERCENT [INI LINES]: a fresh start at that size and a game of one Expert seat.
play_one_size() {
    SIZE=$1
    shift
    printf '%s\n' "[General]" "sizePercent=$SIZE" "coachDone=true" "$@" "[helpers]" "endChart=true" "statusMarks=true" \
        >"$HOME/.config/Capzel/Capzel.ini"
    rm -rf "$XDG_DATA_HOME/capzel"
    step "size $SIZE % $*"
    start_game
    on_screen "the main window" "$(main_window)"
    local zoom; zoom=$(awk -v w="$(width_of "$(main_window)")" -v strip="$STRIP" 'BEGIN { printf "%.2f\n", w / (730 + strip) }')
    echo "   shown at $zoom"
    [ "$SIZE" = 200 ] && [ "$zoom" != 1.50 ] && fail "200 % does not fit this screen, and is not shown at 150 %"

    menu f n
    titled "New Game"
    local dialog; dialog=$(named "New Game")
    # One player, the Expert (the last of "Played by"), then Play.
    local x y
    read -r x y < <(awk -v z="$zoom" 'BEGIN { printf "%d %d\n", 678 * z, 49 * z }')
    xdotool mousemove --window "$dialog" "$x" "$y" click 1
    xdotool key End Return
    read -r x y < <(awk -v z="$zoom" 'BEGIN { printf "%d %d\n", 568 * z, 64 * z }')
    xdotool mousemove --window "$dialog" "$x" "$y" click 1
    # The computer's turn start passes by itself: read, not answered (a key could come after it went).
    [ "$STRIP" = 0 ] && box_said "^message: Player 1's turn start"
    titled "Game Status"
    not_under "$(named "Game Status")" "$(main_window)"

    set_position_before_d
    # Told to the person who gave the command: it waits for OK.
    [ "$STRIP" = 0 ] && expect_box "^message: Player 1's turn start.  Target: D" Return
    # A shot the computer was already charging may miss; the next one does not.
    [ "$STRIP" = 0 ] && boxes_until "became a killer" box_said && box_said "WON"
    titled "Game Chart"
    titled "High Scores"
    not_under "$(named "Game Chart")" "$(main_window)"
    not_under "$(named "Game Status")" "$(main_window)"
    not_under "$(named "Game Status")" "$(named "Game Chart")"
    shot "size-$SIZE$SUFFIX-game-over"

    extras Down
    titled "Game History"
    keys_to "$(named "Game History")" alt+h
    titled "Game History Charts"
    shot "size-$SIZE$SUFFIX-history"
    extras Up
    titled "Settings"
    # A size too large for this screen is greyed.
    keys_to "$(named "Settings")" alt+z alt+Down
    shot "size-$SIZE$SUFFIX-settings"
    xdotool key Escape
    keys_to "$(named "Settings")" Escape
    # Help has no access letter: Alt alone, then across to it.
    keys_to_main alt Right Right Right Down p
    titled "How to Play"
    shot "size-$SIZE$SUFFIX-help"
    keys_to "$(named "How to Play")" Escape
    wait_until "How to Play to close on Esc" 10 window_gone "How to Play"
    stop_game
}

# A new game of two puts the main frame, title bar included, at the screen's top left and the status
# frame at its bottom right (its top 2010 twips above the bottom, 104 pixels high); a resumed game's
# status frame is as high from the start (the frame comes after the window shows: not added to it).
framed() { local w; w=$(named "$1") && [ -n "$w" ] && [ "$(frame_of "$w")" != "$w" ]; }
both_framed() { framed Capzel && framed "Game Status"; }
frames_are() {  # PATTERN of "main-left main-top status-right status-top status-height"
    local l t r b top
    read -r l t _ _ < <(edges "$(frame_of "$(main_window)")")
    read -r _ top r b < <(edges "$(frame_of "$(named "Game Status")")")
    FRAMES="$l $t $r $top $((b - top))"
    [[ "$FRAMES" == $1 ]]
}
held() {  # PATTERN NAME: once both windows are framed, the frames match within 30 s
    local deadline=$(( $(date +%s) + 30 ))
    wait_until "both windows framed" 60 both_framed
    until frames_are "$1"; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "$2: the frames are at '$FRAMES', not '$1'"
        sleep 0.1
    done
    shot "frames-$2"
}
step "frames of a new game and of the game resumed"
mkdir -p "$HOME/.config/Capzel"
printf '%s\n' "[General]" "sizePercent=100" "coachDone=true" >"$HOME/.config/Capzel/Capzel.ini"
start_game
new_game Ann Bob
expect_box "^message: Ann's turn start" Return
held "0 0 $SCREEN_W $((SCREEN_H - 134)) 104" new-game
stop_game
KEEP_AUTOSAVE=1 start_game
expect_box "^question: " y
expect_box "^message: Ann's turn start" Return
held "* * * * 104" resumed-game
stop_game

STRIP=0 SUFFIX=""
for size in ${WM_SIZES:-100 125 150 200}; do play_one_size "$size"; done
STRIP=240 SUFFIX="-strip"
play_one_size 150 "ruleMessages=1"

echo "wm_sizes: every window whole on the screen at every size; screenshots in $ARTIFACTS"
