#!/usr/bin/env bash
# The page as capzel-server serves it over HTTP and HTTPS, and its answers to bad input in Chromium.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"
web_run "${1:-}" web_pages.py web-pages
