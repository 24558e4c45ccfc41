#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian 12 machine, then builds libpng for
# the Win64 target from Debian's own source package. Safe to run again: finished steps are skipped.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
deps="$here/.deps"

packages=(
  build-essential cmake ninja-build pkg-config git
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 xvfb xauth xdotool imagemagick gstreamer1.0-plugins-base
  libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-liberation fonts-dejavu-core
  libxcb1-dev libxcb-shm0-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev libsndfile1-dev libsoxr-dev time
  librtaudio-dev jackd2 jack-capture
  lv2-dev lilv-utils sordi jalv liblilv-dev
  clang libclang-rt-14-dev clang-tidy clang-format cppcheck valgrind strace
  python3 python3-pil
  dpkg-dev lintian file nsis
  ardour
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sources=/etc/apt/sources.list.d/debian.sources
need_src=0
[ -f "$deps/mingw/lib/libpng16.a" ] || need_src=1
need_audio_src=0
[ -f "$deps/mingw/lib/librtaudio.a" ] && [ -f "$deps/mingw/lib/libsoxr.a" ] && [ -f "$deps/mingw/lib/libbenchmark.a" ] ||
  need_audio_src=1
if { [ "$need_src" = 1 ] || [ "$need_audio_src" = 1 ]; } && [ -f "$sources" ] && ! grep -q '^Types: deb deb-src' "$sources"; then
  as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$sources"
  updated=0
fi
if [ ${#missing[@]} -gt 0 ] || [ "${updated:-1}" = 0 ]; then
  echo "setup: installing ${#missing[@]} packages" >&2
  as_root apt-get update -qq
  [ ${#missing[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq \
      --no-install-recommends --no-upgrade "${missing[@]}" >/dev/null
fi

# libpng for mingw, built once into .deps/mingw.
if [ "$need_src" = 1 ]; then
  echo "setup: building libpng for the Win64 target" >&2
  rm -rf "$deps/src" && mkdir -p "$deps/src"
  (cd "$deps/src" && apt-get source -qq -o APT::Sandbox::User=root libpng1.6/bookworm >/dev/null 2>&1 \
     || apt-get source -qq -o APT::Sandbox::User=root libpng1.6 >/dev/null)
  src=$(find "$deps/src" -maxdepth 1 -mindepth 1 -type d -name 'libpng*' | head -n 1)
  cmake -S "$src" -B "$deps/src/build" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps/mingw" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include \
    >/dev/null
  cmake --build "$deps/src/build" -j"$(nproc)" >/dev/null
  cmake --install "$deps/src/build" >/dev/null
fi

# RtAudio (WASAPI and DirectSound) and libsoxr for the Win64 player, static, from Debian's sources.
build_mingw_source() { # source package, library it installs, cmake options...
  local package=$1 library=$2; shift 2
  [ -f "$deps/mingw/lib/$library" ] && return 0
  echo "setup: building $package for the Win64 target" >&2
  local dir="$deps/src-$package" src
  rm -rf "$dir" && mkdir -p "$dir"
  (cd "$dir" && apt-get source -qq -o APT::Sandbox::User=root "$package/bookworm" >/dev/null 2>&1 \
     || apt-get source -qq -o APT::Sandbox::User=root "$package" >/dev/null)
  src=$(find "$dir" -maxdepth 1 -mindepth 1 -type d | head -n 1)
  cmake -Wno-dev -S "$src" -B "$dir/build" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps/mingw" "$@" >/dev/null
  cmake --build "$dir/build" -j"$(nproc)" >/dev/null
  cmake --install "$dir/build" >/dev/null
}
build_mingw_source rtaudio librtaudio.a -DRTAUDIO_BUILD_SHARED_LIBS=OFF \
  -DRTAUDIO_API_WASAPI=ON -DRTAUDIO_API_DS=ON -DRTAUDIO_API_JACK=OFF -DRTAUDIO_API_PULSE=OFF \
  -DRTAUDIO_BUILD_TESTING=OFF -DBUILD_TESTING=OFF
# Google Benchmark, so that the engine benchmark runs on the Win64 build too ("0.0.0": take the
# version from the project, as there is no git history to read it from).
build_mingw_source benchmark libbenchmark.a -DBUILD_SHARED_LIBS=OFF -DBENCHMARK_ENABLE_TESTING=OFF \
  -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_INSTALL=ON -DGIT_VERSION=0.0.0
build_mingw_source libsoxr libsoxr.a -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTS=OFF -DWITH_OPENMP=OFF \
  -DWITH_LSR_BINDINGS=OFF

# A Wine prefix of our own, made once, so test runs do not pay for it.
if [ ! -f "$deps/wine/system.reg" ]; then
  echo "setup: preparing a Wine prefix" >&2
  mkdir -p "$deps/wine"
  WINEPREFIX="$deps/wine" WINEDEBUG=-all wineboot -i >/dev/null 2>&1 || true
  WINEPREFIX="$deps/wine" wineserver -w || true
fi
echo "setup: done" >&2
