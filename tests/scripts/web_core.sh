#!/usr/bin/env bash
# The page's WebAssembly core (built by tools/build-web.sh into <build>/web,
# incrementally) replays every committed game record under node with every
# hash and the final game equal to this build's capzel-sim, and its client
# plays each record's shots, told as a server tells them, to the record's
# hashes (tests/scripts/web_core.cjs). Without committed records in
# tests/data/records, a few self-played games stand in.
# Without Emscripten or node it fails and says so: `make test` installs
# them first (make deps).
set -u
source "$(dirname "$0")/lib/common.sh"
sim_setup "$1"
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "$bin/.." && pwd)"
for tool in emcmake node; do
    command -v "$tool" >/dev/null || { echo "FAIL: web_core: $tool is not installed (make deps installs it)" >&2; exit 1; }
done
[ -x "$sim" ] || { fail "no capzel-sim in $bin"; finish web_core; }

bash "$root/tools/build-web.sh" "$build" >"$work/build.log" 2>&1 ||
    { tail -20 "$work/build.log" >&2; fail "the page's core does not build"; finish web_core; }

records=("$root"/tests/data/records/*.json)
if [ ! -e "${records[0]}" ]; then
    mkdir -p "$work/records"
    echo "{\"players\": [\"strong\", \"novice\", \"club\"], \"games\": 2, \"seed\": 19, \"threads\": 1, \"max_shots\": 120, \"records\": \"$work/records\"}" |
        "$sim" --selfplay >/dev/null || fail "self-play failed"
    echo '{"players": ["expert", "random"], "games": 1, "seed": 7, "threads": 1, "max_shots": 80, "walls_on": false, "records": "'"$work/records2"'"}' |
        "$sim" --selfplay >/dev/null || fail "self-play without walls failed"
    records=("$work"/records/*.json "$work"/records2/*.json)
fi
node "$(dirname "$0")/web_core.cjs" "$build/web" "$sim" "${records[@]}" || fail "the page's core differs from this build"
finish web_core
