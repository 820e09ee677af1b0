#!/usr/bin/env bash
# Installs everything the build, the tests and the program's run need on a
# Debian 12 machine, as root. Each step does its work only when it is missing,
# so a second call is quick.
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build make g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix mingw-w64-tools dpkg-dev
  # running Windows programs and driving them
  wine wine64 fonts-wine fonts-wqy-microhei locales
  xvfb xdotool x11-utils pulseaudio pulseaudio-utils
  # fixtures, assets and benchmark peers
  sox libsox-fmt-mp3 lame ffmpeg espeak-ng imagemagick mpg123 python3
)

log() { printf 'bootstrap: %s\n' "$*"; }

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

# Source packages need deb-src entries. They are derived from the machine's own
# binary sources (same mirrors, suites, components and keys), so no registry
# address is written down anywhere.
SRC_LIST=/etc/apt/sources.list.d/soundboard-deb-src.sources
ensure_deb_src() {
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/ ; then
    return 1
  fi
  local out=""
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    [ "$f" = "$SRC_LIST" ] && continue
    out+=$(sed -e 's/^Types:.*/Types: deb-src/' "$f")$'\n\n'
  done
  if [ -f /etc/apt/sources.list ]; then
    local lines
    lines=$(sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list)
    [ -n "$lines" ] && printf '%s\n' "$lines" > /etc/apt/sources.list.d/soundboard-deb-src.list
  fi
  [ -n "$out" ] && printf '%s' "$out" > "$SRC_LIST"
  return 0
}

need_update=0
todo=$(missing_packages)
ensure_deb_src && need_update=1
[ -n "$todo" ] && need_update=1
if [ "$need_update" = 1 ]; then
  log "apt-get update"
  apt-get update -qq
fi
if [ -n "$todo" ]; then
  log "installing:" $todo
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $todo >/dev/null
fi

# Wine needs the Chinese locale to run with code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  log "generating zh_CN.UTF-8"
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
log "ready"
