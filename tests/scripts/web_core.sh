#!/usr/bin/env bash
# The page's WebAssembly core (tools/build-web.sh, into <build>/web) against this build's capzel-sim
# under node (web_core.cjs): every committed game record, to the bit.
set -u
source "$(dirname "$0")/lib/common.sh"
sim_setup "$1"
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "$bin/.." && pwd)"
needs emcmake node
[ -x "$sim" ] || { fail "no capzel-sim in $bin"; finish web_core; }

bash "$root/tools/build-web.sh" "$build" >"$work/build.log" 2>&1 ||
    { tail -20 "$work/build.log" >&2; fail "the page's core does not build"; finish web_core; }

records=("$root"/tests/data/records/*.json)
node "$(dirname "$0")/web_core.cjs" "$build/web" "$sim" "${records[@]}" || fail "the page's core differs from this build"
finish web_core
