#!/usr/bin/env bash
# Builds Pelor, starts the unit simulator on a loopback TCP port and the dashboard connected
# to it with the demo project (a private copy under build/, with settings of its own, so a
# user's real settings are never touched). Closing the dashboard stops the simulator.
#   bash scripts/run-demo.sh        the unit's own sentences (examples/demo)
#   bash scripts/run-demo.sh n2k    NMEA 2000 adapter frames (examples/demo-n2k)
set -euo pipefail
case "${1:-}" in
    "") DEMO_KIND=unit ;;
    n2k) DEMO_KIND=n2k ;;
    *) echo "usage: bash scripts/run-demo.sh [n2k]" >&2; exit 2 ;;
esac
source "$(dirname "$0")/demo-env.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running the dashboard under Xvfb (virtual screen)."
    xvfb-run -a -s "-screen 0 1280x1024x24" "$PELOR_BIN"
else
    "$PELOR_BIN"
fi
