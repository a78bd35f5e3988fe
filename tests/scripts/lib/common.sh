# The set-up the shell tests share, sourced by tests/scripts/*.sh.

# needs TOOL...: fails unless each is installed.
needs() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (make deps installs it)" >&2; exit 1; }
    done
}
# sim_setup <bin-dir>: $bin, $sim the simulator, $work a folder removed at exit with the servers
# serve started; fail MESSAGE counts a failure and goes on; finish NAME exits with the verdict.
sim_setup() {
    bin="${1:?usage: $0 <bin-dir>}"
    sim="$bin/capzel-sim"
    work="$(mktemp -d)"
    pids=()
    trap '[ ${#pids[@]} = 0 ] || kill "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT
    failures=0
}
# serve NAME ARGS...: capzel-server on a free port, output in $work/NAME.out; once it says it
# listens (or ended, or a minute passed) its port in $port, its process id last in $pids.
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
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
finish() { [ "$failures" = 0 ] && echo "$1: all checks passed"; exit $((failures > 0)); }

# in_xvfb <bin-dir> TOOL...: the calling script again in a virtual X server of its own (-noreset:
# else it resets when its last client leaves, and a game started then cannot connect).
in_xvfb() {
    [ "${CAPZEL_IN_XVFB:-}" = 1 ] && return 0
    local bin="$1"; shift
    needs xvfb-run "$@"
    export CAPZEL_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 ${XVFB_SCREEN:-1280x1024}x24 -nolisten tcp -noreset" bash "$0" "$bin"
}

# game_sandbox <bin-dir>: the game and its songs in a folder of their own (high scores go there),
# a fresh home, all removed at exit; every box the game shows logged to $JOURNAL.
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
    export LSAN_OPTIONS="suppressions=$e2e/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    # shellcheck source=../../e2e/e2e_lib.sh
    source "$e2e/e2e_lib.sh"
}

# e2e_setup <bin-dir> <name> [TOOL...]: Xvfb, the sandbox, screenshots in <build>/e2e-artifacts/<name>.
e2e_setup() {
    [ -d "${1:-}" ] || { echo "usage: $0 <bin-dir>" >&2; exit 2; }
    local bin; bin="$(cd "$1" && pwd)"
    [ -x "$bin/xclose" ] && [ -x "$bin/xpixels" ] || { echo "missing $bin/xclose or xpixels (needs libx11-dev)" >&2; exit 1; }
    in_xvfb "$bin" xdotool import convert "${@:3}"
    game_sandbox "$bin"
    ARTIFACTS="$(cd "$bin/.." && pwd)/e2e-artifacts/$2"
    rm -rf "$ARTIFACTS"
    mkdir -p "$ARTIFACTS"
}

# start_wm: openbox, once it names itself on the root window (needs openbox xwininfo xprop).
start_wm() {
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    wait_until "the window manager" 60 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'"
}
# frame_of WINDOW: its outermost ancestor below the root (nothing for none: xwininfo would wait
# for a click). edges WINDOW: "left top right bottom" on the screen, right and bottom exclusive.
frame_of() {
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
# web_run <bin-dir> SCRIPT NAME: tests/web/SCRIPT against the page built in <build>/web (make web),
# screenshots in <build>/e2e-artifacts/NAME; a machine without make deps fails, never skips.
web_run() {
    local bin build
    bin="$(cd "${1:?usage: $0 <bin-dir>}" && pwd)"
    build="$(cd "$bin/.." && pwd)"
    needs emcmake node chromium chromedriver xvfb-run xdotool openssl
    /usr/bin/python3 -c 'import selenium' 2>/dev/null || needs python3-selenium
    [ -f "$build/web/capzel.wasm" ] && [ -f "$build/web/index.html" ] ||
        { echo "FAIL: no page in $build/web (make web builds it)" >&2; exit 1; }
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/../../web/$2" "$bin" "$build/web" "$build/e2e-artifacts/$3"
}
