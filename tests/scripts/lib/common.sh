# The set-up the shell tests share, sourced by tests/scripts/*.sh.

# --- capzel-sim runs ----------------------------------------------------------
# sim_setup <bin-dir>: $bin the programs, $sim the simulator, $work a fresh
# folder removed at exit with the servers started by serve; fail MESSAGE
# counts a failure and the run goes on; finish NAME prints the verdict and
# exits with it.
sim_setup() {
    bin="${1:?usage: $0 <bin-dir>}"
    sim="$bin/capzel-sim"
    work="$(mktemp -d)"
    pids=()
    trap '[ ${#pids[@]} = 0 ] || kill "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT
    failures=0
}
# serve NAME ARGS...: a capzel-server on a free port with ARGS, its output in
# $work/NAME.out; once it says it listens (or has ended, or a minute has
# passed) its port is in $port, its process id last in $pids.
serve() {
    local name="$1" deadline=$(( $(date +%s) + 60 ))
    shift
    "$bin/capzel-server" --port 0 "$@" >"$work/$name.out" 2>&1 &
    pids+=($!)
    until grep -q listening "$work/$name.out" || ! kill -0 "${pids[-1]}" 2>/dev/null; do
        [ "$(date +%s)" -lt "$deadline" ] || break
        sleep 0.1
    done
    port=$(sed -n 's/.*listening on ws:\/\/0.0.0.0:\([0-9]*\).*/\1/p' "$work/$name.out")
}
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
finish() {
    [ "$failures" = 0 ] && echo "$1: all checks passed"
    exit $((failures > 0))
}

# --- the game under a virtual X server ----------------------------------------
# in_xvfb <bin-dir> TOOL...: checks the tools, then runs the calling script again in a virtual X
# server of its own (-noreset: else the server resets when its last client leaves, and a game
# started in that moment cannot connect).
in_xvfb() {
    [ "${CAPZEL_IN_XVFB:-}" = 1 ] && return 0
    local bin="$1" tool
    shift
    for tool in xvfb-run "$@"; do
        command -v "$tool" >/dev/null || { echo "missing $tool (make test installs it)" >&2; exit 1; }
    done
    export CAPZEL_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 ${XVFB_SCREEN:-1280x1024}x24 -nolisten tcp -noreset" bash "$0" "$bin"
}

# game_sandbox <bin-dir>: a program folder of our own (the game keeps its high scores there) with
# the game and its songs, a fresh home and a working folder, all removed at exit with the game and
# $WM_PID; every box the game shows logged to $JOURNAL. Then the end-to-end helpers.
game_sandbox() {
    BIN="$1"
    TMP="$(mktemp -d)"
    trap 'stop_game >/dev/null 2>&1 || true; [ -z "${WM_PID:-}" ] || kill "$WM_PID" 2>/dev/null; rm -rf "$TMP"' EXIT
    PROG="$TMP/prog" WORK="$TMP/work" ARTIFACTS="$TMP/shots"
    mkdir -p "$PROG" "$WORK" "$ARTIFACTS" "$TMP/home" "$TMP/runtime"
    chmod 700 "$TMP/runtime"
    cp "$BIN/capzel" "$PROG/"
    [ -d "$BIN/media" ] && cp -r "$BIN/media" "$PROG/"
    export HOME="$TMP/home" XDG_DATA_HOME="$TMP/home/.local/share" XDG_RUNTIME_DIR="$TMP/runtime"
    export CAPZEL_MESSAGE_LOG="$TMP/boxes.txt"
    JOURNAL="$CAPZEL_MESSAGE_LOG" GAME_LOG="$TMP/game.log" XCLOSE="$BIN/xclose" SHOT_NO=0
    : >"$GAME_LOG"
    unset QT_QPA_PLATFORM
    local e2e
    e2e="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../e2e" && pwd)"
    # A sanitizer build: leaks of the system's libraries are not ours.
    export LSAN_OPTIONS="suppressions=$e2e/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    # shellcheck source=../../e2e/e2e_lib.sh
    source "$e2e/e2e_lib.sh"
}

# e2e_setup <bin-dir> <name> [TOOL...]: a real-window test's start: the tools, a virtual X server
# of its own, the game's sandbox and a fresh screenshot folder <build>/e2e-artifacts/<name>.
e2e_setup() {
    [ -d "${1:-}" ] || { echo "usage: $0 <bin-dir>" >&2; exit 2; }
    local bin
    bin="$(cd "$1" && pwd)"
    [ -x "$bin/xclose" ] && [ -x "$bin/xpixels" ] || { echo "missing $bin/xclose or xpixels (needs libx11-dev)" >&2; exit 1; }
    in_xvfb "$bin" xdotool import convert "${@:3}"
    game_sandbox "$bin"
    ARTIFACTS="$(cd "$bin/.." && pwd)/e2e-artifacts/$2"
    rm -rf "$ARTIFACTS"
    mkdir -p "$ARTIFACTS"
}

# --- windows under a window manager -------------------------------------------
# start_wm: openbox, once it names itself on the root window (needs in_xvfb's openbox xwininfo xprop).
start_wm() {
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    wait_until "the window manager" 60 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'"
}
# frame_of WINDOW: the frame a window manager put around it, its outermost ancestor below the
# root. edges WINDOW: "left top right bottom" on the screen, right and bottom exclusive.
frame_of() {  # nothing for a window gone (xwininfo with no window waits for a click)
    local w=$1 parent
    [ -n "$w" ] || return 1
    while parent=$(xwininfo -id "$w" -tree 2>/dev/null | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p') &&
        [ -n "$parent" ] && ! xwininfo -id "$parent" | grep -q '(the root window)'; do
        w=$parent
    done
    echo "$w"
}
edges() {
    [ -n "$1" ] || return 1
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, x + w, y + h}'
}
