#!/usr/bin/env bash
# Starts the demo dashboard on a virtual screen, waits, saves a screenshot and closes it the
# normal way (SIGTERM closes the window, which saves settings and project).
# Usage: scripts/screenshot.sh [output.png] [seconds] [n2k]
# SHOT_KEYS="n n" presses those keys (xdotool names) in the window before the shot.
set -euo pipefail
out=${1:-}
wait_s=${2:-5}
DEMO_KIND=unit
[ "${3:-}" = n2k ] && DEMO_KIND=n2k
source "$(dirname "$0")/demo-env.sh"
out=${out:-$top/build/screenshot.png}

# A virtual screen of its own: -displayfd gives its number once it is ready.
display_file=$(mktemp)
Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp > "$display_file" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb $PELOR_SIM_PID 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.05; done
display=":$(head -1 "$display_file")"
DISPLAY=$display "$PELOR_BIN" &
app=$!
sleep "$wait_s"
if [ -n "${SHOT_KEYS:-}" ]; then
    window=$(DISPLAY=$display xdotool search --onlyvisible --pid $app | tail -1)
    DISPLAY=$display xdotool windowfocus --sync "$window"
    # Word splitting is wanted: one argument per key.
    # shellcheck disable=SC2086
    DISPLAY=$display xdotool key --delay 300 $SHOT_KEYS
    sleep 2
fi
DISPLAY=$display import -window root "$out"
kill -TERM $app 2>/dev/null || true
wait $app 2>/dev/null || true
echo "screenshot: $out"
