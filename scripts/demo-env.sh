# Sourced by the demo scripts: builds the dashboard and prepares a private copy of the demo
# project and a settings folder of its own under build/, so neither the repository's files nor
# a user's own settings are changed by a demo run. Sets PELOR_BIN and exports XDG_CONFIG_HOME.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target pelor

demo="$top/build/demo-project"
rm -rf "$demo"
mkdir -p "$demo"
cp -r "$top/examples/demo/." "$demo/"

config="$top/build/demo-config"
mkdir -p "$config/Ferrulon"
printf '[General]\nProjectFilePath=%s\n' "$demo/Demo.cdp" > "$config/Ferrulon/pelor.conf"
export XDG_CONFIG_HOME="$config"
PELOR_BIN="$top/build/release/src/ui/pelor"
