# Shared by the scripts: paths, the project's own Wine prefix and a display.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"

export WINEPREFIX="${POLRIX_WINEPREFIX:-$BUILD/wineprefix}"
export WINEDEBUG=-all
# No runtime installer prompts, and no HTML engine download.
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEARCH=win64

# Creates the prefix once; later runs reuse it. A prefix without
# drive_c/windows/syswow64 was made before the 32-bit Wine was installed and
# cannot run the 32-bit program (nor, once the 32-bit loader is there, any
# program): it is made anew. Wine's own messages go to build/wine-prefix.log.
wine_prefix_ready() {
  if [ -f "$WINEPREFIX/system.reg" ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    echo "wine prefix $WINEPREFIX cannot run the 32-bit program (made before wine32 was installed): making it anew"
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX" "$BUILD"
    wineboot -i >>"$BUILD/wine-prefix.log" 2>&1 || true
    wineserver -w
  fi
  if [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    echo "wine prefix $WINEPREFIX has no 32-bit part: is wine32:i386 installed? (scripts/setup installs it; Wine's messages: $BUILD/wine-prefix.log)" >&2
    return 1
  fi
}

# Starts a virtual display when there is none; sets DISPLAY.
XVFB_PID=""
display_ready() {
  if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then return 0; fi
  local n=97
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "could not start Xvfb" >&2
  return 1
}

display_stop() {
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; XVFB_PID=""; fi
}

# Linux path of a Windows path inside the prefix.
unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }

# Windows TEMP of the prefix, as a Linux path.
wine_temp_dir() {
  local t
  t=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
  unix_path "$t"
}
