#!/usr/bin/env bash
# make bench: builds the benchmark programs beside the Windows build and runs
# them against their peers under the project's Wine environment.
#   bench/run.sh REPO_ROOT
# SOUNDBOARD_BENCH_BUILD names another Windows build folder (default build/win).
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
build=${SOUNDBOARD_BENCH_BUILD:-build/win}
[ -f "$build/build.ninja" ] || { echo "bench: no Windows build in $build; run make build-win" >&2; exit 1; }

# The build may predate bench/: configure again so that it knows the targets.
cmake "$build" >/dev/null
cmake --build "$build" --target bench_click_window bench_play_block bench_play_for

export SOUNDBOARD_ISOLATED=1
exec scripts/winenv.sh run build/win python3 "$root/bench/sound_bench.py" \
  --bin "$root/$build/bench" --files "$root/$build/bench-files"
