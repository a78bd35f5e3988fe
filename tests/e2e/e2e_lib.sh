# Helpers for the end-to-end tests: start the game in a virtual X server,
# find its windows, answer its boxes, press keys and the mouse, take
# screenshots and read their pixels. Sourced by the real-window tests; they need
# xdotool and ImageMagick, and `xclose` next to the game.
#
# Every box the game shows is appended to $JOURNAL (CAPZEL_MESSAGE_LOG), one
# line each: "message: text", "question: text" or "input: prompt". $SEEN
# counts the lines already dealt with.

# Main window layout: the menu bar sits above the client area. The main
# window is at least as wide as the field (a strip beside it, or a larger
# size, make it wider); every box is narrower.
MENU_BAR=19
MAIN_W=730

fail() {
    echo "FAIL: $*" >&2
    shot "failure" || true
    if [ -f "$JOURNAL" ]; then echo "--- boxes shown:" >&2; cat "$JOURNAL" >&2; fi
    if [ -f "$GAME_LOG" ]; then echo "--- game output:" >&2; tail -n 40 "$GAME_LOG" >&2; fi
    exit 1
}

step() { echo "== $*"; }

# Polls a command until it succeeds or $2 seconds pass.
wait_until() {
    local what="$1" limit="$2"; shift 2
    local deadline=$(( $(date +%s) + limit ))
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "timed out after ${limit} s waiting for $what"
        sleep 0.1
    done
}

# --- the game process ------------------------------------------------------

# The running game kept on disk between two runs of the program.
autosave_file() { echo "$XDG_DATA_HOME/capzel/autosave.CSG"; }

# Starts the game from the program folder and waits for its main window.
# The game kept by an earlier run is removed first, unless KEEP_AUTOSAVE=1.
start_game() {
    [ "${KEEP_AUTOSAVE:-0}" = 1 ] || rm -f "$(autosave_file)"
    : > "$JOURNAL"
    SEEN=0
    (cd "$WORK" && exec "$PROG/capzel") >>"$GAME_LOG" 2>&1 &
    GAME_PID=$!
    wait_until "the main window" 30 main_window_shown
}

game_alive() { kill -0 "$GAME_PID" 2>/dev/null; }

# Waits for the game to end by itself and checks it ended cleanly.
expect_game_ends() {
    wait_until "the game to end" 30 sh -c "! kill -0 $GAME_PID 2>/dev/null"
    local rc=0
    wait "$GAME_PID" || rc=$?
    [ "$rc" = 0 ] || fail "the game ended with exit status $rc"
    expect_clean_log
}

stop_game() {
    if game_alive; then kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true; fi
    expect_clean_log
}

# No crash report, sanitizer finding or Qt complaint of a deleted object.
expect_clean_log() {
    if grep -E "ERROR: AddressSanitizer|runtime error:|Segmentation|Aborted|QObject::|deleted while" "$GAME_LOG" >&2; then
        fail "the game reported an error"
    fi
}

# --- windows ----------------------------------------------------------------

visible_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }

# 0 for a window that has gone meanwhile.
width_of() {
    local w
    w=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null | sed -n 's/^WIDTH=//p')
    echo "${w:-0}"
}

# The main window: the "Capzel" window at least as wide as the field.
main_window() {
    local w
    for w in $(visible_named Capzel); do
        [ "$(width_of "$w")" -ge "$MAIN_W" ] && { echo "$w"; return 0; }
    done
    return 1
}
main_window_shown() { main_window >/dev/null; }

# A box of the game: a "Capzel" window that is not the main window.
box_window() {
    local w
    for w in $(visible_named Capzel); do
        [ "$(width_of "$w")" -lt "$MAIN_W" ] && { echo "$w"; return 0; }
    done
    return 1
}

window_shown() { [ -n "$(visible_named "$1")" ]; }
window_gone() { [ -z "$(visible_named "$1")" ]; }

# Screen position of the main window's client area ("X Y").
client_origin() {
    local w; w=$(main_window) || fail "no main window"
    eval "$(xdotool getwindowgeometry --shell "$w")"
    echo "$X $((Y + MENU_BAR))"
}

# Presses keys in the window of the given id.
keys_to() {
    local w="$1"; shift
    xdotool windowfocus --sync "$w" 2>/dev/null || xdotool windowfocus "$w"
    xdotool key --delay 40 "$@"
}

keys_to_main() { keys_to "$(main_window)" "$@"; }

# Opens a menu item of the main window by its access keys, once the menu
# shows (one more window of the game's).
game_windows() { xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null | wc -l; }
more_windows_than() { [ "$(game_windows)" -gt "$1" ]; }
menu() {
    local before
    before=$(game_windows)
    keys_to_main "alt+$1"
    wait_until "the menu to open" 30 more_windows_than "$before"
    xdotool key "$2"
}

# Closes a window the way a window manager's close button does.
close_window() { "$XCLOSE" "$1"; }

# Types a path into the file name field of a file dialog and accepts it.
file_dialog() {
    wait_until "the $1 dialog" 10 window_shown "$1"
    keys_to "$(visible_named "$1" | head -n1)" ctrl+a
    xdotool type --delay 10 "$2"
    xdotool key Return
    wait_until "the $1 dialog to close" 10 window_gone "$1"
}

# --- the game's boxes ---------------------------------------------------------

journal_lines() { wc -l < "$JOURNAL"; }
box_appeared() { [ "$(journal_lines)" -gt "$SEEN" ] && box_window >/dev/null; }

# Waits for the next box, checks its line against an extended regular
# expression, then answers it with the given keys (Return, or y / n on a
# question).
expect_box() {
    local pattern="$1" answer="$2" limit="${BOX_WAIT:-60}"
    wait_until "a box matching '$pattern'" "$limit" box_appeared
    SEEN=$((SEEN + 1))
    local line; line=$(sed -n "${SEEN}p" "$JOURNAL")
    echo "   box: $line"
    echo "$line" | grep -Eq -- "$pattern" || fail "expected a box matching '$pattern', got '$line'"
    local w; w=$(box_window)
    xdotool windowfocus --sync "$w" 2>/dev/null || true
    xdotool key "$answer"
    wait_until "the box to close" 10 box_closed "$w"
}
box_closed() { ! visible_named Capzel | grep -qx "$1"; }

# Answers message boxes with Return until one matches the pattern.
answer_until() {
    local pattern="$1" line
    while :; do
        expect_box '' Return
        line=$(sed -n "${SEEN}p" "$JOURNAL")
        echo "$line" | grep -Eq -- "$pattern" && return 0
    done
}

no_box_waiting() { [ "$(journal_lines)" -eq "$SEEN" ]; }

# --- the new-game dialog ---------------------------------------------------------

# Starts a game from File > New with the given player names.
new_game() {
    menu f n
    wait_until "the New Game dialog" 10 window_shown "New Game"
    local n=$# i=1 name
    click_in "New Game" 20 $((46 + 32 * (n - 1)))
    for name in "$@"; do
        click_in "New Game" 200 $((49 + 32 * (i - 1)))
        xdotool key ctrl+a
        xdotool type --delay 20 "$name"
        i=$((i + 1))
    done
    click_in "New Game" 568 64
    wait_until "the main window after Play" 20 main_window_shown
}

# --- mouse ------------------------------------------------------------------------

# Drags with the left button from one client point to another and lets go.
# The events reach the game in the order they are sent: nothing waits
# between them.
drag() {
    local ox oy; read -r ox oy < <(client_origin)
    xdotool mousemove $((ox + $1)) $((oy + $2)) mousedown 1 mousemove $((ox + ($1 + $3) / 2)) $((oy + ($2 + $4) / 2)) \
        mousemove $((ox + $3)) $((oy + $4)) mouseup 1
}

# The "Go" button, above the power bar (field twips 50, 2280, 495 x 435):
# light while the bar charges, where the field is black. It is clicked once
# the window shows it (a click before then would reach the field), and the
# shot is under way once it has gone.
GO_BUTTON=(6 155 26 5 179 255 179 255 179 255)
go_shown() { [ "$(pixels_now "${GO_BUTTON[@]}")" -ge 120 ]; }
go_gone() { [ "$(pixels_now "${GO_BUTTON[@]}")" = 0 ]; }
click_go() {
    local ox oy; read -r ox oy < <(client_origin)
    wait_until "the Go button" 60 go_shown
    xdotool mousemove $((ox + 19)) $((oy + 166)) click 1
    wait_until "Go to take the click" 60 go_gone
}

# Clicks a point of a window of the given title (window coordinates).
click_in() {
    local w; w=$(visible_named "$1" | head -n1)
    [ -n "$w" ] || fail "no window '$1'"
    xdotool mousemove --window "$w" "$2" "$3" click 1
}

# --- screenshots and pixels ---------------------------------------------------------

# How many pixels of a rectangle (x y w h) of the client area, as the
# screen shows it now, have their red, green and blue parts within ranges
# (0 to 255): what a wait reads the window's state from (xpixels).
pixels_now() {  # x y w h red-min red-max green-min green-max blue-min blue-max
    local ox oy; read -r ox oy < <(client_origin)
    "$BIN/xpixels" $((ox + $1)) $((oy + $2)) "$3" "$4" "${@:5}"
}
# The power bar (blue) filling, and gone.
BAR=(3 190 30 430 0 63 0 63 205 255)
bar_filling() { [ "$(pixels_now "${BAR[@]}")" -ge 100 ]; }
bar_gone() { [ "$(pixels_now "${BAR[@]}")" -le 5 ]; }

# Saves the screen as <artifacts>/<nn>-<name>.png and remembers it as $SHOT.
shot() {
    SHOT_NO=$((SHOT_NO + 1))
    SHOT="$ARTIFACTS/$(printf '%02d' "$SHOT_NO")-$1.png"
    import -window root "$SHOT"
}

# How many pixels of a rectangle (x y w h) of the main window's client area
# in the last screenshot satisfy an ImageMagick -fx condition on r, g, b.
client_pixels() {
    local ox oy; read -r ox oy < <(client_origin)
    convert "$SHOT" -crop "$3x$4+$((ox + $1))+$((oy + $2))" +repage -fx "$5" -format '%[fx:round(mean*w*h)]' info:
}
# Checks that a client point of the last screenshot matches a condition.
expect_colour() {
    [ "$(client_pixels "$1" "$2" 1 1 "$3")" = 1 ] || fail "$4: not $3 at client ($1, $2)"
}
REDDISH='r>0.8 && g<0.25 && b<0.25'
WHITISH='r>0.8 && g>0.8 && b>0.8'
BLUISH='b>0.8 && r<0.25 && g<0.25'
BLACKISH='r<0.12 && g<0.12 && b<0.12'
