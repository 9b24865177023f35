# The real polrix.exe against a WMI service that misbehaves on purpose:
# wmi_fault.dll (tests/wmi_fault/README.md) registered as the server of
# CLSID_WbemLocator in a Wine prefix of its own, in both registry views, with
# the wait limit wt = 5 s. Every class that a case's script does not name
# comes from Wine's own service through the DLL. Each case starts from a known
# state (its own settings key, no trace, no log) and ends its prefix's Wine
# server and restores what it changed on every way out. Sourced by run_all
# after cases_window.sh, whose window helpers the window cases use.

FAULT_PREFIX="$BUILD/wineprefix-faults-$TARGET"
FDIR="$E2E/faults"
WIN_FDIR="Z:$(echo "$FDIR" | tr '/' '\\')"
FSCRIPT="$FDIR/script.txt"
FTRACE="$FSCRIPT.trace"
LIMIT=5
LOCATOR_KEY='HKLM\Software\Classes\CLSID\{4590F811-1D3A-11D0-891F-00AA004B2E24}\InprocServer32'
# Values that change from one run to the next on an undisturbed machine (Wine
# counts the boot from its server's start); the export comparisons blank them.
VOLATILE='FreeSpace|FreePhysicalMemory|FreeVirtualMemory|LocalDateTime|LastBootUpTime'

# The prefix is made once (like the project's own) and then reused.
fault_prefix_ready() {
  mkdir -p "$FDIR"
  cp "$BUILD/$TARGET/polrix.exe" "$FDIR/polrix.exe"
  cp "$ROOT/examples/polrix.xml" "$FDIR/polrix.xml"
  WINEPREFIX="$FAULT_PREFIX" wine_prefix_ready || return 1
  FTEMP=$(WINEPREFIX="$FAULT_PREFIX" wine_temp_dir)
  WINEPREFIX="$FAULT_PREFIX" wine_server_end
  [ -n "$FTEMP" ]
}

fault_end() {
  WINEPREFIX="$FAULT_PREFIX" wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1 || true
  WINEPREFIX="$FAULT_PREFIX" wine_server_end
}

# The start of every case: the prefix's own server (ended by the trap), the
# locator's server registered in both views (each program loads its own
# build), no settings but the limit, no trace, log, report or export, and
# the script given on stdin (not through a pipe: the case goes on in this
# shell, with what this sets).
fault_case() {
  export WINEPREFIX="$FAULT_PREFIX"
  export POLRIX_WMI_FAULT_SCRIPT="$WIN_FDIR\\script.txt"
  trap fault_end EXIT
  wineserver -p60
  local view bits
  for bits in 32 64; do
    view=$( [ $bits = 32 ] && echo win32 || echo win64 )
    wine reg add "$LOCATOR_KEY" /ve /d "Z:$(echo "$BUILD/$view/wmi_fault.dll" | tr '/' '\\')" /f /reg:$bits >/dev/null
    wine reg add "$LOCATOR_KEY" /v ThreadingModel /d Both /f /reg:$bits >/dev/null
  done
  wine reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1 || true
  wine reg add "$SETTINGS_KEY" /v wt /t REG_DWORD /d $LIMIT /f >/dev/null
  LOG="$FTEMP/polrix.log"
  REPORT="$FTEMP/polrix.htm"
  EXPORT="$FDIR/polrix.txt"
  rm -f "$FTRACE" "$LOG" "$REPORT" "$EXPORT"
  cat >"$FSCRIPT"
}

# The batch run in the case's prefix: exit code in $RC, seconds in $TOOK.
fault_batch() {
  local start=$SECONDS
  set +e
  (cd "$FDIR" && timeout "${1:-150}" wine "$FDIR/polrix.exe" x)
  RC=$?
  set -e
  TOOK=$((SECONDS - start))
  echo "exit code $RC after $TOOK s"
  # What Wine says when the program did not even start.
  if [ "$RC" != 0 ] && [ "$TOOK" -lt 2 ]; then
    echo "servers of the prefix: $(wine_server_pids | tr '\n' ' ')"
    (cd "$FDIR" && WINEDEBUG=err+all timeout 60 wine "$FDIR/polrix.exe" x) 2>&1 | tail -20 || true
  fi
}

# The export without the lines of the classes given, volatile values blanked.
export_without() {
  local file=$1; shift
  local skip
  skip=$(IFS='|'; echo "$*")
  awk -F'\t' -v OFS='\t' -v skip="^(${skip:-none})\$" -v vol="^($VOLATILE)\$" \
    '{sub(/\r$/, "")} $1 == "WMI" && $2 ~ skip {next} $4 ~ vol {$5 = ""} {print}' "$file"
}

# The report's list headings, without those of the classes given.
headings_without() {
  local file=$1; shift
  local skip
  skip=$(IFS='|'; echo "$*")
  grep -o "<h3>.*</h3>" "$file" | grep -Ev "</a>(${skip:-none}) <img" || true
}

# Next was asked with the limit as its time-out, never without one.
expect_bounded_next() {
  grep -q "^Next .* timeout=$((LIMIT * 1000))"$'\r'"\$" "$FTRACE" || fail "no Next with the limit as its time-out in the trace"
  ! grep -q 'timeout=4294967295' "$FTRACE" || fail "Next was asked to wait for ever"
}

# The undisturbed run: every class from Wine's service through the DLL. Its
# export and report are what the other cases compare with.
faults_undisturbed() {
  fault_case </dev/null
  fault_batch
  expect_eq "$RC" 0 "exit code"
  expect_eq "$(grep -c '^ExecQuery ' "$FTRACE")" 16 "queries through the fault server"
  expect_bounded_next
  ! grep -q '^Failed to' "$LOG" || fail "a failure in the undisturbed run"
  grep -q "^WMI	Win32_Bios	" "$EXPORT" || fail "no Win32_Bios in the export"
  cp "$EXPORT" "$FDIR/undisturbed.txt"
  cp "$REPORT" "$FDIR/undisturbed.htm"
}

undisturbed_ready() { [ -f "$FDIR/undisturbed.txt" ] || fail "no undisturbed run to compare with"; }

# One fault: the class it hurts ("all" for every WMI class), the log line
# that follows that class's query line (for "all": a line of every class),
# the longest the run may take, whether the class keeps the rows of the
# undisturbed run (the fault came after them) and the script.
fault_row() {
  local name=$1 class=$2 line=$3 longest=$4 kept=$5 script=$6
  echo "== $name"
  undisturbed_ready
  fault_case < <(printf '%b' "$script")
  fault_batch 200
  expect_eq "$RC" 0 "$name: exit code"
  [ "$TOOK" -lt "$longest" ] || fail "$name: took $TOOK s, not under $longest s"
  local classes
  if [ "$class" = all ]; then
    classes=$(awk -F'\t' '$1 == "WMI" {print $2}' "$FDIR/undisturbed.txt" | sort -u | tr '\n' ' ')
    expect_eq "$(grep -c "^${line//\*/.*}"$'\r'"\$" "$LOG")" 16 "$name: [$line] for each of the 16 classes"
    # Every WMI list failed; the registry list is there as undisturbed.
    expect_eq "$(export_without "$EXPORT" $classes)" "$(export_without "$FDIR/undisturbed.txt" $classes)" "$name: export"
    ! grep -q '^WMI	' "$EXPORT" || fail "$name: WMI rows in the export"
  else
    classes=$class
    [ "$kept" = no ] || classes=none
    expect_lines_in_order "$LOG" "  SELECT * FROM $class" "$line"
    expect_eq "$(export_without "$EXPORT" $classes)" "$(export_without "$FDIR/undisturbed.txt" $classes)" "$name: export of the other lists"
    expect_bounded_next
  fi
  expect_eq "$(headings_without "$REPORT" $classes)" "$(headings_without "$FDIR/undisturbed.htm" $classes)" "$name: report"
  expect_eq "$(tr -d '\r' <"$LOG" | tail -1)" "CGUI::~CGUI () OK ..." "$name: last log line"
  fault_end
}

BIOS_OBJECT='class Win32_Bios\nobject\nvalue Manufacturer str Fault Maker\nvalue SerialNumber str FAULT-1\nvalue Version i4 -7\n'

faults_batch_table() {
  local l=$LIMIT
  #         name            class       the log line after its query                                        longest kept script
  fault_row next-stall      Win32_Bios  "Failed to read list: Win32_Bios! No answer from Next within $l s"  35 no  'class Win32_Bios\npass\nnext wait forever\n'
  fault_row next-timed-out  Win32_Bios  "Failed to enumerate Next! Error: 0x00040004"                       35 no  'class Win32_Bios\npass\nnext slow forever\n'
  fault_row timed-out-after Win32_Bios  "Failed to enumerate Next! Error: 0x00040004"                       35 yes 'class Win32_Bios\npass\nnext at 2 slow forever\n'
  fault_row query-stall     Win32_Bios  "Failed to read list: Win32_Bios! No answer from ExecQuery within $l s" 35 no 'class Win32_Bios\npass\nquery wait forever\n'
  fault_row connect-stall   all "Failed to read list: * No answer from ConnectServer within $l s" $((16 * (l + 2) + 20)) no 'connect wait forever\n'
  fault_row connect-fails   all "Failed to connect IWbemLocator! Error: 0x80041003"                     35 no  'connect fail 0x80041003\n'
  fault_row query-fails     Win32_Bios  "Failed to query table Win32_Bios! Error: 0x80041010"               35 no  'class Win32_Bios\npass\nquery fail 0x80041010\n'
  fault_row next-fails      Win32_Bios  "Failed to enumerate Next! Error: 0x80041001"                       35 no  'class Win32_Bios\npass\nnext fail 0x80041001\n'
  fault_row fails-after     Win32_Bios  "Failed to enumerate Next! Error: 0x80041001"                       35 yes 'class Win32_Bios\npass\nnext at 2 fail 0x80041001\n'
  fault_row names-fail      Win32_Bios  "Failed GetNames ()! Error: 0x80041004"                             35 no  "${BIOS_OBJECT}names fail 0x80041004\n"
  ! grep -q '^WMI	Win32_Bios	' "$EXPORT" || fail "names-fail: an object without names gave rows"
  fault_row get-fails       Win32_Bios  "  SELECT OK m:1, n: 2"                                             35 no  "${BIOS_OBJECT}get SerialNumber fail 0x80041002\n"
  # The property whose Get failed is no item; the others are read.
  expect_eq "$(awk -F'\t' '{sub(/\r$/, "")} $2 == "Win32_Bios" {print $4 "=" $5}' "$EXPORT" | tr '\n' ' ')" \
    "Manufacturer=Fault Maker Version=-7 " "get-fails: the Win32_Bios rows"
}

# Objects that come slowly, each within the limit: every row is kept, the
# export and the report are whole, nothing failed.
faults_slow_objects() {
  undisturbed_ready
  fault_case < <(printf 'class Win32_LogicalDisk\npass\nnext slow 2\n')
  fault_batch
  expect_eq "$RC" 0 "exit code"
  local nexts
  nexts=$(grep -c '^Next Win32_LogicalDisk ' "$FTRACE")
  [ "$TOOK" -ge $((2 * nexts)) ] || fail "took $TOOK s for $nexts slow objects of 2 s"
  [ "$nexts" -ge 2 ] || fail "only $nexts Next calls for Win32_LogicalDisk"
  ! grep -q '^Failed to' "$LOG" || fail "a failure with slow objects"
  expect_eq "$(export_without "$EXPORT")" "$(export_without "$FDIR/undisturbed.txt")" "export"
  expect_eq "$(headings_without "$REPORT")" "$(headings_without "$FDIR/undisturbed.htm")" "report"
  expect_bounded_next
}

faults_temp_missing() {
  undisturbed_ready
  fault_case </dev/null
  local saved type value
  read -r _ type value < <(reg_query 'HKCU\Environment' /v TEMP | grep -E '^\s+TEMP\s')
  echo "TEMP was $type $value"
  [ -n "$value" ] || fail "no TEMP in HKCU\\Environment"
  trap "wine reg add 'HKCU\\Environment' /v TEMP /t $type /d '$value' /f >/dev/null 2>&1; fault_end" EXIT
  wine reg add 'HKCU\Environment' /v TEMP /t REG_SZ /d 'C:\no\such\folder' /f >/dev/null
  wineserver -k; wineserver -p60  # a new session reads the environment anew
  (cd "$FDIR" && timeout 120 wine "$FDIR/polrix.exe" x) &
  local pid=$! box box_rc=0
  # Any box that comes within 15 s is found and closed, so the run goes on.
  box=$(timeout 60 wine "$TOOLS/boxclose.exe" 15 | tr -d '\r') || box_rc=$?
  RC=0
  wait "$pid" || RC=$?
  echo "$box"
  expect_eq "$box_rc" 1 "a box came (boxclose's exit code)"
  expect_eq "$RC" 0 "exit code"
  [ -s "$EXPORT" ] || fail "no export"
  [ ! -e "$REPORT" ] || fail "a report in the usual TEMP folder: the missing TEMP did not take effect"
  expect_eq "$(export_without "$EXPORT")" "$(export_without "$FDIR/undisturbed.txt")" "export"
  wine reg add 'HKCU\Environment' /v TEMP /t "$type" /d "$value" /f >/dev/null
  expect_eq "$(reg_query 'HKCU\Environment' /v TEMP | grep -cE "^\s+TEMP\s+$type\s+")" 1 "TEMP restored"
}

# ---- the window ------------------------------------------------------------------

# The window in the case's prefix, started as window_start does, with this
# case's folder, log and report; the trap, set before anything can fail,
# ends both the window and the prefix's server.
fault_window_start() {
  rm -f "$FDIR/exit_code" "$LOG" "$REPORT"
  (cd "$FDIR" && exec timeout 300 wine explorer "/desktop=$DESK,1280x1024" "$(win_path "$TOOLS/launch.exe")" \
    "$WIN_FDIR\\exit_code" "$WIN_FDIR\\polrix.exe") >/dev/null 2>&1 &
  WINDOW_PID=$!
  trap 'E2E="$FDIR" window_leftover; fault_end' EXIT
  window_geometry
}

# A click on a stalled class: the frame answers at once and throughout the
# stall, Enter writes a report without the list; after the limit a click on
# another WMI list gives the read up, reads and shows its list; a root click
# reads the rest; the window then closes cleanly.
faults_window_stalled_click() {
  undisturbed_ready
  fault_case < <(printf 'class Win32_Bios\npass\nnext wait forever\n')
  local E2E="$FDIR" WIN_E2E="$WIN_FDIR"
  fault_window_start
  click_tree_item "$(tree_index Win32_Bios "$FDIR/polrix.xml")"
  wait_log "  SELECT * FROM Win32_Bios" 10
  local i stalled=$SECONDS
  for i in 1 2 3; do
    wine "$TOOLS/windowinfo.exe" "$DESK" answers 5 || fail "the frame did not answer during the stall ($i)"
    sleep 1
  done
  # Enter writes the report at once; the list being read is not in it yet.
  rm -f "$REPORT"
  xdotool key Return
  sleep 0.5
  wine "$TOOLS/windowinfo.exe" "$DESK" answers 5 || fail "the frame did not answer after Enter"
  [ -s "$REPORT" ] || fail "Enter wrote no report during the stall"
  ! grep -q "</a>Win32_Bios <img" "$REPORT" || fail "the report shows the list that is still being read"
  xdotool key Return
  sleep 0.5
  # The window gives the read up when a click needs the reader after the
  # limit has passed without an answer.
  while [ $((SECONDS - stalled)) -le $((LIMIT + 1)) ]; do sleep 0.5; done
  wine "$TOOLS/windowinfo.exe" "$DESK" answers 5 || fail "the frame did not answer after the limit"
  local shown
  shown=$(grep -c '^mhtm::OnShow ' "$LOG" || true)
  click_tree_item "$(tree_index Win32_Processor "$FDIR/polrix.xml")"
  wait_log "Failed to read list: Win32_Bios! No answer from Next within $LIMIT s" 10
  wait_log "  SELECT * FROM Win32_Processor" 10
  # The read list is shown: one more page shown than before the click.
  for i in $(seq 150); do
    [ "$(grep -c '^mhtm::OnShow ' "$LOG" || true)" -gt "$shown" ] && break
    sleep 0.1
  done
  [ "$(grep -c '^mhtm::OnShow ' "$LOG" || true)" -gt "$shown" ] || fail "Win32_Processor was not shown"
  window_geometry
  save_list_view "$FDIR/processor.txt"
  local rows
  rows=$(awk -F'\t' '{sub(/\r$/, "")} $1 == "WMI" && $2 == "Win32_Processor" {print $4 "\t" $5}' "$FDIR/undisturbed.txt")
  [ -n "$rows" ] || fail "no Win32_Processor rows in the undisturbed run"
  expect_eq "$(tr -d '\r' <"$FDIR/processor.txt")" "$(printf 'Attribute\tValue\n%s' "$rows")" "list view of Win32_Processor"
  shot faults-after-stall
  # The root reads every other list; the given-up list is not read again,
  # and the report holds every list of the undisturbed run but that one.
  click_tree_item 0
  wait_log "mapp::OnRWMI () OK ..." 60
  wine "$TOOLS/windowinfo.exe" "$DESK" answers 5 || fail "the frame did not answer after the root click"
  expect_eq "$(grep -c '^  SELECT \* FROM Win32_Bios' "$LOG")" 1 "reads of Win32_Bios"
  expect_eq "$(headings_without "$REPORT" Win32_Bios)" "$(headings_without "$FDIR/undisturbed.htm" Win32_Bios)" "report after the root click"
  expect_bounded_next
  wine "$TOOLS/windowinfo.exe" "$DESK" close 10
  window_wait_end
  expect_clean_end
}

# Closing while a read is stalled: the program ends within the limit and a
# margin, exit code 0, a whole log.
faults_window_close_stalled() {
  fault_case < <(printf 'class Win32_Bios\npass\nquery wait forever\n')
  local E2E="$FDIR" WIN_E2E="$WIN_FDIR"
  fault_window_start
  click_tree_item "$(tree_index Win32_Bios "$FDIR/polrix.xml")"
  wait_log "  SELECT * FROM Win32_Bios" 10
  sleep 1
  local start=$SECONDS
  wine "$TOOLS/windowinfo.exe" "$DESK" close 10
  window_wait_end
  echo "ended $((SECONDS - start)) s after the close"
  [ $((SECONDS - start)) -le $((LIMIT + 10)) ] || fail "the close took longer than the limit and a margin"
  expect_clean_end
}

if fault_prefix_ready; then
  for c in faults_undisturbed faults_batch_table faults_slow_objects faults_temp_missing faults_window_stalled_click \
    faults_window_close_stalled; do
    run_case "$c"
  done
else
  echo "FAIL faults_prefix (the prefix $FAULT_PREFIX could not be made)"
  CASE_FAILS=$((CASE_FAILS + 1))
fi
