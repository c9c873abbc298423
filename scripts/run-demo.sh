#!/usr/bin/env bash
# Builds Pelor and starts the dashboard with the demo project. The demo keeps its settings in
# build/demo-config, so a user's own settings are never touched.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target pelor

config="$top/build/demo-config"
mkdir -p "$config/Ferrulon"
cat > "$config/Ferrulon/pelor.conf" <<CONF
[General]
ProjectFilePath=$top/examples/demo/Demo.cdp
CONF
export XDG_CONFIG_HOME="$config"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running the dashboard under Xvfb (virtual screen)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$top/build/release/src/ui/pelor"
fi
exec "$top/build/release/src/ui/pelor"
