# Sourced by build.sh and wine-session.sh: which Windows build this machine runs under Wine.
# The product is 32-bit; some hosts switch the kernel's 32-bit emulation off, and there
# Wine's 32-bit loader fails with "Exec format error". Such a machine builds, runs and
# tests the 64-bit build instead, under Wine's 64-bit loader. HUEVIK_PRESET overrides.

huevik_preset() {
  if [ -n "${HUEVIK_PRESET:-}" ]; then
    echo "$HUEVIK_PRESET"
  elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo win32
  else
    echo win64
  fi
}

# For the 64-bit build: `wine`, `wineboot` and `winepath` that go straight to the 64-bit loader
# (Debian's wrappers take the 32-bit one whenever it is installed, runnable or not).
huevik_use_wine64() {
  local bin="$1/build/wine64-bin"
  mkdir -p "$bin"
  printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/wine"
  printf '#!/bin/sh\nexec "$(dirname "$0")/wine" wineboot.exe "$@"\n' >"$bin/wineboot"
  printf '#!/bin/sh\nexec "$(dirname "$0")/wine" winepath.exe "$@"\n' >"$bin/winepath"
  chmod +x "$bin/wine" "$bin/wineboot" "$bin/winepath"
  export PATH="$bin:$PATH" WINEARCH=win64
}
