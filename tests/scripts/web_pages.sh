#!/usr/bin/env bash
# The page as capzel-server serves it over HTTP and HTTPS, and the page's answers to bad input in
# headless Chromium (tests/web/web_pages.py). Screenshots in <build>/e2e-artifacts/web-pages.
#   bash tests/scripts/web_pages.sh <bin-dir>
set -euo pipefail
source "$(dirname "$0")/lib/web.sh"
web_run "${1:-}" web_pages.py web-pages
