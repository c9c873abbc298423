#!/usr/bin/env bash
# Runs the libFuzzer targets (fuzz preset: clang, ASan+UBSan) one after another, each on a
# working copy of its seed corpus, and prints a line per target: executions, CPU seconds and
# executions per CPU second. New inputs stay in the working copy (printed at the end), not in
# fuzz/corpus; copy the interesting ones over by hand.
#
#   scripts/fuzz.sh [--seconds N] [--runs N] [target ...]     (default: every target, 60 s)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
runs=-1
targets=()
while [[ $# -gt 0 ]]; do
    case "$1" in
        --seconds) seconds="$2"; shift 2 ;;
        --runs) runs="$2"; shift 2 ;;
        -h|--help) sed -n 2,7p "$0"; exit 0 ;;
        *) targets+=("fuzz_${1#fuzz_}"); shift ;;  # "theme" and "fuzz_theme" alike
    esac
done

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" >/dev/null
if [[ ${#targets[@]} -eq 0 ]]; then
    for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
for t in "${targets[@]}"; do
    [[ -x "build/fuzz/fuzz/$t" ]] || { echo "no fuzz target $t: the targets are fuzz/fuzz_*.cpp" >&2; exit 2; }
done

work="$(mktemp -d /tmp/pelor-fuzz-run-XXXXXX)"
printf '%-30s %12s %10s %12s %8s\n' target executions cpu_s exec_per_s crashes
for t in "${targets[@]}"; do
    mkdir -p "$work/$t"
    cp -r "fuzz/corpus/$t/." "$work/$t/" 2>/dev/null || true
    log="$work/$t.log"
    set +e
    /usr/bin/time -f '%U %S' -o "$work/$t.time" "build/fuzz/fuzz/$t" -max_total_time="$seconds" \
        -runs="$runs" -print_final_stats=1 -artifact_prefix="$work/$t-" "$work/$t" >"$log" 2>&1
    status=$?
    set -e
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    # A target that exits with an error gets a status line before the times.
    cpu=$(tail -n 1 "$work/$t.time" | awk '{printf "%.1f", $1 + $2}')
    rate=$(awk -v e="$execs" -v c="$cpu" 'BEGIN { if (c > 0) printf "%.0f", e / c; else print 0 }')
    # Findings only: a slow unit is written when one input took long, which on a busy machine
    # is mostly waiting for the processor; it is listed apart.
    crashes=$(find "$work" -maxdepth 1 \( -name "$t-crash-*" -o -name "$t-leak-*" \
        -o -name "$t-timeout-*" -o -name "$t-oom-*" \) | wc -l)
    slow=$(find "$work" -maxdepth 1 -name "$t-slow-unit-*" | wc -l)
    [[ $slow -eq 0 ]] || echo "  $t wrote $slow slow unit(s) to $work: re-run them alone to see"
    printf '%-30s %12s %10s %12s %8s\n' "$t" "$execs" "$cpu" "$rate" "$crashes"
    [[ $status -eq 0 ]] || echo "  $t stopped with status $status: see $log"
done
echo "working corpora and logs: $work"
