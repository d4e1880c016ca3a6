# Sourced by run.sh, test.sh and bench.sh: one private Wine prefix under build/,
# and a virtual X display when there is none (or always, with HUEVIK_VIRTUAL_DISPLAY=1).
# Defines wine_session_start and wine_session_stop.

# shellcheck source=tools/wine-target.sh
. "$(dirname "${BASH_SOURCE[0]}")/wine-target.sh"

wine_session_start() {
  local root="$1" suffix=""
  if [ "$(huevik_preset)" = win64 ]; then
    huevik_use_wine64 "$root"
    suffix="-win64"
  fi
  export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix$suffix}"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  WINE_SESSION_XVFB_PID=""
  if [ -z "${DISPLAY:-}" ] || [ "${HUEVIK_VIRTUAL_DISPLAY:-0}" = 1 ]; then
    local n=99
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    WINE_SESSION_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing a Wine prefix in $WINEPREFIX (once)..."
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    if [ "${HUEVIK_UNMANAGED_WINDOWS:-0}" = 1 ]; then
      # No window manager runs on the virtual display: without this, Wine waits
      # two seconds for one at every hide or destroy of a window.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    fi
    # Programs the first boot left running (the desktop with its tray) read their
    # settings before the lines above: start them again with the prefix as it is now.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  wineserver -p 2>/dev/null || true
  # Start the prefix's services now, with no pipe of ours as their output: a
  # service started by a test would hold the test runner's pipe open for ever.
  wine wineboot </dev/null >/dev/null 2>&1 || true
  if wine_link_cjk_font; then
    # The desktop with its tray read the fonts before the link: start them again.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p 2>/dev/null || true
    wine wineboot </dev/null >/dev/null 2>&1 || true
  fi
}

# The system UI fonts (menus, message boxes, tooltips, balloons) are Tahoma, which has no
# Chinese glyphs: link it to the CJK font that build.sh installs, as every font falls back
# through Tahoma's links. Wine rewrites Tahoma's links whenever a program starts in another
# code page than the prefix's last one, so this runs after the session's first program and
# again at every session. Succeeds only when it wrote the link; says so in one line when it
# cannot, and the session goes on without it.
wine_link_cjk_font() {
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  local link='wqy-zenhei.ttc,WenQuanYi Zen Hei'
  wine reg query "$key" /v Tahoma </dev/null 2>/dev/null | grep -qF "REG_MULTI_SZ    $link" && return 1
  if ! wine reg add "$key" /v Tahoma /t REG_MULTI_SZ /d "$link" /f </dev/null >/dev/null 2>&1; then
    echo "Could not link the UI font to $link in $WINEPREFIX: Chinese text in menus and boxes may show as boxes."
    return 1
  fi
}

wine_session_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "${WINE_SESSION_XVFB_PID:-}" ]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
  fi
}

# The session the tests and benchmarks share: a virtual display of their own, no
# window manager, a prefix of their own; stopped when the calling script exits.
wine_test_session_start() {
  export HUEVIK_VIRTUAL_DISPLAY=1 HUEVIK_UNMANAGED_WINDOWS=1
  export WINEPREFIX="$1/build/wineprefix-tests"
  if [ "$(huevik_preset)" = win64 ]; then WINEPREFIX="$WINEPREFIX-win64"; fi
  wine_session_start "$1"
  trap wine_session_stop EXIT
}
