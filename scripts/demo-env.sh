# Sourced by the demo scripts: builds the dashboard and prepares a private copy of the demo
# project and a settings folder of its own under build/, so neither the repository's files nor
# a user's own settings are changed by a demo run. Sets PELOR_BIN and exports XDG_CONFIG_HOME.
# DEMO_KIND selects the demo: "unit" (default; the unit's own sentences over TCP) or "n2k"
# (the NMEA 2000 demo project on the simulator's binary adapter frames over TCP).
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target pelor pelor-sim

case "${DEMO_KIND:-unit}" in
    unit) example=demo; project=Demo.cdp; sim_mode=text; connection=129 ;;  # TCP text
    n2k) example=demo-n2k; project=DemoN2K.cdp; sim_mode=frames; connection=132 ;;  # TCP frames
    *) echo "unknown demo '${DEMO_KIND}': use unit or n2k" >&2; exit 2 ;;
esac

demo="$top/build/demo-project"
rm -rf "$demo"
mkdir -p "$demo"
cp -r "$top/examples/$example/." "$demo/"

PELOR_BIN="$top/build/release/src/ui/pelor"
PELOR_SIM="$top/build/release/tools/pelor-sim"

# The simulated unit on a TCP port of 127.0.0.1 that the system picks; its first line of
# output is "127.0.0.1:PORT". Stopped with the demo.
sim_log="$top/build/demo-sim.log"
"$PELOR_SIM" --tcp 0 --mode "$sim_mode" > "$sim_log" 2>&1 &
PELOR_SIM_PID=$!
trap 'kill $PELOR_SIM_PID 2>/dev/null || true' EXIT
port=""
for _ in $(seq 50); do
    port=$(sed -n '1s/^127\.0\.0\.1:\([0-9]*\)$/\1/p' "$sim_log")
    [ -n "$port" ] && break
    sleep 0.1
done
if [ -z "$port" ]; then
    echo "The unit simulator did not start; see $sim_log" >&2
    exit 1
fi
echo "Unit simulator ($sim_mode) on 127.0.0.1:$port"

# Connection type 1 (TCP text) or 4 (TCP NMEA 2000 frames) with connect-at-start (bit 7).
config="$top/build/demo-config"
mkdir -p "$config/Ferrulon"
cat > "$config/Ferrulon/pelor.conf" <<CONF
[General]
ProjectFilePath=$demo/$project
ConnectionType=$connection
IPAddress=127.0.0.1
TCPPort=$port
CONF
export XDG_CONFIG_HOME="$config"
