#!/usr/bin/env bash
# The one environment every Windows process of the project runs in: a Wine
# prefix per build directory, the Chinese locale (code page 936), quiet Wine,
# Wine-drawn window frames, an X display and a PulseAudio server.
#
#   winenv.sh start BUILD_DIR        start what is missing, keep it running
#   winenv.sh stop  BUILD_DIR        stop what `start` started, nothing else
#   winenv.sh run   BUILD_DIR CMD..  run CMD inside; a .exe runs under wine.
#                                    Starts (and afterwards stops) the parts
#                                    only when `start` has not been called.
#   winenv.sh shell BUILD_DIR        print the variables, for `eval`
#   winenv.sh status BUILD_DIR       exit 0 when `start` has started it
#
# SOUNDBOARD_ISOLATED=1 (set by the tests) always uses a private Xvfb and a
# private PulseAudio with a null sink, whose monitor the tests record.
# Otherwise the caller's DISPLAY and PulseAudio are used when they answer.
set -euo pipefail

cmd=${1:?usage: winenv.sh start|stop|run|shell BUILD_DIR [CMD...]}
build=${2:?build directory missing}
shift 2
mkdir -p "$build"
build=$(cd "$build" && pwd)
state="$build/winenv"
mkdir -p "$state"

export WINEPREFIX="$build/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export NULL_SINK=soundboard_null

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

display_works() { [ -n "${1:-}" ] && timeout 5 xdpyinfo -display "$1" >/dev/null 2>&1; }
pulse_works() { timeout 5 pactl info >/dev/null 2>&1; }

start_display() {
  if alive "$state/xvfb.pid"; then export DISPLAY=$(cat "$state/display"); return; fi
  if [ "${SOUNDBOARD_ISOLATED:-0}" != 1 ] && display_works "${DISPLAY:-}"; then return; fi
  local fifo="$state/displayfd"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >"$state/xvfb.log" 2>&1 &
  echo $! >"$state/xvfb.pid"
  local n; read -r n <"$fifo"; rm -f "$fifo"
  echo ":$n" >"$state/display"
  export DISPLAY=":$n"
  for _ in $(seq 50); do display_works "$DISPLAY" && return; sleep 0.1; done
  echo "winenv: Xvfb did not start" >&2; exit 1
}

start_pulse() {
  if alive "$state/pulse.pid"; then export PULSE_SERVER=$(cat "$state/pulse.server"); return; fi
  if [ "${SOUNDBOARD_ISOLATED:-0}" != 1 ] && pulse_works; then return; fi
  # A short runtime folder: socket paths are limited to about 100 bytes.
  local run; run=$(mktemp -d /tmp/soundboard-pulse.XXXXXX)
  echo "$run" >"$state/pulse.dir"
  PULSE_RUNTIME_PATH="$run" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --disallow-exit --use-pid-file=no --log-target=file:"$state/pulse.log" \
    -L "module-native-protocol-unix socket=$run/native auth-anonymous=1" \
    -L "module-null-sink sink_name=$NULL_SINK rate=48000 channels=2" \
    >/dev/null 2>&1 &
  echo $! >"$state/pulse.pid"
  echo "unix:$run/native" >"$state/pulse.server"
  export PULSE_SERVER="unix:$run/native"
  for _ in $(seq 100); do pulse_works && break; sleep 0.05; done
  pulse_works || { echo "winenv: PulseAudio did not start" >&2; exit 1; }
  pactl set-default-sink "$NULL_SINK"
}

ensure_prefix() {
  [ -f "$WINEPREFIX/.soundboard-ready" ] && return
  # No Mono or Gecko: the program needs neither, and their installers would ask.
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.soundboard-ready"
}

# Wine's own TrueType fonts (Marlett draws the caption buttons, Tahoma the
# default dialog font) are not always placed into a new prefix; copy any that
# are missing from the folder the fonts-wine package installed.
ensure_wine_fonts() {
  local marlett dir
  marlett=$(dpkg -L fonts-wine 2>/dev/null | grep '/marlett\.ttf$' | head -n1)
  [ -n "$marlett" ] || return 0
  dir=$(dirname "$marlett")
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n "$dir"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
}

# A private Xvfb has no window manager, and Wine waits two seconds for one
# whenever a managed window is hidden or closed. There Wine's windows are
# left unmanaged; on the caller's display the window manager manages them.
ensure_window_management() {
  local managed=Y marker="$WINEPREFIX/.soundboard-managed"
  alive "$state/xvfb.pid" && managed=N
  [ "$(cat "$marker" 2>/dev/null)" = "$managed" ] && return
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1
  echo "$managed" >"$marker"
}

start_all() {
  start_display
  start_pulse
  ensure_prefix
  ensure_wine_fonts
  # A persistent wineserver makes each later Wine process start quickly.
  wineserver -p
  ensure_window_management
  # The first Wine process also starts Wine's own services (explorer,
  # services, device drivers), which inherit its output and outlive it. Start
  # them here, on /dev/null, so that no caller waits on a pipe they hold.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  touch "$state/wineserver.started"
}

stop_pid() {
  local f=$1
  if alive "$f"; then
    local pid; pid=$(cat "$f")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$f"
}

stop_all() {
  if [ -f "$state/wineserver.started" ]; then
    [ -f "$state/display" ] && export DISPLAY=$(cat "$state/display")
    wineserver -k 2>/dev/null || true
    rm -f "$state/wineserver.started"
  fi
  stop_pid "$state/pulse.pid"
  if [ -f "$state/pulse.dir" ]; then rm -rf "$(cat "$state/pulse.dir")" "$state/pulse.dir"; fi
  rm -f "$state/pulse.server"
  stop_pid "$state/xvfb.pid"
  rm -f "$state/display"
}

print_env() {
  printf 'export WINEPREFIX=%q WINEARCH=win64 WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 NULL_SINK=%q\n' "$WINEPREFIX" "$NULL_SINK"
  [ -n "${DISPLAY:-}" ] && printf 'export DISPLAY=%q\n' "$DISPLAY"
  [ -n "${PULSE_SERVER:-}" ] && printf 'export PULSE_SERVER=%q\n' "$PULSE_SERVER"
  return 0
}

case "$cmd" in
  start) start_all ;;
  stop) stop_all ;;
  status) [ -f "$state/wineserver.started" ] ;;
  shell)
    alive "$state/xvfb.pid" && export DISPLAY=$(cat "$state/display")
    alive "$state/pulse.pid" && export PULSE_SERVER=$(cat "$state/pulse.server")
    print_env ;;
  run)
    [ $# -gt 0 ] || { echo "winenv: nothing to run" >&2; exit 2; }
    own=0
    if [ -f "$state/wineserver.started" ]; then
      alive "$state/xvfb.pid" && export DISPLAY=$(cat "$state/display")
      alive "$state/pulse.pid" && export PULSE_SERVER=$(cat "$state/pulse.server")
    else
      own=1
      trap stop_all EXIT
      start_all
    fi
    case "$1" in
      *.exe|*.EXE) set -- wine "$@" ;;
    esac
    rc=0
    "$@" || rc=$?
    exit $rc ;;
  *) echo "winenv: unknown command $cmd" >&2; exit 2 ;;
esac
