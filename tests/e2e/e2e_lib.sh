# The real-window tests' helpers (xdotool, ImageMagick, xclose, xpixels). Every box the game shows
# is a line of $JOURNAL: "message: text", "question: text" or "input: prompt"; $SEEN of them dealt with.
MENU_BAR=19  # above the client area
MAIN_W=730   # the main window is at least as wide as the field, every box narrower

fail() {
    echo "FAIL: $*" >&2
    shot "failure" || true
    if [ -f "$JOURNAL" ]; then echo "--- boxes shown:" >&2; cat "$JOURNAL" >&2; fi
    if [ -f "$GAME_LOG" ]; then echo "--- game output:" >&2; tail -n 40 "$GAME_LOG" >&2; fi
    exit 1
}
step() { echo "== $*"; }
# wait_until WHAT SECONDS COMMAND...: asks the command until it succeeds.
wait_until() {
    local what="$1" limit="$2"; shift 2
    local deadline=$(( $(date +%s) + limit ))
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "timed out after ${limit} s waiting for $what"
        sleep 0.1
    done
}

autosave_file() { echo "$XDG_DATA_HOME/capzel/autosave.CSG"; }
# The game started, its main window shown; the game kept before is removed unless KEEP_AUTOSAVE=1.
start_game() {
    [ "${KEEP_AUTOSAVE:-0}" = 1 ] || rm -f "$(autosave_file)"
    : > "$JOURNAL"
    SEEN=0
    (cd "$WORK" && exec "$PROG/capzel") >>"$GAME_LOG" 2>&1 &
    GAME_PID=$!
    wait_until "the main window" 30 main_window_shown
}
game_alive() { [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null; }
expect_game_ends() {  # by itself, cleanly
    wait_until "the game to end" 30 sh -c "! kill -0 $GAME_PID 2>/dev/null"
    local rc=0
    wait "$GAME_PID" || rc=$?
    [ "$rc" = 0 ] || fail "the game ended with exit status $rc"
    expect_clean_log
}
stop_game() { if game_alive; then kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true; fi; expect_clean_log; }
expect_clean_log() {  # no crash, sanitizer finding or Qt complaint of a deleted object
    ! grep -E "ERROR: AddressSanitizer|runtime error:|Segmentation|Aborted|QObject::|deleted while" "$GAME_LOG" >&2 ||
        fail "the game reported an error"
}

visible_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }
width_of() { local w; w=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null | sed -n 's/^WIDTH=//p'); echo "${w:-0}"; }
capzel_window() {  # 1: the main window (a "Capzel" window as wide as the field), 0: a box
    local w
    for w in $(visible_named Capzel); do
        [ $(( $(width_of "$w") >= MAIN_W )) = "$1" ] && { echo "$w"; return 0; }
    done
    return 1
}
# A search that meets a window closing that moment (a box that goes by itself) can come back empty:
# the main window and a named one are looked for again a few times before they count as not there.
main_window() { local k; for k in 1 2 3 4 5; do capzel_window 1 && return 0; done; return 1; }
main_window_shown() { main_window >/dev/null; }
box_window() { capzel_window 0; }
window_shown() { [ -n "$(visible_named "$1")" ]; }
window_gone() { ! window_shown "$1"; }
client_origin() {  # "X Y" of the main window's client area on the screen
    local w; w=$(main_window) || fail "no main window"
    eval "$(xdotool getwindowgeometry --shell "$w")"
    echo "$X $((Y + MENU_BAR))"
}
keys_to() {  # window keys...
    local w="$1"; shift
    xdotool windowfocus --sync "$w" 2>/dev/null || xdotool windowfocus "$w"
    xdotool key --delay 40 "$@"
}
keys_to_main() { keys_to "$(main_window)" "$@"; }
# menu LETTER KEY: a menu item by its access keys, once the menu shows (one more window).
game_windows() { xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null | wc -l; }
more_windows_than() { [ "$(game_windows)" -gt "$1" ]; }
menu() {
    local before; before=$(game_windows)
    keys_to_main "alt+$1"
    wait_until "the menu to open" 30 more_windows_than "$before"
    xdotool key "$2"
}
close_window() { "$XCLOSE" "$1"; }  # as a window manager's close button does
named() {
    local k w
    for k in 1 2 3 4 5; do
        w=$(visible_named "$1" | head -n1)
        [ -z "$w" ] || { echo "$w"; return 0; }
    done
}
file_dialog() {  # TITLE PATH: typed into a file dialog and accepted
    wait_until "the $1 dialog" 10 window_shown "$1"
    keys_to "$(named "$1")" ctrl+a
    xdotool type --delay 10 "$2"
    xdotool key Return
    wait_until "the $1 dialog to close" 10 window_gone "$1"
}
click_in() {  # TITLE X Y (window coordinates)
    local w; w=$(named "$1")
    [ -n "$w" ] || fail "no window '$1'"
    xdotool mousemove --window "$w" "$2" "$3" click 1
}

journal_lines() { wc -l < "$JOURNAL"; }
box_appeared() { [ "$(journal_lines)" -gt "$SEEN" ] && box_window >/dev/null; }
box_closed() { ! visible_named Capzel | grep -qx "$1"; }
no_box_waiting() { [ "$(journal_lines)" -eq "$SEEN" ]; }
next_box() {  # ERE: the next line of the journal, checked
    local line
    SEEN=$((SEEN + 1))
    line=$(sed -n "${SEEN}p" "$JOURNAL")
    echo "   box: $line"
    echo "$line" | grep -Eq -- "$1" || fail "expected a box matching '$1', got '$line'"
}
expect_box() {  # ERE KEY: the next box, its line checked, answered with the key
    local w
    wait_until "a box matching '$1'" "${BOX_WAIT:-60}" box_appeared
    next_box "$1"
    w=$(box_window) || fail "the box '$1' closed before it was answered"
    xdotool windowfocus --sync "$w" 2>/dev/null || true
    xdotool key "$2"
    wait_until "the box to close" 10 box_closed "$w"
}
boxes_until() {  # ERE COMMAND...: the command (taking the next box) until a box matches
    local pattern="$1"; shift
    until "$@" "" && sed -n "${SEEN}p" "$JOURNAL" | grep -Eq -- "$pattern"; do :; done
}
answer_until() { boxes_until "$1" expect_box '' Return; }  # message boxes answered with Return

new_game() {  # NAMES...: New Game with those players, and Play
    menu f n
    wait_until "the New Game dialog" 10 window_shown "New Game"
    local i=0 name
    click_in "New Game" 20 $((46 + 32 * ($# - 1)))
    for name in "$@"; do
        click_in "New Game" 200 $((49 + 32 * i))
        xdotool key ctrl+a
        xdotool type --delay 20 "$name"
        i=$((i + 1))
    done
    click_in "New Game" 568 64
    wait_until "the main window after Play" 20 main_window_shown
}

drag() {  # X0 Y0 X1 Y1: the left button dragged between client points
    local ox oy; read -r ox oy < <(client_origin)
    xdotool mousemove $((ox + $1)) $((oy + $2)) mousedown 1 mousemove $((ox + ($1 + $3) / 2)) $((oy + ($2 + $4) / 2)) \
        mousemove $((ox + $3)) $((oy + $4)) mouseup 1
}
# pixels_now X Y W H R0 R1 G0 G1 B0 B1: how many pixels of a client rectangle on the screen now
# have red, green and blue within the ranges.
pixels_now() {
    local ox oy; read -r ox oy < <(client_origin)
    "$BIN/xpixels" $((ox + $1)) $((oy + $2)) "$3" "$4" "${@:5}"
}
# "Go", light above the bar while it charges: clicked once shown (earlier the click reaches the
# field). The shot is under way once the game has the click: input that follows reaches it after.
GO_BUTTON=(6 155 26 5 179 255 179 255 179 255)
go_shown() { [ "$(pixels_now "${GO_BUTTON[@]}")" -ge 120 ]; }
click_go() {
    local ox oy; read -r ox oy < <(client_origin)
    wait_until "the Go button" 60 go_shown
    xdotool mousemove $((ox + 19)) $((oy + 166)) click 1
}
BAR=(3 190 30 430 0 63 0 63 205 255)  # the power bar, blue
bar_filling() { [ "$(pixels_now "${BAR[@]}")" -ge 100 ]; }
bar_gone() { [ "$(pixels_now "${BAR[@]}")" -le 5 ]; }
shot() {  # NAME: the screen saved as <artifacts>/<nn>-NAME.png, kept in $SHOT
    SHOT_NO=$((SHOT_NO + 1)) && SHOT="$ARTIFACTS/$(printf '%02d' "$SHOT_NO")-$1.png"
    import -window root "$SHOT"
}
# client_pixels X Y W H FX: how many pixels of a client rectangle of the last screenshot meet an
# ImageMagick -fx condition on r, g, b.
client_pixels() {
    local ox oy; read -r ox oy < <(client_origin)
    convert "$SHOT" -crop "$3x$4+$((ox + $1))+$((oy + $2))" +repage -fx "$5" -format '%[fx:round(mean*w*h)]' info:
}
