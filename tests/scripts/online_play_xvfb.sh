#!/usr/bin/env bash
# An online game played whole, from its first shot to its winner, in two
# real game windows (Xvfb, xdotool) against the real capzel-server. The
# server keeps a new room of Ann and Bob; their programs take the seats with
# the tokens they kept. Each shot is made with the mouse: the aim dragged
# where a careful player would aim it (online_room plan, with the bar
# stopped at its first tick or at its top: first ticks alone, which a busy
# machine plays stronger, went past 150 shots), the bar charged,
# and "Go" clicked once the window shows it, after about the time the
# planned ticks take (the player's choice of strength, learned from the
# strengths the shots were really played with: on a busy machine the shots
# come out a little stronger or weaker, nothing else). Nothing waits for a
# set time: each step waits for what the programs tell (their output lines,
# their boxes, their windows as the screen shows them), and an input is given
# again only when the window shows it was not taken. Midway, Bob's program
# is killed (kill -9), started again, and takes his seat back. Both programs
# and the server end with the same state hash. Then a new room, and the
# server killed: both programs say so in a box and the game goes on at each
# of them.
#
# Screenshots are kept in <build>/e2e-artifacts/online.
#   bash tests/scripts/online_play_xvfb.sh <bin-dir>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
XVFB_SCREEN=2000x1024 e2e_setup "${1:-}" online
SERVER_DIR="$TMP/server"
mkdir -p "$SERVER_DIR/rooms"

# --- the server and the two players' programs ------------------------------------

start_server() {
    rm -f "$TMP/server.out"  # not the port of a server before it
    "$BIN/capzel-server" --port 0 --data-dir "$SERVER_DIR" >"$TMP/server.out" 2>>"$GAME_LOG" &
    SERVER_PID=$!
    wait_until "the server" 60 grep -q "listening on" "$TMP/server.out"
    PORT=$(sed -n 's/.*0\.0\.0\.0:\([0-9]*\) .*/\1/p' "$TMP/server.out")
}

# A new room, with each seat's token kept in its player's settings as a
# game that was playing there keeps it. Both players chose the steady power
# bar (half the classic speed), which the mouse follows better.
# A room that has ended is moved among the finished ones.
make_room() { "$BIN/online_room" new "$SERVER_DIR/rooms/PLAY23.room.json" >"$TMP/room.txt" || fail "no room"; }
room_file() { ls "$SERVER_DIR"/rooms/PLAY23.room.json "$SERVER_DIR"/rooms/finished/PLAY23.room.json 2>/dev/null | head -n1; }
keep_token() {  # player seat
    local home="$TMP/$1" token
    token=$(awk -v s="$2" '$1 == "token" && $2 == s {print $3}' "$TMP/room.txt")
    mkdir -p "$home/.config/Capzel" "$home/data"
    printf '[General]\nbarPace=1\n[online]\nurl=ws://127.0.0.1:%s\ncode=PLAY23\nname=%s\ntoken=%s\n' "$PORT" "$1" "$token" \
        >"$home/.config/Capzel/Capzel.ini"
}

# Starts a player's program joining the room; its boxes go to its own journal.
start_player() {  # name
    local home="$TMP/$1"
    : >"$home/boxes.txt"
    (cd "$WORK" && HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/data" \
        CAPZEL_MESSAGE_LOG="$home/boxes.txt" exec "$PROG/capzel" --join "ws://127.0.0.1:$PORT" PLAY23 "$1") \
        >"$home/out.txt" 2>>"$GAME_LOG" &
    eval "PID_$1=$!"
    wait_until "$1's game window" 60 game_window_of "$1" >/dev/null
}
# A new room on a server of its own, and both players in it.
open_room() {
    make_room
    start_server
    keep_token Ann 1
    keep_token Bob 2
    start_player Ann
    start_player Bob
    place_windows
}
pid_of() { eval "echo \${PID_$1:-0}"; }
# A player's main window once the online game began in it, or one of its boxes.
window_of() {  # player main|box
    local w
    for w in $(xdotool search --all --onlyvisible --pid "$(pid_of "$1")" --name '^Capzel$' 2>/dev/null); do
        if [ "$(width_of "$w")" -ge "$MAIN_W" ]; then [ "$2" = main ]; else [ "$2" = box ]; fi && { echo "$w"; return 0; }
    done
    return 1
}
# The game's window, once the game has begun in it: the program says so, or
# the game's first box has opened over it.
game_window_of() {
    { grep -q '^playing PLAY23' "$TMP/$1/out.txt" 2>/dev/null || [ -s "$TMP/$1/boxes.txt" ]; } && window_of "$1" main
}
# Ann's window to the left, Bob's beside it (an online game's window holds
# the chat beside its field). A window found elsewhere is moved there again
# (a program may still be replacing its first window with the game's); each
# shot looks again before its first input.
placed_at() {  # player x
    local w X Y WIDTH HEIGHT SCREEN WINDOW
    w=$(game_window_of "$1") && eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" &&
        [ "${X:-}" = "$2" ] && [ "${Y:-}" = 0 ]
}
place() {  # player x
    local w
    placed_at "$1" "$2" && return 0
    w=$(game_window_of "$1") && xdotool windowmove "$w" "$2" 0 2>/dev/null
    placed_at "$1" "$2"
}
place_windows() {
    wait_until "Ann's window at the left" 60 place Ann 0
    BOB_X=$(($(width_of "$(game_window_of Ann)") + 10))
    wait_until "Bob's window beside it" 60 place Bob "$BOB_X"
}
# "X Y" of a player's field on the screen: its window is placed before each
# shot.
origin_of() {  # player
    case "$1" in
    Ann) echo "0 $MENU_BAR" ;;
    Bob) echo "$BOB_X $MENU_BAR" ;;  # beside Ann's window, however wide it is
    esac
}

# The next shot as the server's room has it after `shots` shots:
# "turn <seat> shots <n> aim <x> <y> ticks <k> last <k> from <x> <y> told <n>",
# or "over told <n>" (online_room).
PLAN=()
plan_after() {  # shots
    local line
    line=$("$BIN/online_room" plan "$(room_file)" strong 2>/dev/null) || return 1
    read -r -a PLAN <<<"$line"
    [ "${PLAN[0]}" = over ] || [ "${PLAN[3]}" = "$1" ]
}

# --- what a player's window shows ---------------------------------------------

# How many pixels of a rectangle (x y w h, in pixels of a player's field) on
# the screen as it is now have their red, green and blue parts within ranges
# (0 to 255), read by xpixels in a few milliseconds.
field_pixels() {  # player x y w h red-min red-max green-min green-max blue-min blue-max
    local ox oy
    read -r ox oy < <(origin_of "$1") || return 1
    "$BIN/xpixels" $((ox + $2)) $((oy + $3)) "$4" "$5" "${@:6}"
}
# "Go" (field twips 50, 2280, 495 x 435) while the bar charges: a light
# button where the field is black. The rectangle lies above its caption.
go_shown() {  # player
    [ "$(field_pixels "$1" 6 155 26 5 179 255 179 255 179 255 2>/dev/null)" -ge 120 ] 2>/dev/null
}
go_hidden() { ! go_shown "$1"; }
# The dark red aim line (192, 0, 0) within a rectangle of the field.
aim_shown_in() {  # player x y w h
    [ "$(field_pixels "$@" 166 216 0 25 0 25 2>/dev/null)" -ge 2 ] 2>/dev/null
}
box_open() { window_of "$1" box >/dev/null; }
box_gone() { ! xdotool search --onlyvisible --name '^Capzel$' 2>/dev/null | grep -qx "$1"; }

# Every box a player's program shows is answered with Return, one after the
# other, until the program shows none. Boxes that open later are answered
# before the next input, or while the test waits.
answer_boxes() {  # player
    local w
    while w=$(window_of "$1" box); do
        xdotool windowfocus --sync "$w" 2>/dev/null || true
        xdotool key Return
        wait_until "$1's box to close" 30 box_gone "$w"
    done
}
answer_all_boxes() { answer_boxes Ann; answer_boxes Bob; }

# --- a shot with the mouse --------------------------------------------------------

# How far the bar has risen, in ticks, as the screen shows it at a field's
# origin: the bar (field twips 45, 2760, 480 x 6585) fills with blue from
# the bottom, ten twips a tick. 0 while it is empty.
bar_ticks_at() {  # x y (the field's origin on the screen)
    local top
    top=$("$BIN/xpixels" $(($1 + 18)) $(($2 + 184)) 1 440 0 63 0 63 205 255 top 2>/dev/null) || top=-1
    if [ "${top:--1}" -lt 0 ]; then echo 0; else echo $(( (6585 - 15 * top) / 10 )); fi
}
# "Go" is clicked when the window shows the bar risen to the planned ticks
# less OVERSHOOT (the ticks the bar rises between that look and the click
# taking effect), learned from the ticks each shot was really played with.
# A click so late that the bar had started again (a shot far weaker than
# the look) counts the rest of the bar, its pauses (about 80 ticks) and the
# new start. A busy machine only plays the shots stronger or weaker.
OVERSHOOT=20
CLICKED_AT=0
learn_overshoot() {  # intended actual
    local late
    [ "$2" -gt 0 ] && [ "$1" -lt 660 ] && [ "$2" -lt 660 ] || return 0
    late=$(( $2 - CLICKED_AT ))
    [ "$late" -ge -100 ] || late=$(( 660 - CLICKED_AT + 80 + $2 ))
    OVERSHOOT=$(( (OVERSHOOT + late) / 2 ))
    [ "$OVERSHOOT" -ge 0 ] || OVERSHOOT=0
    [ "$OVERSHOOT" -le 400 ] || OVERSHOOT=400
}
# Looks at the bar as fast as it can until it shows `ticks` ticks or more
# (it may first have to start again from empty); now and then whether a box
# has opened over the window instead. The empty bar and "Go" come on screen
# in one painting of the window.
until_bar_shows() {  # player ticks x y
    local looks=0 deadline=$(( $(date +%s) + 60 ))
    until [ "$(bar_ticks_at "$3" "$4")" -ge "$2" ]; do
        looks=$((looks + 1))
        [ $((looks % 25)) != 0 ] && continue
        box_open "$1" && return 0
        [ "$(date +%s)" -lt "$deadline" ] || fail "timed out after 60 s waiting for $1's bar to show $2 ticks"
    done
}

# The left button pressed on the shooter's piece (its centre x0, y0) and
# dragged to the aim point (x, y), all in field twips, still held. The aim
# point may lie beyond the field (a piece at its edge aims out of it): the
# drag goes on reaching the field as long as the button is held. The events
# reach the program in the order they are sent: nothing waits between them.
press_aim() {  # player x y x0 y0
    local ox oy px py cx cy
    read -r ox oy < <(origin_of "$1")
    px=$(awk -v v="$2" 'BEGIN { printf "%d", v / 15 + 0.5 }')
    py=$(awk -v v="$3" 'BEGIN { printf "%d", v / 15 + 0.5 }')
    cx=$(awk -v v="$4" 'BEGIN { printf "%d", v / 15 + 0.5 }')
    cy=$(awk -v v="$5" 'BEGIN { printf "%d", v / 15 + 0.5 }')
    xdotool mousemove $((ox + cx)) $((oy + cy)) mousedown 1 \
        mousemove $((ox + (cx + px) / 2)) $((oy + (cy + py) / 2)) mousemove $((ox + px)) $((oy + py))
}
# Polls a command until it succeeds (0) or $1 seconds pass (1).
within() {
    local deadline=$(( $(date +%s) + $1 ))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}
# The button let go: the bar charges once the window shows "Go". When a box
# opens instead (it came before the aim and took it), the box is answered
# and the aim made again; so it is, as a last resort, when the window still
# shows neither ten seconds later (a release that came while the window was
# busy is dropped; the aim made again while the bar charges ends where the
# first did, and its release is dropped).
release_until_charging() {  # player x y x0 y0
    local k
    for k in 1 2 3 4 5; do
        xdotool mouseup 1
        if within 10 charging_or_box "$1"; then
            go_shown "$1" && return 0
            answer_boxes "$1"
        else
            echo "   $1's window took no release (attempt $k): the aim again" >&2
            shot "$1-release-not-taken-$k"
        fi
        press_aim "$@"
    done
    fail "$1's window never showed Go"
}
charging_or_box() { go_shown "$1" || box_open "$1"; }
# "Go" clicked once the bar has risen about `ticks` ticks (the full bar:
# its pause at the top). The click comes after the window showed "Go", so
# the button takes it; only when a box opened in between (the window still
# shows "Go" once the box is answered) is it clicked again.
click_go_after() {  # player ticks
    local ox oy k want=$(( $2 - OVERSHOOT ))
    # The full bar shows 651 ticks (its top rows stay white), and holds
    # still at the top for 0.1 s only: a click late for it would come after
    # the bar started again. Too early a click plays a little weaker.
    [ "$2" -lt 660 ] || want=$(( 640 - OVERSHOOT ))
    [ "$want" -le 645 ] || want=645
    [ "$want" -ge 1 ] || want=1
    CLICKED_AT=$want
    read -r ox oy < <(origin_of "$1")
    xdotool mousemove $((ox + 19)) $((oy + 166))
    until_bar_shows "$1" "$want" "$ox" "$oy"
    xdotool click 1
    for k in 1 2 3 4 5; do
        wait_until "$1's shot to start" 60 go_hidden_or_box "$1"
        box_open "$1" || return 0
        answer_boxes "$1"
        go_shown "$1" || return 0
        xdotool mousemove $((ox + 19)) $((oy + 166)) click 1
    done
    fail "$1's window kept showing Go"
}
go_hidden_or_box() { box_open "$1" || go_hidden "$1"; }
shoot() {  # player x y x0 y0 ticks
    place_windows
    answer_boxes "$1"
    press_aim "$1" "$2" "$3" "$4" "$5"
    release_until_charging "$1" "$2" "$3" "$4" "$5"
    click_go_after "$1" "$6"
}

# The last shot a player's program has judged and compared with the
# server's: "shot <n> <hash> same|differs".
last_shot_line() { grep '^shot ' "$TMP/$1/out.txt" | tail -n1; }
judged() {  # player n: its program has judged shot n or a later one
    local n
    n=$(last_shot_line "$1" | cut -d' ' -f2)
    [ "${n:-0}" -ge "$2" ]
}
both_judged() { judged Ann "$1" && judged Bob "$1"; }
# While a shot plays out, the boxes it brings are answered as they come.
judged_answering() {  # n
    both_judged "$1" && return 0
    answer_all_boxes
    both_judged "$1"
}
stop_players() {
    local p
    for p in Ann Bob; do
        kill "$(pid_of "$p")" 2>/dev/null || true
        wait "$(pid_of "$p")" 2>/dev/null || true
    done
}
# At the end: the programs and the server stop, what they printed is kept
# beside the screenshots.
clean_up() {
    set +e
    stop_players
    kill "${SERVER_PID:-0}" 2>/dev/null
    for p in Ann Bob; do
        cp "$TMP/$p/out.txt" "$ARTIFACTS/$p-out.txt" 2>/dev/null
        cp "$TMP/$p/boxes.txt" "$ARTIFACTS/$p-boxes.txt" 2>/dev/null
    done
    cp "$GAME_LOG" "$ARTIFACTS/game.log" 2>/dev/null
    rm -rf "$TMP"
}
trap 'status=$?; clean_up; exit $status' EXIT

step "a new room; both players take their seats"
open_room
shot "joined"

# A player's program is killed and started again, and takes the seat back.
comes_back() {  # player seat shots
    kill -9 "$(pid_of "$1")"
    wait "$(pid_of "$1")" 2>/dev/null || true
    wait_until "$1's window to go" 30 sh -c "! xdotool search --onlyvisible --pid $(pid_of "$1") >/dev/null 2>&1"
    shot "$1-gone"
    start_player "$1"
    wait_until "$1's game to go on" 60 playing_again "$1"
    place_windows
    grep -q "^room PLAY23 seats $2\$" "$TMP/$1/out.txt" || fail "$1 did not come back to the seat"
    grep -q "^playing PLAY23 from shot $3\$" "$TMP/$1/out.txt" || fail "$1's game did not go on from shot $3"
    # Its boxes from here on are those of the shots to come.
    eval "TOLD_$1=$(box_lines "$1")"
}
# The program says it plays the game again once the boxes of its beginning
# are answered.
playing_again() {  # player
    answer_boxes "$1"
    grep -q '^playing PLAY23' "$TMP/$1/out.txt"
}

# The program of the player who shot tells every announcement of the shot
# in a box once it has shown the shot (the other program tells them in its
# banner once it has judged the shot, which its "shot" line says); until it
# has, its window is still busy with the shot. TOLD_<p>: the boxes of a
# player's program accounted for so far.
TOLD_Ann=0 TOLD_Bob=0
box_lines() { wc -l <"$TMP/$1/boxes.txt"; }
has_told() {  # player lines: the program has logged that many boxes; what is open is answered
    answer_boxes "$1"
    [ "$(box_lines "$1")" -ge "$2" ]
}
tells_all() {  # player announcements
    local want=$(( $(eval "echo \$TOLD_$1") + $2 ))
    wait_until "$1's program to tell the $2 announcement(s) of shot $done_shots" 120 has_told "$1" "$want"
    eval "TOLD_$1=$want"
    answer_boxes "$1"
}

step "the players shoot with the mouse until the killer wins; a program is killed midway"
names=(x Ann Bob)
done_shots=0 intended=0
while :; do
    wait_until "the room after shot $done_shots" 60 plan_after "$done_shots"
    told=${PLAN[$(( ${#PLAN[@]} - 1 ))]}
    if [ "$done_shots" = 0 ]; then
        tells_all Ann "$told"
        tells_all Bob "$told"
    else
        tells_all "$shooter" "$told"
    fi
    [ "${PLAN[0]}" = over ] && break
    learn_overshoot "$intended" "${PLAN[10]}"
    [ "$done_shots" -lt 150 ] || fail "no winner after $done_shots shots"
    shooter=${names[${PLAN[1]}]} intended=${PLAN[8]} began=$SECONDS
    if [ "$done_shots" = 3 ]; then
        # The program of the player not on turn is killed and comes back;
        # its window then shows the other player's aim as it is dragged.
        seat=$((3 - PLAN[1]))
        comes_back "${names[$seat]}" "$seat" "$done_shots"
        # The aim held until the other window shows it, near the middle of
        # the line from the piece to the aim point.
        place_windows
        answer_all_boxes
        mx=$(( (${PLAN[12]%.*} + ${PLAN[5]%.*}) / 30 )) my=$(( (${PLAN[13]%.*} + ${PLAN[6]%.*}) / 30 ))
        press_aim "$shooter" "${PLAN[5]}" "${PLAN[6]}" "${PLAN[12]}" "${PLAN[13]}"
        wait_until "${names[$seat]}'s window to show $shooter's aim" 60 aim_shown_in "${names[$seat]}" $((mx - 12)) $((my - 12)) 24 24
        shot "$shooter-aims-at-${names[$seat]}-s"
        release_until_charging "$shooter" "${PLAN[5]}" "${PLAN[6]}" "${PLAN[12]}" "${PLAN[13]}"
        click_go_after "$shooter" "$intended"
    else
        shoot "$shooter" "${PLAN[5]}" "${PLAN[6]}" "${PLAN[12]}" "${PLAN[13]}" "$intended"
    fi
    done_shots=$((done_shots + 1))
    wait_until "shot $done_shots judged by both" 120 judged_answering "$done_shots"
    echo "   shot $done_shots: $shooter aimed ${PLAN[5]} ${PLAN[6]}, $intended ticks (the shot before: ${PLAN[10]}; overshoot $OVERSHOOT, $((SECONDS - began)) s)"
    [ $((done_shots % 10)) != 0 ] || shot "shot-$done_shots"
done
grep -q "WON" "$TMP/Ann/boxes.txt" "$TMP/Bob/boxes.txt" || fail "the game ended with no winner's message"
shot "won"

step "the same final state at both programs and the server"
ann=$(last_shot_line Ann) bob=$(last_shot_line Bob)
echo "   Ann: $ann   Bob: $bob"
[ "$ann" = "$bob" ] || fail "the programs end differently"
case "$ann" in *same) ;; *) fail "the game here differed from the server's: $ann" ;; esac
server_hash=$(python3 -c '
import json, sys
r = json.load(open(sys.argv[1])); e = r["record"]["entries"]
print(len(e), e[-1]["hash"])' "$(room_file)")
[ "shot $server_hash same" = "$ann" ] || fail "the server's game ends at $server_hash, the programs' at $ann"
stop_players

step "the server killed mid-game: both programs say so and play on"
kill -9 "$SERVER_PID"
wait "$SERVER_PID" 2>/dev/null || true
open_room
# The server dies while both programs wait for the answer to the game's
# first box; once what is open is answered, each program tells that the
# server is gone.
kill -9 "$SERVER_PID"
wait "$SERVER_PID" 2>/dev/null || true
told_lost() {  # player: the box has come; until then, what is open is answered
    grep -q "connection to the server was lost" "$TMP/$1/boxes.txt" || { answer_boxes "$1"; false; }
}
for p in Ann Bob; do
    wait_until "$p's box" 60 told_lost "$p"
done
shot "server-gone"
answer_all_boxes
# Every seat is Ann's now: the first shot is played here and her program
# keeps the game it leaves.
plan_after 0 || fail "no shot planned in the new room"
kept=$(md5sum <"$TMP/Ann/data/capzel/autosave.CSG")
shoot Ann "${PLAN[5]}" "${PLAN[6]}" "${PLAN[12]}" "${PLAN[13]}" "${PLAN[8]}"
kept_again() { [ "$(md5sum <"$TMP/Ann/data/capzel/autosave.CSG")" != "$kept" ]; }
wait_until "the game to go on at Ann's" 60 kept_again
shot "hot-seat"
answer_boxes Ann
for p in Ann Bob; do kill -0 "$(pid_of "$p")" 2>/dev/null || fail "$p's program is gone"; done
expect_clean_log
echo "online play under Xvfb: all checks passed"
