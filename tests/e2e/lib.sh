# Helpers of the end-to-end tests: polrix.exe and its files in a folder of
# their own, run under Wine in the project's prefix.
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/lib.sh"

# The program under test: win32 (the 32-bit build) or win64.
TARGET="${POLRIX_TARGET:-win64}"
case "$TARGET" in
  win32 | win64) ;;
  *) echo "unknown program: $TARGET (win32 or win64)" >&2; exit 2 ;;
esac
# Both programs read the machine's native (64-bit) registry view; `wine reg`
# itself is the 32-bit tool, so keys the program must see are written with
# this option.
REG_VIEW=/reg:64
E2E="$BUILD/e2e/$TARGET"
EXE="$E2E/polrix.exe"
TOOLS="$BUILD/$TARGET"
WIN_E2E='Z:'$(echo "$E2E" | tr '/' '\\')
SETTINGS_KEY='HKCU\Software\Vendaril\Polrix'

e2e_prepare() {
  rm -rf "$E2E"
  mkdir -p "$E2E"
  cp "$BUILD/$TARGET/polrix.exe" "$EXE"
  TEMP_DIR=$(wine_temp_dir)
  LOG="$TEMP_DIR/polrix.log"
  REPORT="$TEMP_DIR/polrix.htm"
  EXPORT="$E2E/polrix.txt"
  # A log or report left by an earlier run (perhaps of the other program)
  # must not stand in for one that this program failed to write.
  rm -f "$LOG" "$REPORT"
}

# Runs one case in a subshell and prints PASS or FAIL with its name.
CASE_FAILS=0
# The case runs in a subshell of its own with errexit on, outside any
# condition (a condition would switch errexit off for everything inside it):
# its first failing command ends it. An assertion message fails it too.
run_case() {
  local name=$1 start=$SECONDS rc
  ( set -eE; trap 'echo "failed: [$BASH_COMMAND] (line $LINENO)" >&2' ERR; "$name" ) >"$E2E/$name.out" 2>&1
  rc=$?
  grep -q '^assertion failed' "$E2E/$name.out" && rc=1
  if [ "$rc" -eq 0 ]; then
    echo "PASS $name ($((SECONDS - start)) s)"
  else
    echo "FAIL $name ($((SECONDS - start)) s)"
    sed 's/^/    /' "$E2E/$name.out" | tail -40
    CASE_FAILS=$((CASE_FAILS + 1))
  fi
}

fail() { echo "assertion failed: $*" >&2; return 1; }
expect_eq() { [ "$1" = "$2" ] || fail "expected [$2], got [$1]${3:+ ($3)}"; }
# The file holds the lines given, in this order (others may lie between).
expect_lines_in_order() {
  local file=$1; shift
  local rest
  rest=$(tr -d '\r' <"$file")
  for line in "$@"; do
    if ! grep -qxF -- "$line" <<<"$rest"; then
      fail "missing or out of order: [$line] in $file"
      return 1
    fi
    rest=$(awk -v l="$line" 'found {print} !found && $0 == l {found = 1}' <<<"$rest")
  done
}
# grep reads all of its input here: with -q it would stop at the first match,
# and the writer of a long pipe would die of SIGPIPE, which pipefail turns
# into a failure of the whole check.
expect_contains() { tr -d '\r' <"$1" | grep -F -- "$2" >/dev/null || fail "[$2] not in $1"; }

# polrix.exe with the arguments; its exit code in $RC. Times out after 120 s.
run_polrix() {
  set +e
  (cd "$E2E" && timeout 120 wine "$EXE" "$@")
  RC=$?
  set -e
}

# polrix.exe in the background, with a message box expected: prints what
# the box said into $BOX_TEXT (caption line, then text lines) and sets $RC.
run_polrix_with_box() {
  set +e
  (cd "$E2E" && timeout 120 wine "$EXE" "$@") &
  local pid=$!
  BOX_TEXT=$(timeout 90 wine "$TOOLS/boxclose.exe" 60 | tr -d '\r')
  wait "$pid"
  RC=$?
  set -e
}

reg_delete_settings() { wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1 || true; }
reg_query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }

# Text of a wmic answer (UTF-16 when piped) as plain lines without padding.
wmic_values() {
  wine wmic "$@" 2>/dev/null | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -d '\r' | sed -e 's/[[:space:]]*$//' -e '/^$/d' | tail -n +2
}
