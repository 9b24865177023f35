# The usual ways of a Windows list tool, in the window of polrix.exe: File >
# Open... and Ctrl+O, status-bar prompts of the menu entries, tool tips of the
# toolbar buttons, save dialogs that add their file type's extension, the
# about box centred on the frame and a frame that cannot be sized below what
# keeps its bars and panes usable. Uses the window helpers of cases_window.sh
# and cases_window_faults.sh (run_all sources this file after both).
# Screenshots go to build/screenshots/.

declare -F window_start >/dev/null && declare -F click_and_show >/dev/null || {
  echo "FAIL cases_window_usual (the window helpers of cases_window.sh and cases_window_faults.sh are not loaded)"
  CASE_FAILS=$((CASE_FAILS + 1))
  return 0
}

# The status bar's first pane while the File menu is open with its first
# entry (Open...) highlighted; the menu is closed again.
open_entry_prompt() {
  menu_keys Down
  window_geometry
  geo status_text
  xdotool key Escape Escape
  sleep 0.3
}

window_open_by_menu_and_key() {
  window_case "$ROOT/examples/polrix.xml"
  printf '<config>\r\n  <list>\r\n     <typ>WMI</typ>\r\n     <path>root\\CIMV2</path>\r\n     <name>Win32_Bios</name>\r\n  </list>\r\n</config>\r\n' \
    >"$E2E/other.xml"
  window_start
  expect_eq "$(open_entry_prompt)" "Opens a query file and shows its lists" "status prompt of File > Open..."
  window_geometry
  expect_eq "$(geo status_text)" "Ready" "the message pane once the menu is closed"
  # File > Open... by its mnemonic: the dialog, cancelled, changes nothing.
  menu_keys o
  wine "$TOOLS/windowinfo.exe" "$DESK" dialog Open 20 >/dev/null || fail "File > Open... showed no dialog"
  shot open-dialog
  xdotool key Escape
  wine "$TOOLS/windowinfo.exe" "$DESK" nodialog Open 20 || fail "the Open dialog stays open"
  window_geometry
  expect_eq "$(geo tree_items)" 18 "tree items after a cancelled Open"
  # Ctrl+O, with the focus back in the window: the same dialog; the file
  # chosen replaces the lists.
  xdotool key ctrl+o
  file_dialog Open "$WIN_E2E\\other.xml"
  # The open reads the new file's lists for the report: the caption turns
  # to the computer's name, as after the toolbar's Open.
  wine "$TOOLS/windowinfo.exe" "$DESK" caption "$COMPUTER - Polrix" 10 || fail "caption after Ctrl+O"
  window_geometry
  expect_eq "$(geo tree_items)" 2 "tree items of the file opened by Ctrl+O"
  menu_exit
  window_wait_end
  expect_clean_end
}

window_toolbar_tips() {
  window_case "$ROOT/examples/polrix.xml"
  window_start
  local l t r b w h button tip
  read -r l t r b <<<"$(geo toolbar_client)"
  read -r w h <<<"$(geo toolbar_button)"
  for button in "0|Open query file (Ctrl+O)" "1|Save List View" "2|Configure queries"; do
    IFS='|' read -r n tip <<<"$button"
    # Away first, so that the tip of the button before is gone.
    xdotool mousemove $((l + 200)) $((t + 200))
    sleep 0.5
    xdotool mousemove $((l + n * w + w / 2)) $((t + h / 2))
    expect_eq "$(wine "$TOOLS/windowinfo.exe" "$DESK" tooltip 10 | tr -d '\r')" "tooltip=$tip" "tip of button $n"
    [ "$n" != 0 ] || shot toolbar-tip
  done
  menu_exit
  window_wait_end
  expect_clean_end
}

# A name typed without an extension gets the dialog's own; a name with one
# keeps it.
window_save_dialogs_add_extension() {
  window_case "$ROOT/examples/polrix.xml"
  window_start
  click_and_show "$(tree_index Win32_Processor "$E2E/polrix.xml")"
  local typed written
  for typed in "bare|bare.txt" "kept.csv|kept.csv"; do
    IFS='|' read -r typed written <<<"$typed"
    rm -f "$E2E/$typed" "$E2E/$written"
    menu_save_list_view
    file_dialog "Save As" "$WIN_E2E\\$typed"
    wait_file "$E2E/$written"
    expect_eq "$(head -1 "$E2E/$written" | tr -d '\r')" "$(printf 'Attribute\tValue')" "headings of $written"
  done
  [ ! -f "$E2E/bare" ] || fail "the list view was saved without its extension"
  for typed in "queries|queries.xml" "other.cfg|other.cfg"; do
    IFS='|' read -r typed written <<<"$typed"
    rm -f "$E2E/$typed" "$E2E/$written"
    menu_save_queries
    file_dialog "Save As" "$WIN_E2E\\$typed"
    wait_file "$E2E/$written"
    grep -q '<config>' "$E2E/$written" || fail "$written holds no queries"
  done
  [ ! -f "$E2E/queries" ] || fail "the queries were saved without their extension"
  menu_exit
  window_wait_end
  expect_clean_end
}

# The about box on a frame away from the screen's centre: its centre is the
# frame's (a pixel either way for the halves).
window_about_centred_on_frame() {
  window_case "$ROOT/examples/polrix.xml"
  local name value fl ft fr fb dl dt dr db
  for name in "xo 20" "yo 30" "xs 640" "ys 480"; do
    read -r name value <<<"$name"
    wine reg add "$SETTINGS_KEY" /v "$name" /t REG_DWORD /d "$value" /f >/dev/null
  done
  window_start
  expect_eq "$(geo frame)" "20 30 660 510" "frame placed as the settings say"
  read -r fl ft fr fb <<<"$(geo frame)"
  menu_info
  read -r dl dt dr db <<<"$(wine "$TOOLS/windowinfo.exe" "$DESK" dialog Info 10 | tr -d '\r' | sed -n 's/^dialog=//p')"
  [ -n "$dl" ] || fail "no about box"
  shot about-centred
  local dx=$(((dl + dr) - (fl + fr))) dy=$(((dt + db) - (ft + fb)))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] ||
    fail "about box $dl $dt $dr $db is not centred on the frame $fl $ft $fr $fb"
  xdotool key Return
  wine "$TOOLS/windowinfo.exe" "$DESK" nodialog Info 10 || fail "the about box stays open"
  menu_exit
  window_wait_end
  expect_clean_end
}

window_minimum_size() {
  window_case "$ROOT/examples/polrix.xml"
  window_start
  GEO=$(wine "$TOOLS/windowinfo.exe" "$DESK" size 120 90 | tr -d '\r')
  local l t r b tl tt tr_ tb sl st sr sb ll lt lr lb
  read -r l t r b <<<"$(geo frame)"
  [ $((r - l)) -ge 480 ] && [ $((b - t)) -ge 360 ] || fail "the frame was sized to $((r - l)) x $((b - t))"
  read -r tl tt tr_ tb <<<"$(geo tree)"
  read -r sl st sr sb <<<"$(geo status)"
  read -r ll lt lr lb <<<"$(geo list)"
  [ "$tb" -gt "$tt" ] && [ "$tb" -le "$st" ] || fail "tree $tl $tt $tr_ $tb and status bar $sl $st $sr $sb overlap"
  [ "$lr" -gt "$ll" ] && [ "$ll" -gt "$tr_" ] || fail "no room for the list ($ll $lt $lr $lb) beside the tree"
  shot minimum-size
  menu_exit
  window_wait_end
  expect_clean_end
}

for c in window_open_by_menu_and_key window_toolbar_tips window_save_dialogs_add_extension \
  window_about_centred_on_frame window_minimum_size; do
  run_case "$c"
done
