# Shared by the benchmarks: the project's paths and Wine set-up, and the
# median of numbers read one a line.
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/scripts/lib.sh"

median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

# The registry fixture of bench/fixtures/rows.xml: 1,000 subkeys of
# HKCU\Software\PolrixBench\Rows, each with a name and a version, every other
# one with a size too. Made anew each time.
ROWS=1000
ROWS_LIST='Software\PolrixBench\Rows'
ROWS_VALUES=2500  # of DisplayName, DisplayVersion and Size over all keys
rows_fixture_ready() {
  local reg="$BUILD/bench-rows.reg" i
  {
    printf 'REGEDIT4\r\n\r\n'
    for i in $(seq -w 1 "$ROWS"); do
      printf '[HKEY_CURRENT_USER\\%s\\App%s]\r\n"DisplayName"="Bench application %s"\r\n"DisplayVersion"="1.%s"\r\n' \
        "$ROWS_LIST" "$i" "$i" "$i"
      [ $((10#$i % 2)) -eq 0 ] && printf '"Size"=dword:%08x\r\n' "$((10#$i * 1024))"
      printf '\r\n'
    done
  } >"$reg"
  wine reg delete 'HKCU\Software\PolrixBench' /f >/dev/null 2>&1 || true
  wine reg import "$reg" >/dev/null 2>&1
  [ "$(wine reg query "HKCU\\$ROWS_LIST" 2>/dev/null | grep -c '\\App')" -eq "$ROWS" ] ||
    { echo "the registry fixture of $ROWS keys was not made" >&2; return 1; }
}

# The programs of one build in a folder of their own under build/: polrix.exe,
# the in-process benchmarks (window_bench.exe), the probe of a running
# window (window_probe.exe) and the registry calls alone (registry_floor.exe).
# Sets DIR.
bench_folder() {  # TARGET NAME
  DIR="$BUILD/$2/$1"
  rm -rf "$DIR"
  mkdir -p "$DIR"
  cp "$BUILD/$1/polrix.exe" "$BUILD/$1/window_bench.exe" "$BUILD/$1/window_probe.exe" \
    "$BUILD/$1/registry_floor.exe" "$DIR/"
}

# Tree items of a query file: the computer and one per list.
tree_items_of() { echo $(($(grep -c '<list>' "$1") + 1)); }

# polrix.exe of DIR started on the Wine desktop "polrix" by the probe, which
# writes "shown_ms=..." into DIR/launch.out once the frame shows ITEMS tree
# items, and "exit=..." when the program has ended. Sets DESKTOP_PID (the
# desktop's explorer, which ends with the program).
DESKTOP_PID=""
desktop_launch() {  # ITEMS
  rm -f "$DIR/launch.out"
  local out
  out='Z:'$(echo "$DIR/launch.out" | tr '/' '\\')
  (cd "$DIR" && exec timeout 900 wine explorer /desktop=polrix,1280x1024 window_probe.exe launch polrix.exe "$1" "$out") \
    >>"$DIR/wine.log" 2>&1 &
  DESKTOP_PID=$!
}

# The value of KEY in DIR/launch.out, waiting up to SECONDS for it; nothing
# (and status 1) when it did not come.
launch_value() {  # KEY SECONDS
  local i
  for i in $(seq $(($2 * 10))); do
    if [ -f "$DIR/launch.out" ] && grep -q "^$1=" "$DIR/launch.out"; then
      sed -n "s/^$1=//p" "$DIR/launch.out" | tr -d '\r'
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# The probe of the running window (see bench/window_probe_win32.cpp).
probe() { (cd "$DIR" && wine ./window_probe.exe "$@" 2>>"$DIR/wine.log" | tr -d '\r'); }

# The log of a window's life is whole: every object that logged its making
# logged its end, and "CGUI::~CGUI () OK ..." is the last line. Prints what
# is missing.
log_whole() {  # LOG
  local text made name missing=0
  text=$(tr -d '\r' <"$1")
  made=$(sed -n 's/^\([A-Za-z]*\)::\1 () OK \.\.\.$/\1/p' <<<"$text")
  for name in $made; do
    grep -qxF "$name::~$name () OK ..." <<<"$text" || { echo "no end of $name in $1"; missing=1; }
  done
  [ "$(tail -n 1 <<<"$text")" = "CGUI::~CGUI () OK ..." ] || { echo "last line of $1: $(tail -n 1 <<<"$text")"; missing=1; }
  return "$missing"
}

now() { date +%s.%N; }
seconds_since() { awk -v s="$1" -v e="$(now)" 'BEGIN {print e - s}'; }
