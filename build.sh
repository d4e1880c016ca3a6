#!/usr/bin/env bash
# Builds Huevik for 32-bit Windows with mingw-w64, installing whatever the
# build and its tests need first. Safe to run again: installs only what is missing.
#   ./build.sh              install + configure + build everything (preset win32, or win64
#                           where this machine cannot run 32-bit programs: tools/wine-target.sh)
#   ./build.sh TARGET...    the same, building only the named targets
#   ./build.sh --deps       install only
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

need_packages=(
  cmake make python3
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest
  wine wine32:i386 wine64
  xvfb xdotool x11-utils imagemagick fonts-wqy-zenhei zip unzip
  openbox tint2
)

missing_packages() {
  local p
  for p in "${need_packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || echo "$p"
  done
}

# The release's own suite, as apt names it (-t), from /etc/os-release.
release_suite() {
  # shellcheck disable=SC1091
  (. /etc/os-release && echo "${VERSION_CODENAME:-}")
}

install_deps() {
  local missing
  missing=$(missing_packages | paste -sd ' ')
  [ -z "$missing" ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "build.sh: installing: $missing"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught mid-sync fails an index or two; what it did read may still hold everything.
  $sudo apt-get update -qq || echo "build.sh: apt-get update failed for some index; installing from the rest"
  # shellcheck disable=SC2086
  $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null && return 0
  # Without the update suite's index for one architecture, its newer version of a package has no
  # partner of the same version for the other: the release's own suite has both.
  local suite
  suite=$(release_suite)
  if [ -n "$suite" ]; then
    echo "build.sh: trying again with the packages of $suite preferred"
    # shellcheck disable=SC2086
    $sudo apt-get install -y -qq --no-install-recommends -t "$suite" $missing >/dev/null && return 0
  fi
  echo "build.sh: could not install: $missing" >&2
  exit 1
}

install_deps
[ "${1:-}" = "--deps" ] && exit 0

cd "$here"
# shellcheck source=tools/wine-target.sh
. "$here/tools/wine-target.sh"
preset=$(huevik_preset)
# A build folder made with a toolchain file that is gone, or with the compilers of the posix thread
# model that the toolchain no longer names, starts afresh.
cache="$here/build/$preset/CMakeCache.txt"
fresh=()
if [ -f "$cache" ] && { ! grep -q "^CMAKE_TOOLCHAIN_FILE:.*=$here/cmake/mingw.cmake\$" "$cache" ||
  grep -q '^CMAKE_CXX_COMPILER_AR:FILEPATH=.*-posix$' "$cache"; }; then fresh=(--fresh); fi
cmake --preset "$preset" "${fresh[@]}" >/dev/null
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
cmake --build --preset "$preset" -j"$(nproc)" "${targets[@]}"
