#!/usr/bin/env bash
# Builds libjpeg-turbo for the Windows target from Debian's source package and
# installs it (static library and headers) into DEPS_DIR/libjpeg-win.
# Does nothing when that install is already there.
set -euo pipefail
deps=${1:?usage: build-libjpeg.sh DEPS_DIR}
mkdir -p "$deps"
deps=$(cd "$deps" && pwd)
prefix="$deps/libjpeg-win"
[ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpeglib.h" ] && exit 0
here=$(cd "$(dirname "$0")/.." && pwd)

src="$deps/src"
rm -rf "$src"; mkdir -p "$src"
( cd "$src" && apt-get source -qq --download-only libjpeg-turbo >/dev/null 2>&1 \
  && dpkg-source -x --skip-patches ./*.dsc >/dev/null 2>&1 ) || {
  echo "build-libjpeg: could not get the libjpeg-turbo source package" >&2; exit 1; }
tree=$(find "$src" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo*' | head -n1)

nasm=OFF; command -v nasm >/dev/null && nasm=ON
cmake -S "$tree" -B "$deps/libjpeg-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-posix.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=$nasm \
  -DWITH_JPEG8=OFF >"$deps/libjpeg-build.log" 2>&1
cmake --build "$deps/libjpeg-build" --target install >>"$deps/libjpeg-build.log" 2>&1
echo "build-libjpeg: installed into $prefix"
