#!/usr/bin/env bash
# The layers of the sources: no two modules (a header and its .cpp as one)
# and no two folders include each other in a circle, the core (model,
# engine, rules, match, controls, players, records, platform, session,
# protocol, server) includes no Qt header, and the network code no window.
set -euo pipefail
cd "$(dirname "$0")/../.."
python3 - <<'PY'
import pathlib, re, sys
src = pathlib.Path("src")
files = {str(p.relative_to(src)): p for p in src.rglob("*") if p.suffix in (".h", ".cpp")}
edges = {f: {m for m in re.findall(r'#include "([^"]+)"', p.read_text()) if m in files} for f, p in files.items()}
module = lambda f: f.rsplit(".", 1)[0]
modules = {}
for f, targets in edges.items():
    modules.setdefault(module(f), set()).update(module(t) for t in targets if module(t) != module(f))
folder = lambda f: str(pathlib.Path(f).parent)
folders = {}
for f, targets in edges.items():
    folders.setdefault(folder(f), set()).update(folder(t) for t in targets if folder(t) != folder(f))

def cycle(graph):
    state, stack = {}, []
    def visit(n):
        state[n] = 1; stack.append(n)
        for m in sorted(graph.get(n, ())):
            if state.get(m) == 1: return stack[stack.index(m):] + [m]
            if m not in state and (c := visit(m)): return c
        state[n] = 2; stack.pop()
    for n in sorted(graph):
        if n not in state and (c := visit(n)): return c

failed = False
for what, graph in (("modules", modules), ("folders", folders)):
    if c := cycle(graph):
        print(f"{what} include each other in a circle: " + " -> ".join(c)); failed = True
core = ("model", "engine", "rules", "match", "controls", "players", "records", "platform", "session", "protocol", "server")
for f, p in files.items():
    if f.split("/")[0] in core and re.search(r'#include <Q', p.read_text()):
        print(f"the core file {f} includes a Qt header"); failed = True
# The online server's network code runs without windows (capzel-server).
for f, targets in edges.items():
    if f.split("/")[0] == "network" and any(t.split("/")[0] in ("ui", "app") for t in targets):
        print(f"the network file {f} includes a window's header"); failed = True
sys.exit(1 if failed else 0)
PY
echo "include layers: 1 passed, 0 failed"
