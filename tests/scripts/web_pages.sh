#!/usr/bin/env bash
# The page as capzel-server serves it over HTTP (the page's files only, with
# their types and policy; `..` and the rest refused) and the page's answers
# to bad input in headless Chromium (tests/web/web_pages.py). Screenshots in
# <build>/e2e-artifacts/web-pages.
#   bash tests/scripts/web_pages.sh <bin-dir>
set -euo pipefail
bin="$(cd "${1:?usage: $0 <bin-dir>}" && pwd)"
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/scripts/lib/web.sh"
web_setup "$bin"
/usr/bin/python3 "$root/tests/web/web_pages.py" "$bin" "$web" "$build/e2e-artifacts/web-pages"
