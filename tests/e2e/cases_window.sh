# The window of polrix.exe, driven like a user drives it: the program runs on
# a Wine desktop, the test clicks and types with xdotool at points computed
# from the window's own geometry (tools/windowinfo.exe joins the desktop and
# reads it), and checks the files, the log, the registry, the exit code (kept
# by tools/launch.exe) and what the result list shows (through its "Save List
# View as ..." export). Screenshots go to build/screenshots/. Sourced by
# run_all.

DESK=polrix
SHOTS="$BUILD/screenshots"
FIX="$ROOT/tests/e2e/fixtures"
mkdir -p "$SHOTS"
WIN_TEMP=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
COMPUTER=$(wine cmd /c echo %COMPUTERNAME% 2>/dev/null | tr -d '\r')

win_path() { echo "Z:$(echo "$1" | tr '/' '\\')"; }

# ---- the window's life ---------------------------------------------------------

# Starts polrix.exe without an argument (the window) on the Wine desktop
# through launch.exe, which writes its exit code to $E2E/exit_code, and waits
# for the frame. A window left over by a failing case is ended by the exit
# trap set here.
window_start() {
  window_launch
  window_geometry
}

# The same start without waiting for the frame; options given go to
# launch.exe (--refuse-client).
window_launch() {
  rm -f "$E2E/exit_code" "$LOG" "$REPORT"
  (cd "$E2E" && exec timeout 300 wine explorer "/desktop=$DESK,1280x1024" "$(win_path "$TOOLS/launch.exe")" "$@" \
    "$WIN_E2E\\exit_code" "$WIN_E2E\\polrix.exe") >/dev/null 2>&1 &
  WINDOW_PID=$!
  trap window_leftover EXIT
}

window_leftover() {
  [ -n "${WINDOW_PID:-}" ] || return 0
  local i
  if [ ! -f "$E2E/exit_code" ]; then
    echo "ending the window left over"
    timeout 20 wine "$TOOLS/boxclose.exe" 1 "$DESK" >/dev/null 2>&1 || true
    timeout 20 wine "$TOOLS/windowinfo.exe" "$DESK" close 1 >/dev/null 2>&1 || true
    for i in $(seq 100); do [ -f "$E2E/exit_code" ] && break; sleep 0.1; done
    [ -f "$E2E/exit_code" ] || wine taskkill /f /im polrix.exe >/dev/null 2>&1 || true
    for i in $(seq 100); do [ -f "$E2E/exit_code" ] && break; sleep 0.1; done
    [ -f "$E2E/exit_code" ] || kill "$WINDOW_PID" 2>/dev/null || true
  fi
  wait "$WINDOW_PID" 2>/dev/null || true
  WINDOW_PID=""
}

# Waits for the program's end; its exit code in $RC.
window_wait_end() {
  local i
  for i in $(seq 600); do
    [ -f "$E2E/exit_code" ] && break
    sleep 0.1
  done
  [ -f "$E2E/exit_code" ] || { fail "polrix.exe did not end"; return 1; }
  RC=$(tr -d '\r\n' <"$E2E/exit_code")
  wait "$WINDOW_PID" || true
  WINDOW_PID=""
}

# The frame's geometry and state as key=value lines (see windowinfo.cpp).
window_geometry() {
  GEO=$(wine "$TOOLS/windowinfo.exe" "$DESK" frame 60 | tr -d '\r') || { fail "no frame window"; return 1; }
}
geo() { sed -n "s/^$1=//p" <<<"$GEO"; }

shot() { import -window root "$SHOTS/$TARGET-$1.png"; }

# ---- waiting ---------------------------------------------------------------------

# The log holds the line (grep reads it all: see expect_contains).
log_has() { tr -d '\r' <"$LOG" | grep -xF -- "$1" >/dev/null; }

# Waits up to SECONDS (default 30) until the log holds the line.
wait_log() {
  local line=$1 i
  for i in $(seq $((${2:-30} * 10))); do
    [ -f "$LOG" ] && log_has "$line" && return 0
    sleep 0.1
  done
  fail "the log never got [$line]"
}

# Waits up to SECONDS (default 30) until the file is there.
wait_file() {
  local i
  for i in $(seq $((${2:-30} * 10))); do
    [ -f "$1" ] && return 0
    sleep 0.1
  done
  fail "$1 was not written"
}

# ---- clicks and keys at points taken from the geometry --------------------------------

click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }

# The screen point of item N of the tree (0 the root, then the lists in file
# order): on its text, right of the button and the 16-pixel icon of its level.
tree_item_point() {
  local n=$1 l t r b height indent level=1
  read -r l t r b <<<"$(geo tree_client)"
  height=$(geo tree_item_height)
  indent=$(geo tree_indent)
  [ "$n" -gt 0 ] || level=0
  echo $((l + (level + 1) * indent + 16 + 12)) $((t + n * height + height / 2))
}
click_tree_item() {
  click_at $(tree_item_point "$1")
  sleep 0.4  # a next click on the same item is a click again, not a double click
}

# Toolbar button N (0 open, 1 save, 2 check-box mode).
click_toolbar() {
  local l t r b w h
  read -r l t r b <<<"$(geo toolbar_client)"
  read -r w h <<<"$(geo toolbar_button)"
  click_at $((l + $1 * w + w / 2)) $((t + h / 2))
}

# The check box of row N of the result list.
click_list_box() {
  local l t r b header row
  read -r l t r b <<<"$(geo list_client)"
  header=$(geo list_header_height)
  row=$(geo list_row_height)
  click_at $((l + 8)) $((t + header + $1 * row + row / 2))
}

# Opens a menu of the menu bar ("File" is the first; the others are reached
# with the Right key) and presses the keys given.
menu_keys() {
  local l t r b cymenu
  read -r l t r b <<<"$(geo frame_client)"
  cymenu=$(geo metrics | cut -d' ' -f4)
  click_at $((l + 12)) $((t - cymenu / 2 - 1))
  xdotool key "$@"
  sleep 0.3
}
menu_exit() { menu_keys x; }
menu_save_list_view() { menu_keys a; }
menu_save_queries() { menu_keys Down Down Down Return; }  # below Open... and Configure
menu_info() { menu_keys Right Right Down Return; }

# Types the Windows path into the file dialog of that caption and confirms.
file_dialog() {
  local caption=$1 path=$2
  wine "$TOOLS/windowinfo.exe" "$DESK" typeable "$caption" 20 || { fail "no dialog $caption to type in"; return 1; }
  xdotool type --delay 10 "$path"
  xdotool key Return
  wine "$TOOLS/windowinfo.exe" "$DESK" nodialog "$caption" 20 || { fail "dialog $caption stays open"; return 1; }
}

# Saves what the result list shows to FILE (a Linux path) and waits for it.
save_list_view() {
  rm -f "$1"
  menu_save_list_view
  file_dialog "Save As" "$(win_path "$1")"
  wait_file "$1"
}

# The position of a list in a query file: its tree item (1 for the first).
tree_index() {
  awk -v n="$1" '{sub(/\r$/, "")} /^ *<list>/ {i++} /^     <name>/ {sub(/^ *<name>/, ""); sub(/<\/name>$/, ""); if ($0 == n) {print i; exit}}' "$2"
}

WINDOW_BUILT=(
  "CGUI::CGUI () OK ..." "CWMI::CWMI () OK ..." "mtrc::mtrc () OK ..." "mbox::mbox () OK ..."
  "mapp::mapp () OK ..." "mdoc::mdoc () OK ..." "mtbr::mtbr () OK ..." "mspw::mspw () OK ..."
  "mwin::mwin () OK ..." "mvwt::mvwt () OK ..." "mapp::OnRCFG () OK ..." "mhtm::mhtm () OK ..."
  "  OnInitialUpdate OK ..."
)
WINDOW_TORN_DOWN=(
  "mvwt::~mvwt () OK ..." "mhtm::~mhtm () OK ..." "mwin::~mwin () OK ..." "mspw::~mspw () OK ..."
  "mtbr::~mtbr () OK ..." "mdoc::~mdoc () OK ..." "mapp::~mapp () OK ..." "mbox::~mbox () OK ..."
  "mtrc::~mtrc () OK ..." "CWMI::~CWMI () OK ..."
)

# Exit code 0, and the log whole: built, torn down, the settings object last.
expect_clean_end() {
  expect_eq "$RC" 0 "exit code"
  expect_lines_in_order "$LOG" "${WINDOW_BUILT[@]}" "${WINDOW_TORN_DOWN[@]}"
  expect_eq "$(tr -d '\r' <"$LOG" | tail -1)" "CGUI::~CGUI () OK ..." "last log line"
}

# ---- cases -------------------------------------------------------------------------

# Every case starts from no stored settings and the query file given (a path
# to copy beside the program, "none" or "empty").
window_case() {
  reg_delete_settings
  case $1 in
    none) rm -f "$E2E/polrix.xml" ;;
    empty) : >"$E2E/polrix.xml" ;;
    *) cp "$1" "$E2E/polrix.xml" ;;
  esac
}

window_start_writes_default_queries() {
  window_case none
  window_start
  cmp "$E2E/polrix.xml" "$ROOT/examples/polrix.xml" || fail "the default query file differs from examples/polrix.xml"
  expect_eq "$(geo caption)" "$WIN_E2E\\polrix.xml - Polrix" "caption"
  expect_eq "$(geo tree_items)" 18 "tree items: the root and 17 lists"
  expect_eq "$(geo toolbar_buttons)" 4 "toolbar buttons with the separator"
  shot start
  menu_exit
  window_wait_end
  expect_clean_end
}

window_start_keeps_existing_queries() {
  # An empty file: left empty, a tree with the root alone, a root click reads
  # nothing and ends well.
  window_case empty
  window_start
  [ ! -s "$E2E/polrix.xml" ] || fail "the empty query file was written"
  expect_eq "$(geo tree_items)" 1 "tree items of an empty query file"
  click_tree_item 0
  wait_log "mapp::OnSWMI () OK ..."
  wine "$TOOLS/windowinfo.exe" "$DESK" close 10
  window_wait_end
  expect_clean_end
  [ ! -s "$E2E/polrix.xml" ] || fail "the empty query file was written"
  # A file of its own: byte for byte what it was.
  cp "$FIX/registry_modes.xml" "$E2E/polrix.xml"
  window_start
  cmp "$E2E/polrix.xml" "$FIX/registry_modes.xml" || fail "the query file was changed"
  expect_eq "$(geo tree_items)" 6 "tree items: the root and 5 lists"
  wine "$TOOLS/windowinfo.exe" "$DESK" close 10
  window_wait_end
  expect_clean_end
}

# Placement values as the settings key holds them, "name=value" in decimal.
stored_placement() {
  local name type value
  reg_query "$SETTINGS_KEY" | while read -r name type value; do
    case "$name $type" in
      "xo REG_DWORD" | "yo REG_DWORD" | "xs REG_DWORD" | "ys REG_DWORD") echo "$name=$((value))" ;;
    esac
  done | sort
}

window_placement() {
  window_case "$ROOT/examples/polrix.xml"
  window_start
  local cx cy cap max_w max_h w h
  read -r cx cy cap _ max_w max_h <<<"$(geo metrics)"
  w=$((cx + 1))
  h=$((cy + cap))
  expect_eq "$(stored_placement | tr '\n' ' ')" "xo=$((w / 6)) xs=$((2 * w / 3)) yo=$((h / 6)) ys=$((2 * h / 3)) " "placement written"
  expect_eq "$(geo frame)" "$((w / 6)) $((h / 6)) $((w / 6 + 2 * w / 3)) $((h / 6 + 2 * h / 3))" "frame rectangle"
  wine "$TOOLS/windowinfo.exe" "$DESK" close 10
  window_wait_end
  expect_clean_end
  # Full screen: the frame covers (0,0,W,H) and nothing is written. The
  # system keeps a window within its largest tracking size.
  reg_delete_settings
  wine reg add "$SETTINGS_KEY" /v fs /t REG_DWORD /d 1 /f >/dev/null
  window_start
  expect_eq "$(geo frame)" "0 0 $((w < max_w ? w : max_w)) $((h < max_h ? h : max_h))" "full-screen frame rectangle"
  expect_eq "$(stored_placement)" "" "placement written in full-screen mode"
  wine "$TOOLS/windowinfo.exe" "$DESK" close 10
  window_wait_end
  expect_clean_end
  reg_delete_settings
}

UNINSTALL_KEY='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
uninstall_fixture() {
  local entry
  for entry in PolrixWindowA PolrixWindowB; do
    wine reg delete "$UNINSTALL_KEY\\$entry" /f $REG_VIEW >/dev/null 2>&1 || true
  done
  [ "${1:-}" = remove ] && return 0
  wine reg add "$UNINSTALL_KEY\\PolrixWindowA" /v DisplayName /d "Window Tool A" /f $REG_VIEW >/dev/null
  wine reg add "$UNINSTALL_KEY\\PolrixWindowA" /v DisplayVersion /d "1.0" /f $REG_VIEW >/dev/null
  wine reg add "$UNINSTALL_KEY\\PolrixWindowB" /v DisplayName /d "Window Tool B" /f $REG_VIEW >/dev/null
  wine reg add "$UNINSTALL_KEY\\PolrixWindowB" /v DisplayVersion /d "2.5" /f $REG_VIEW >/dev/null
}

window_tree_reads_and_shows() {
  window_case "$ROOT/examples/polrix.xml"
  uninstall_fixture
  # The batch run of the same file is the oracle of the values.
  run_polrix x
  expect_eq "$RC" 0 "batch exit code"
  local processor_rows
  processor_rows=$(tr -d '\r' <"$EXPORT" | awk -F'\t' '$1 == "WMI" && $2 == "Win32_Processor" {print $4 "\t" $5}')
  [ -n "$processor_rows" ] || fail "the batch run read no Win32_Processor values"

  window_start
  expect_eq "$(geo caption)" "$WIN_E2E\\polrix.xml - Polrix" "caption after the start"
  click_tree_item "$(tree_index Win32_Processor "$E2E/polrix.xml")"
  wait_log "  SELECT * FROM Win32_Processor"
  wait_log "mhtm::OnShow $WIN_TEMP\\polrix.htm" 10
  wine "$TOOLS/windowinfo.exe" "$DESK" caption "$COMPUTER - Polrix" 10 || fail "caption after the list was shown"
  window_geometry
  shot tree-and-list
  save_list_view "$E2E/processor.txt"
  expect_eq "$(tr -d '\r' <"$E2E/processor.txt")" "$(printf 'Attribute\tValue\n%s' "$processor_rows")" "list view of Win32_Processor"

  # The registry list: the first click reads without showing, the second shows.
  local uninstall
  uninstall=$(tree_index 'SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall' "$E2E/polrix.xml")
  click_tree_item "$uninstall"
  wait_log "  RegRead OK m:2, n: 3"
  save_list_view "$E2E/registry-first.txt"
  cmp "$E2E/registry-first.txt" "$E2E/processor.txt" || fail "the first click on the registry list changed the result list"
  click_tree_item "$uninstall"
  save_list_view "$E2E/registry-second.txt"
  expect_eq "$(tr -d '\r' <"$E2E/registry-second.txt")" \
    "$(printf 'Entry\tDisplayName\tDisplayVersion\nPolrixWindowA\tWindow Tool A\t1.0\nPolrixWindowB\tWindow Tool B\t2.5')" "list view of the registry list"

  # The root: every list read, the report written, the result list emptied.
  click_tree_item 0
  wait_log "mapp::OnRWMI () OK ..." 60
  # The frame answers once the click's work is done on the window thread.
  window_geometry
  expect_lines_in_order "$LOG" "mapp::OnRWMI () OK ..." "mapp::OnSWMI () OK ..."
  local class selects
  selects=$(tr -d '\r' <"$LOG" | grep -c '^  SELECT \* FROM ')
  for class in $(tr -d '\r' <"$E2E/polrix.xml" | sed -n 's/^     <name>\(Win32_[A-Za-z]*\)<\/name>$/\1/p'); do
    expect_contains "$LOG" "  SELECT * FROM $class"
  done
  expect_eq "$selects" 16 "WMI lists read in all (each once)"
  expect_eq "$(tr -d '\r' <"$LOG" | grep -c '^CWMI::read_rkey ()')" 1 "registry list read once"
  [ -s "$REPORT" ] || fail "no report"
  # A value of a list that only the root click read.
  local serial
  serial=$(tr -d '\r' <"$EXPORT" | awk -F'\t' '$2 == "Win32_OperatingSystem" && $4 == "SerialNumber" {print $5}')
  [ -n "$serial" ] || fail "the batch run read no SerialNumber"
  grep -qF -- "$serial" "$REPORT" || fail "the report lacks the operating system's serial number $serial"
  expect_eq "$(geo list_rows)" 0 "rows after the root click"
  save_list_view "$E2E/root.txt"
  [ ! -s "$E2E/root.txt" ] || fail "the list view export after the root click is not empty"
  menu_exit
  window_wait_end
  uninstall_fixture remove
  expect_clean_end
}

window_check_box_mode() {
  wine reg delete 'HKCU\Software\PolrixE2E' /f >/dev/null 2>&1 || true
  wine regedit /s "$(winepath -w "$FIX/registry_modes.reg" 2>/dev/null)" >/dev/null 2>&1
  window_case "$FIX/registry_modes.xml"
  window_start
  # The Apps list: three keys, three items, a table.
  click_tree_item 1
  wait_log "  RegRead OK m:3, n: 3"
  click_tree_item 1
  save_list_view "$E2E/table.txt"
  expect_eq "$(head -1 "$E2E/table.txt" | tr -d '\r')" "$(printf 'DisplayName\tDisplayVersion\tSize')" "table headings"
  expect_eq "$(tr -d '\r' <"$E2E/table.txt" | wc -l)" 4 "table lines"
  window_geometry
  expect_eq "$(geo list_checkboxes)" 0 "check boxes before"
  expect_eq "$(geo toolbar_state_204)" 4 "check-box button before (enabled, not pressed)"

  click_toolbar 2
  window_geometry
  expect_eq "$(geo toolbar_state_204)" 5 "check-box button pressed"
  expect_eq "$(geo list_checkboxes)" 1 "check boxes shown"
  expect_eq "$(geo list_checked)" 111 "boxes from the items' flags"
  shot check-boxes
  # The table turned into attribute rows with the values of the first key.
  save_list_view "$E2E/checks.txt"
  expect_eq "$(tr -d '\r' <"$E2E/checks.txt")" \
    "$(printf 'Attribute\tValue\nDisplayName\tAlpha\nDisplayVersion\t1.2 rc\nSize\t300')" "attribute rows in check-box mode"

  # Untick DisplayVersion: the saved queries keep DisplayName and Size of
  # this list, the lists not chosen from keep what their file gave them.
  click_list_box 1
  window_geometry
  expect_eq "$(geo list_checked)" 101 "boxes after the click"
  rm -f "$E2E/saved queries.xml"
  menu_save_queries
  file_dialog "Save As" "$WIN_E2E\\Saved Queries.XML"
  wait_file "$E2E/saved queries.xml"
  [ ! -e "$E2E/Saved Queries.XML" ] || fail "saved under the typed letter case"
  awk '{sub(/\r$/, "")} /<name>Software\\PolrixE2E\\Apps<\/name>/ {on = 1} on {print} on && /<\/list>/ {exit}' "$E2E/saved queries.xml" >"$E2E/apps.xml"
  cat "$E2E/apps.xml"
  expect_eq "$(grep -c '<item>' "$E2E/apps.xml")" 2 "items saved for the Apps list"
  grep -qx '      <name>DisplayName</name>' "$E2E/apps.xml" || fail "DisplayName not saved"
  grep -qx '      <name>Size</name>' "$E2E/apps.xml" || fail "Size not saved"
  ! grep -q 'DisplayVersion' "$E2E/apps.xml" || fail "the unticked DisplayVersion was saved"
  # Another list, not customised, keeps its own items.
  grep -q '<name>missing</name>' "$E2E/saved queries.xml" || fail "the Plain list lost its items"

  # Off again: the boxes go, the button comes up.
  click_toolbar 2
  window_geometry
  expect_eq "$(geo list_checkboxes)" 0 "check boxes after the second toggle"
  expect_eq "$(geo toolbar_state_204)" 4 "check-box button up again"
  # Enter switches the mode too, and writes the report at once.
  rm -f "$REPORT"
  xdotool key Return
  sleep 0.3
  window_geometry
  expect_eq "$(geo toolbar_state_204)" 5 "check-box button pressed by Enter"
  expect_eq "$(geo list_checkboxes)" 1 "check boxes after Enter"
  [ -s "$REPORT" ] || fail "Enter wrote no report"
  xdotool key Return
  sleep 0.3
  window_geometry
  expect_eq "$(geo toolbar_state_204)" 4 "check-box button up after the second Enter"
  menu_exit
  window_wait_end
  expect_clean_end
  wine reg delete 'HKCU\Software\PolrixE2E' /f >/dev/null 2>&1 || true
}

window_open_query_file() {
  wine reg delete 'HKCU\Software\PolrixE2E' /f >/dev/null 2>&1 || true
  wine regedit /s "$(winepath -w "$FIX/registry_modes.reg" 2>/dev/null)" >/dev/null 2>&1
  window_case "$ROOT/examples/polrix.xml"
  cp "$FIX/registry_modes.xml" "$E2E/other.xml"
  window_start
  expect_eq "$(geo tree_items)" 18 "tree items before the open"
  click_toolbar 0
  file_dialog "Open" "$WIN_E2E\\other.xml"
  # The new file is read, the views updated, and the result list filled from
  # the reader's list, which is none after an open: the overview page then
  # reads every list of the new file and shows the report, and its caption
  # turns to the computer's name.
  wait_log "  HKCU\\Software\\PolrixE2E\\NoSuchKey"
  wait_log "mhtm::OnShow $WIN_TEMP\\polrix.htm"
  expect_lines_in_order "$LOG" "  OnInitialUpdate OK ..." "mapp::OnRCFG () OK ..." "  OnInitialUpdate OK ..." \
    "  HKCU\\Software\\PolrixE2E\\Apps" "  HKCU\\Software\\PolrixE2E\\NoSuchKey" "mapp::OnSWMI () OK ..."
  expect_eq "$(tr -d '\r' <"$LOG" | grep -c '^  SELECT ')" 0 "WMI lists of the old file read"
  wine "$TOOLS/windowinfo.exe" "$DESK" caption "$COMPUTER - Polrix" 10 || fail "caption after the open"
  window_geometry
  expect_eq "$(geo tree_items)" 6 "tree items after the open: rebuilt from the new file"
  expect_eq "$(geo toolbar_state_57603)" 16 "save button greyed (indeterminate alone)"
  expect_eq "$(geo list_rows)" 0 "rows after the open"
  shot after-open
  # The new chain is the one the tree reaches: its Plain list, read by the
  # open, is shown by the first click on its new item.
  click_tree_item 3
  save_list_view "$E2E/plain.txt"
  expect_eq "$(tr -d '\r' <"$E2E/plain.txt")" \
    "$(printf 'Attribute\tValue\n@\tdefault text\nmissing\t\nsz\tplain text\ndword\t5')" "list view of the opened file's list"
  # The greyed save button writes nothing over the opened file.
  click_toolbar 1
  ! wine "$TOOLS/windowinfo.exe" "$DESK" dialog "Save As" 2 >/dev/null || fail "the greyed save button opened a dialog"
  cmp "$E2E/other.xml" "$FIX/registry_modes.xml" || fail "the opened query file was written"
  menu_exit
  window_wait_end
  expect_clean_end
  wine reg delete 'HKCU\Software\PolrixE2E' /f >/dev/null 2>&1 || true
}

window_about_box() {
  window_case "$ROOT/examples/polrix.xml"
  window_start
  menu_info
  wine "$TOOLS/windowinfo.exe" "$DESK" dialog Info 10 || fail "no about box"
  sleep 0.3
  shot about-box
  expect_lines_in_order "$LOG" "CInb::CInb () OK ..." "CInf::CInf () OK ..."
  xdotool key Return
  wine "$TOOLS/windowinfo.exe" "$DESK" nodialog Info 10 || fail "the about box stays open"
  wait_log "CInb::~CInb () OK ..." 5
  expect_eq "$(tr -d '\r' <"$LOG" | grep '^CIn' | tr '\n' '|')" \
    "CInb::CInb () OK ...|CInf::CInf () OK ...|CInf::~CInf () OK ...|CInb::~CInb () OK ...|" "about box log lines"
  menu_exit
  window_wait_end
  expect_clean_end
}

# Closing the window while a WMI list is being read, 20 times: the close is
# queued right behind the click on the list, so it is handled the moment the
# worker has started its read.
window_close_while_reading() {
  window_case "$ROOT/examples/polrix.xml"
  local index run overlapped=0
  index=$(tree_index Win32_Processor "$E2E/polrix.xml")
  for run in $(seq 20); do
    window_start
    wine "$TOOLS/windowinfo.exe" "$DESK" clickclose $(tree_item_point "$index") 10
    window_wait_end
    expect_contains "$LOG" "  SELECT * FROM Win32_Processor"
    expect_clean_end
    # The frame was gone before the read was over when the read's end found
    # no window to show the list in.
    grep -q '^mhtm::OnShow' "$LOG" || overlapped=$((overlapped + 1))
  done
  echo "20 of 20 closes while reading ended with exit code 0 and a whole log;" \
    "in $overlapped of them the frame was gone before the read was over (the list never shown)"
}

for c in window_start_writes_default_queries window_start_keeps_existing_queries window_placement \
  window_tree_reads_and_shows window_check_box_mode window_open_query_file \
  window_about_box window_close_while_reading; do
  run_case "$c"
done
