# The project's own run script after an interrupted command: a benchmark
# stopped early leaves a Wine server of the prefix that stays for ever, and
# scripts/run must still end in its usual time. Sourced by run_all.

server_left_over_then_run() {
  # A server that stays for ever, as a stopped benchmark leaves it (a new
  # one: a running server cannot be asked to stay longer).
  wine_server_end
  wineserver -p >/dev/null 2>&1
  [ -n "$(wine_server_pids)" ] || fail "no server of the prefix to leave behind"
  local start=$SECONDS out rc took
  set +e
  out=$(timeout 300 "$ROOT/scripts/run" $([ "$TARGET" = win32 ] && echo --32) 2>&1)
  rc=$?
  set -e
  took=$((SECONDS - start))
  echo "$out"
  echo "scripts/run took $took s"
  expect_eq "$rc" 0 "exit code of scripts/run"
  grep -q 'was left running by an earlier command: ending it$' <<<"$out" || fail "the left-over server was not named"
  grep -qx 'exit code: 0' <<<"$out" || fail "the batch run's exit code was not 0"
  # Its usual time is well under a minute once the program is built; a
  # wait for the left-over server would last until the timeout.
  [ "$took" -lt 120 ] || fail "scripts/run took $took s"
  [ -z "$(wine_server_pids)" ] || fail "scripts/run left a server running"
  # The server for the cases that follow (run_all ends it on its way out).
  wineserver -p60 >/dev/null 2>&1
}

run_case server_left_over_then_run
