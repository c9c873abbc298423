#!/usr/bin/env bash
# Starts the demo dashboard on a virtual screen, waits, saves a screenshot and closes it.
# Usage: scripts/screenshot.sh [output.png] [seconds]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build/screenshot.png}
wait_s=${2:-5}
cd "$top"
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target pelor >/dev/null

config="$top/build/demo-config"
mkdir -p "$config/Ferrulon"
printf '[General]\nProjectFilePath=%s\n' "$top/examples/demo/Demo.cdp" > "$config/Ferrulon/pelor.conf"

display=:97
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display XDG_CONFIG_HOME="$config" "$top/build/release/src/ui/pelor" &
app=$!
sleep "$wait_s"
DISPLAY=$display import -window root "$out"
kill -TERM $app 2>/dev/null || true
wait $app 2>/dev/null || true
echo "screenshot: $out"
