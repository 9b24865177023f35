# The result list sorted by its column headings and copied with Ctrl+C, in
# the real window: a registry list of four keys whose sizes sort otherwise
# as numbers than as texts (9, 9, 10, 100 against "10", "100", "9", "9").
# What the list shows is read through its "Save List View as ..." export,
# what Ctrl+C copied through tools/clipboard.exe. Uses the helpers of
# cases_window.sh (window_start, click_tree_item, save_list_view, ...), so
# run_all sources this file after that one. Screenshots go to
# build/screenshots/.

declare -F window_start >/dev/null || {
  echo "FAIL cases_window_sorting (the window helpers of cases_window.sh are not loaded)"
  CASE_FAILS=$((CASE_FAILS + 1))
  return 0
}

# ---- helpers -----------------------------------------------------------------------

SORT_KEY='HKCU\Software\PolrixE2ESort'

# The four keys under the case's own key, and the query file of their list.
sorting_fixture() {
  wine reg delete "$SORT_KEY" /f >/dev/null 2>&1 || true
  [ "${1:-}" = remove ] && return 0
  wine regedit /s "$(winepath -w "$FIX/sorting.reg" 2>/dev/null)" >/dev/null 2>&1
  window_case "$FIX/sorting.xml"
}

# The list of the four keys shown: its first click reads it, the second
# shows it; the geometry then has its columns.
show_sorting_list() {
  click_tree_item 1
  wait_log "  RegRead OK m:4, n: 3"
  click_tree_item 1
  window_geometry
  expect_eq "$(geo list_columns)" 3 "columns of the shown list"
}

# A click on the heading of column N (0 the first), at its middle. The pause
# after it keeps a next click on the same heading from being a double click.
click_heading() {
  local l t r b header x i widths
  read -r l t r b <<<"$(geo list_client)"
  header=$(geo list_header_height)
  read -r -a widths <<<"$(geo list_column_widths)"
  x=$l
  for ((i = 0; i < $1; i++)); do x=$((x + widths[i])); done
  click_at $((x + widths[$1] / 2)) $((t + header / 2))
  sleep 0.4
}

# The screen point of row N of the result list, in its first column.
list_row_point() {
  local l t r b header row
  read -r l t r b <<<"$(geo list_client)"
  header=$(geo list_header_height)
  row=$(geo list_row_height)
  echo $((l + 30)) $((t + header + $1 * row + row / 2))
}

# The export's text without its CR.
export_text() { tr -d '\r' <"$1"; }

# The clipboard: set to a text, or its CF_TEXT (get) or CF_UNICODETEXT
# (getwide) written into a file.
clipboard_set() { wine "$TOOLS/clipboard.exe" "$DESK" set "$1" || fail "the clipboard could not be set"; }
clipboard_get() {
  rm -f "$2"
  wine "$TOOLS/clipboard.exe" "$DESK" "$1" "$(win_path "$2")" || fail "the clipboard holds no text ($1)"
}

# Ctrl+C, then the clipboard's two texts must both be the bytes of FILE.
expect_copied() {
  xdotool key ctrl+c
  sleep 0.5
  clipboard_get get "$E2E/clip.txt"
  clipboard_get getwide "$E2E/clip-wide.txt"
  cmp "$E2E/clip.txt" "$1" || fail "CF_TEXT is not [$(export_text "$1")] but [$(export_text "$E2E/clip.txt")] ($2)"
  cmp "$E2E/clip-wide.txt" "$1" || fail "CF_UNICODETEXT is not the same text ($2)"
}

NATURAL=$'Entry\tName\tSize\nk1\tdelta\t100\nk2\tAlpha\t9\nk3\tcharlie\t10\nk4\tbravo\t9'
BY_SIZE=$'Entry\tName\tSize\nk2\tAlpha\t9\nk4\tbravo\t9\nk3\tcharlie\t10\nk1\tdelta\t100'
# Going down the two 9s keep the order they were shown in.
BY_SIZE_DOWN=$'Entry\tName\tSize\nk1\tdelta\t100\nk3\tcharlie\t10\nk2\tAlpha\t9\nk4\tbravo\t9'
BY_NAME=$'Entry\tName\tSize\nk2\tAlpha\t9\nk4\tbravo\t9\nk3\tcharlie\t10\nk1\tdelta\t100'
FIRST_RECORD=$'Attribute\tValue\nEntry\tk1\nName\tdelta\nSize\t100'

# ---- cases -------------------------------------------------------------------------

# A click on a heading sorts by it, numbers as numbers; a second click on it
# turns the order round, another heading sorts ascending; showing the list
# again shows it unsorted.
window_sorting_heading_clicks() {
  sorting_fixture
  window_start
  show_sorting_list
  save_list_view "$E2E/natural.txt"
  expect_eq "$(export_text "$E2E/natural.txt")" "$NATURAL" "rows as read"

  click_heading 2
  save_list_view "$E2E/by-size.txt"
  expect_eq "$(export_text "$E2E/by-size.txt")" "$BY_SIZE" "sorted by size"
  shot sorted-list
  click_heading 2
  save_list_view "$E2E/by-size-down.txt"
  expect_eq "$(export_text "$E2E/by-size-down.txt")" "$BY_SIZE_DOWN" "sorted by size, the other way round"
  click_heading 1
  save_list_view "$E2E/by-name.txt"
  expect_eq "$(export_text "$E2E/by-name.txt")" "$BY_NAME" "sorted by name, letter case folded"

  # The same list shown again: the rows as read, and the first click on a
  # heading sorts ascending again.
  click_tree_item 1
  save_list_view "$E2E/shown-again.txt"
  expect_eq "$(export_text "$E2E/shown-again.txt")" "$NATURAL" "shown again"
  click_heading 2
  save_list_view "$E2E/by-size-again.txt"
  expect_eq "$(export_text "$E2E/by-size-again.txt")" "$BY_SIZE" "sorted by size after the new fill"
  menu_exit
  window_wait_end
  expect_clean_end
  sorting_fixture remove
}

# Check-box mode shows the first record as read, whatever sort came before;
# its heading clicks change nothing; after a sort outside the mode the boxes
# still pair with their own items.
window_sorting_check_box_mode() {
  sorting_fixture
  window_start
  show_sorting_list
  click_heading 2
  save_list_view "$E2E/by-size.txt"
  expect_eq "$(export_text "$E2E/by-size.txt")" "$BY_SIZE" "sorted by size"

  click_toolbar 2
  window_geometry
  expect_eq "$(geo list_checkboxes)" 1 "check boxes shown"
  save_list_view "$E2E/checks.txt"
  expect_eq "$(export_text "$E2E/checks.txt")" "$FIRST_RECORD" "check-box rows: the first record as read"
  click_heading 1
  click_heading 1
  click_heading 0
  save_list_view "$E2E/checks-clicked.txt"
  expect_eq "$(export_text "$E2E/checks-clicked.txt")" "$FIRST_RECORD" "check-box rows after heading clicks"
  window_geometry
  expect_eq "$(geo list_checked)" 111 "boxes after heading clicks"

  # Off: the converted rows sort (numbers before texts); on again: the rows
  # as read, each box with its own item.
  click_toolbar 2
  window_geometry
  click_heading 1
  save_list_view "$E2E/rows-by-value.txt"
  expect_eq "$(export_text "$E2E/rows-by-value.txt")" $'Attribute\tValue\nSize\t100\nName\tdelta\nEntry\tk1' \
    "converted rows sorted by value"
  click_toolbar 2
  window_geometry
  save_list_view "$E2E/checks-again.txt"
  expect_eq "$(export_text "$E2E/checks-again.txt")" "$FIRST_RECORD" "check-box rows after the sort"
  expect_eq "$(geo list_checked)" 111 "boxes after the sort"
  # Untick the row of Size: the saved queries keep Entry and Name.
  click_list_box 2
  window_geometry
  expect_eq "$(geo list_checked)" 110 "boxes after the click"
  rm -f "$E2E/sorted queries.xml"
  menu_save_queries
  file_dialog "Save As" "$WIN_E2E\\sorted queries.xml"
  wait_file "$E2E/sorted queries.xml"
  tr -d '\r' <"$E2E/sorted queries.xml" | grep '<name>' >"$E2E/saved-names.txt" || true
  cat "$E2E/saved-names.txt"
  expect_eq "$(tr -d ' ' <"$E2E/saved-names.txt" | tr '\n' '|')" \
    "<name>Software\\PolrixE2ESort\\Items</name>|<name>Entry</name>|<name>Name</name>|" "saved list and items"
  menu_exit
  window_wait_end
  expect_clean_end
  sorting_fixture remove
}

# Ctrl+C in the list copies the selected rows (every row when none is
# selected) as the export writes them; in the tree the shown list whole; in
# the page nothing of the list.
window_sorting_copy() {
  sorting_fixture
  window_start
  show_sorting_list
  save_list_view "$E2E/natural.txt"
  click_heading 2
  save_list_view "$E2E/by-size.txt"
  expect_eq "$(export_text "$E2E/by-size.txt")" "$BY_SIZE" "sorted by size"

  # The focus in the list and no row selected: a click on a row selects it,
  # a Ctrl+click on it takes the selection away again.
  clipboard_set before
  click_at $(list_row_point 0)
  xdotool mousemove $(list_row_point 0) keydown ctrl click 1 keyup ctrl
  sleep 0.3
  window_geometry
  expect_eq "$(geo focus_in)" SysListView32 "focus in the list"
  expect_copied "$E2E/by-size.txt" "every row, as sorted"

  # One row selected: the headings and that row.
  click_at $(list_row_point 1)
  { head -n 1 "$E2E/by-size.txt"; sed -n 3p "$E2E/by-size.txt"; } >"$E2E/row-1.txt"
  expect_eq "$(export_text "$E2E/row-1.txt")" $'Entry\tName\tSize\nk4\tbravo\t9' "second row shown"
  expect_copied "$E2E/row-1.txt" "the selected row"
  shot copied-row

  # The tree: a click on the list shows it again, as read, and Ctrl+C there
  # copies it whole.
  click_tree_item 1
  window_geometry
  expect_eq "$(geo focus_in)" SysTreeView32 "focus in the tree"
  expect_copied "$E2E/natural.txt" "in the tree"

  # The page: its keys are its own, the clipboard keeps its text. Under Wine
  # the blank page (no HTML engine) takes no focus from a click, so the
  # focus is given to it from outside.
  clipboard_set before
  local l t r b
  read -r l t r b <<<"$(geo browser)"
  click_at $(((l + r) / 2)) $(((t + b) / 2))
  wine "$TOOLS/windowinfo.exe" "$DESK" focuspage 10 || fail "the page took no focus"
  window_geometry
  expect_eq "$(geo focus_in)" "Shell Embedding" "focus in the page"
  xdotool key ctrl+c
  sleep 0.5
  clipboard_get get "$E2E/clip.txt"
  expect_eq "$(cat "$E2E/clip.txt")" before "clipboard after Ctrl+C in the page"
  menu_exit
  window_wait_end
  expect_clean_end
  sorting_fixture remove
}

for c in window_sorting_heading_clicks window_sorting_check_box_mode window_sorting_copy; do
  run_case "$c"
done
