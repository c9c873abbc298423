#!/usr/bin/env bash
# Builds Pelor and runs every test: the release build's tests, then the same tests under
# AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
start=$SECONDS
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
for preset in release asan-ubsan; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    # Integration tests talk to the simulator in real time; on a loaded machine a timing
    # test may miss once, so a failed test is run again (up to three times) before it counts.
    ctest --preset "$preset" -j "$jobs" --repeat until-pass:3
done
elapsed=$((SECONDS - start))
printf 'All tests passed in %dm%02ds (release, then asan-ubsan).\n' $((elapsed / 60)) $((elapsed % 60))
