#!/usr/bin/env bash
# Start-up time, resident memory and idle CPU of the game under a virtual X
# server. A measurement, not a test: the figures go to doc/performance.md.
#   bash tools/startup-footprint.sh <bin-dir> [runs]
set -euo pipefail
bin="$(cd "${1:?usage: startup-footprint.sh <bin-dir> [runs]}" && pwd)"
runs="${2:-3}"
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
home="$(mktemp -d)"
trap 'rm -rf "$home" "$XDG_RUNTIME_DIR"' EXIT

measure() {
    # Time from the start of the process to the main window being mapped.
    local t0 t1 pid wid
    t0=$(date +%s%N)
    HOME="$home" "$bin/capzel" >/dev/null 2>&1 &
    pid=$!
    # Polled every 10 ms: xdotool's own --sync looks only every half second.
    until wid=$(xdotool search --onlyvisible --pid "$pid" --name '^Capzel$' 2>/dev/null | head -n1) && [ -n "$wid" ]; do
        sleep 0.01
    done
    t1=$(date +%s%N)
    sleep 3
    local rss_kb ticks0 ticks1 hz
    rss_kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
    hz=$(getconf CLK_TCK)
    ticks0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep 10
    ticks1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    printf 'shown after %d ms, resident %d MiB after 3 s, CPU in 10 idle s: %s s (window %s)\n' \
        $(( (t1 - t0) / 1000000 )) $(( rss_kb / 1024 )) \
        "$(awk -v d=$((ticks1 - ticks0)) -v hz="$hz" 'BEGIN {printf "%.2f", d / hz}')" "$wid"
}
if [ "${CAPZEL_INSIDE_XVFB:-}" = 1 ]; then
    for _ in $(seq "$runs"); do measure; done
    exit 0
fi
CAPZEL_INSIDE_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$bin" "$runs"
