# Shared by the scripts: paths, the project's own Wine prefix and a display.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"

export WINEPREFIX="${POLRIX_WINEPREFIX:-$BUILD/wineprefix}"
export WINEDEBUG=-all
# No runtime installer prompts, and no HTML engine download.
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEARCH=win64

# Some machines run 64-bit user code only (a virtual machine whose kernel has
# its IA-32 emulation switched off): there Wine's 32-bit loader, which
# /usr/bin/wine prefers once wine32 is installed, cannot start ("Exec format
# error") and every wine call fails. On such a machine the scripts call the
# 64-bit loader instead, through a `wine` of their own first on PATH (Wine's
# other commands, wineboot and winepath among them, start `wine-stable` from
# PATH). It runs the 64-bit program and its tools; the 32-bit program cannot
# run there at all, and the scripts say so instead of counting it. Called
# here and again once the set-up may have installed Wine (wine_prefix_ready).
WINE_RUNS_32BIT=1
wine_pick_loader() {
  [ -x /usr/lib/wine/wine64 ] || return 0
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then WINE_RUNS_32BIT=1; return 0; fi
  WINE_RUNS_32BIT=0
  local dir="$BUILD/wine64-loader"
  if [ ! -x "$dir/wine-stable" ]; then
    mkdir -p "$dir"
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$dir/wine-stable"
    chmod +x "$dir/wine-stable"
    ln -sf wine-stable "$dir/wine"
  fi
  export WINELOADER=/usr/lib/wine/wine64
  case ":$PATH:" in *":$dir:"*) ;; *) export PATH="$dir:$PATH" ;; esac
}
wine_pick_loader

# Says why the 32-bit program cannot run here, and fails, on a machine that
# runs 64-bit code only.
wine_runs_target() {
  [ "$1" != win32 ] || [ "$WINE_RUNS_32BIT" = 1 ] && return 0
  echo "this machine runs 64-bit code only (its kernel's IA-32 emulation is off), so Wine cannot start the 32-bit program"
  return 1
}

# Steps run on every way out of a script: its end, an error under set -e,
# Ctrl+C, a kill. (A subshell does not run its parent's steps.)
EXIT_STEPS=()
on_exit() {
  local s
  for s in "${EXIT_STEPS[@]}"; do [ "$s" != "$1" ] || return 0; done  # once each
  EXIT_STEPS+=("$1")
  trap 'for _step in "${EXIT_STEPS[@]}"; do eval "$_step" || true; done' EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  trap 'exit 129' HUP
}

# The Wine servers of the project's prefix, one pid a line: a server works
# in a folder named after the prefix's device and inode numbers.
wine_server_pids() {
  local id pid
  id=$(stat -c '%d %i' "$WINEPREFIX" 2>/dev/null) || return 0
  id=$(printf 'server-%x-%x' $id)
  for pid in $(pgrep wineserver); do
    [ "$(basename "$(readlink "/proc/$pid/cwd" 2>/dev/null)")" != "$id" ] || echo "$pid"
  done
}

# Ends the prefix's server and waits (10 s at most) until it is gone: a
# command right after must find no server of the old one's still shutting down.
wine_server_end() {
  wineserver -k >/dev/null 2>&1 || true
  local i
  for i in $(seq 100); do
    [ -n "$(wine_server_pids)" ] || return 0
    sleep 0.1
  done
}

# One server for the many wine calls of a script, ended on every way out.
# It stays 60 s after its last client at most: the delay must be attached
# (-p60); a separate "60" is not read as the delay, and the server then
# stays for ever.
wine_server_keep() {
  wineserver -p60 >/dev/null 2>&1 || true
  on_exit wine_server_end
}

# Waits for the prefix's server to end by itself, for $1 seconds at most
# (default 30); a server still running then is ended.
wine_server_wait() {
  local limit=${1:-30}
  [ -n "$(wine_server_pids)" ] || return 0
  if ! timeout "$limit" wineserver -w >/dev/null 2>&1; then
    echo "the Wine server of $WINEPREFIX was still running after $limit s: ending it"
    wine_server_end
  fi
}

# A server of the prefix still running from an earlier command (an
# interrupted benchmark leaves one that may stay for ever) is ended, so that
# what follows starts from a known state and no wait for it hangs.
wine_server_left_over() {
  [ -n "$(wine_server_pids)" ] || return 0
  echo "a Wine server of $WINEPREFIX was left running by an earlier command: ending it"
  wine_server_end
}

# Creates the prefix once; later runs reuse it. A prefix without
# drive_c/windows/syswow64 was made before the 32-bit Wine was installed and
# cannot run the 32-bit program (nor, once the 32-bit loader is there, any
# program): it is made anew. Wine's own messages go to build/wine-prefix.log.
wine_prefix_ready() {
  wine_pick_loader
  wine_server_left_over
  if [ -f "$WINEPREFIX/system.reg" ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    echo "wine prefix $WINEPREFIX cannot run the 32-bit program (made before wine32 was installed): making it anew"
    wine_server_end
    rm -rf "$WINEPREFIX"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX" "$BUILD"
    timeout 300 wineboot -i >>"$BUILD/wine-prefix.log" 2>&1 || true
    wine_server_wait 60
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
  on_exit display_stop
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
