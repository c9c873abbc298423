#!/usr/bin/env bash
# Measures the real dashboard's start-up under a virtual screen: the time from launching the
# program until its main window is mapped and visible on the X server, and the memory it
# holds (VmRSS) a few seconds later, with the demo project and no link. On a busy machine the
# wall-clock figure grows with the load; the processor time the program used until its window
# showed is printed beside it. Each run uses a fresh
# Xvfb, a private copy of the project and settings of its own.
# Usage: scripts/measure-startup.sh [runs] [project folder under examples/]   (defaults: 5, demo)
# Prints one line per run and the medians. Needs a built build/release/src/ui/pelor.
set -euo pipefail
runs=${1:-5}
example=${2:-demo}
top=$(cd "$(dirname "$0")/.." && pwd)
bin="$top/build/release/src/ui/pelor"
[ -x "$bin" ] || { echo "build the dashboard first: cmake --build --preset release --target pelor" >&2; exit 1; }
project_file=$(cd "$top/examples/$example" && ls ./*.cdp | head -1)
project_file=${project_file#./}

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill -TERM "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

now_ms() { date +%s%3N; }

visible=()
cpus=()
rss=()
for run in $(seq "$runs"); do
    rm -rf "$work/project" "$work/config"
    mkdir -p "$work/project" "$work/config/Ferrulon"
    cp -r "$top/examples/$example/." "$work/project/"
    cat > "$work/config/Ferrulon/pelor.conf" <<CONF
[General]
ProjectFilePath=$work/project/$project_file
ConnectionType=1
IPAddress=127.0.0.1
TCPPort=9
CONF
    # A virtual screen of its own; -displayfd gives its number once it is ready.
    Xvfb -displayfd 1 -screen 0 1400x1100x24 -nolisten tcp > "$work/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    export DISPLAY=":$(head -1 "$work/display")"

    start=$(now_ms)
    XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb "$bin" > "$work/app.log" 2>&1 &
    app_pid=$!
    shown=""
    for _ in $(seq 2000); do
        if xdotool search --onlyvisible --pid "$app_pid" --name '^::' > /dev/null 2>&1; then
            shown=$(( $(now_ms) - start ))
            # Processor time the program used until then (user + system): the part of the
            # figure that does not depend on what else the machine is doing.
            ticks=$(awk '{print $14 + $15}' "/proc/$app_pid/stat")
            cpu=$(( ticks * 1000 / $(getconf CLK_TCK) ))
            break
        fi
        sleep 0.005
    done
    sleep 3
    kb=$(awk '/^VmRSS/ {print $2}' "/proc/$app_pid/status")
    kill -TERM "$app_pid"; wait "$app_pid" 2>/dev/null || true; app_pid=""
    kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true; xvfb_pid=""
    echo "run $run: window visible after ${shown:-never} ms (${cpu:-?} ms of processor time), RSS $((kb / 1024)) MB"
    visible+=("${shown:-99999}")
    cpus+=("${cpu:-99999}")
    rss+=("$kb")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "median: window visible after $(median "${visible[@]}") ms ($(median "${cpus[@]}") ms of processor time), RSS $(( $(median "${rss[@]}") / 1024 )) MB"
