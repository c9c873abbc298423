#!/usr/bin/env bash
# Builds Pelor and starts the dashboard with the demo project (a private copy under build/,
# with settings of its own, so a user's real settings are never touched).
set -euo pipefail
source "$(dirname "$0")/demo-env.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running the dashboard under Xvfb (virtual screen)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$PELOR_BIN"
fi
exec "$PELOR_BIN"
