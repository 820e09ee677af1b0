#!/usr/bin/env bash
# Runs every test layer: the portable core natively (ASan + UBSan, TSan),
# the fuzz targets for a short time, then everything Windows under Wine (the
# portable tables again, the integration tests and the end-to-end tests).
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
export SOUNDBOARD_ISOLATED=1

# Start the Wine environment unless it runs already; stop only what we started.
if ! scripts/winenv.sh status build/win; then
  scripts/winenv.sh start build/win || exit 1
  trap 'scripts/winenv.sh stop build/win' EXIT
fi

failed=()
run() {
  local name=$1; shift
  echo "=== $name"
  "$@" || failed+=("$name")
}
run native ctest --test-dir build/native --output-on-failure -j2
run tsan ctest --test-dir build/tsan --output-on-failure -L tsan
run fuzz ctest --test-dir build/fuzz --output-on-failure
# One at a time: the audio tests share the null sink, the e2e tests the display.
run windows ctest --test-dir build/win --output-on-failure

if [ ${#failed[@]} -gt 0 ]; then
  echo "failed layers: ${failed[*]}"
  exit 1
fi
echo "all test layers passed"
