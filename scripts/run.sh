#!/usr/bin/env bash
# Starts dist/soundboard.exe under Wine on the caller's display. Without a
# display it runs on a private Xvfb, saves a screenshot of the window once it
# is shown, closes the program and says where the screenshot is.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
exe="$root/dist/soundboard.exe"
[ -f "$exe" ] || { echo "run: $exe is missing; build it with make dist" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ] && timeout 5 xdpyinfo >/dev/null 2>&1; then
  exec scripts/winenv.sh run build/win "$exe"
fi

shot="$root/build/screenshot.png"
export SOUNDBOARD_ISOLATED=1
scripts/winenv.sh run build/win bash -c '
  set -euo pipefail
  wine "$1" & pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^舞台音效板\$" | head -n1)
  sleep 2  # let it paint
  import -window "$window" "$2"
  xdotool key --window "$window" Escape >/dev/null 2>&1 || true
  xdotool windowfocus --sync "$window" key Escape >/dev/null 2>&1 || true
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
' run "$exe" "$shot"
echo "run: no display here; the program ran on a private X server and its window is in $shot"
