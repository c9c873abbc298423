#!/usr/bin/env bash
# Starts the demo dashboard on a virtual screen, waits, saves a screenshot and closes it the
# normal way (SIGTERM closes the window, which saves settings and project).
# Usage: scripts/screenshot.sh [output.png] [seconds]
set -euo pipefail
out=${1:-}
wait_s=${2:-5}
source "$(dirname "$0")/demo-env.sh"
out=${out:-$top/build/screenshot.png}

display=:97
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb $PELOR_SIM_PID 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display "$PELOR_BIN" &
app=$!
sleep "$wait_s"
DISPLAY=$display import -window root "$out"
kill -TERM $app 2>/dev/null || true
wait $app 2>/dev/null || true
echo "screenshot: $out"
