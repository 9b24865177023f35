# Batch run cases: the failures with their message boxes and exit codes,
# registry lists in their three modes, and the example queries on Wine's
# own WMI service and registry. Sourced by run_all.

FIX="$ROOT/tests/e2e/fixtures"

missing_query_file() {
  rm -f "$E2E/polrix.xml" "$EXPORT"
  run_polrix_with_box x
  echo "$BOX_TEXT"
  expect_eq "$RC" 100 "exit code"
  expect_eq "$(sed -n 's/^text: //p' <<<"$BOX_TEXT")" "Could not open file: $WIN_E2E\\polrix.xml"
  [ ! -e "$EXPORT" ] || fail "an export was written"
}

malformed_line() {
  printf '<config>\r\n  <list>\r\n     <typ>WMI</typ>\r\n     <name>Win32_Bios</nam>\r\n  </list>\r\n</config>\r\n' >"$E2E/polrix.xml"
  run_polrix_with_box x
  echo "$BOX_TEXT"
  expect_eq "$RC" 100 "exit code"
  # The box text is the message and, on its second line, the line as read.
  grep -qxF 'text: Invalid </name> Configuration in line' <<<"$BOX_TEXT" || fail "first line of the message"
  grep -qxF '     <name>Win32_Bios</nam>' <<<"$BOX_TEXT" || fail "the line in the message"
}

export_cannot_be_opened() {
  cp "$FIX/registry_modes.xml" "$E2E/polrix.xml"
  rm -f "$EXPORT"
  mkdir -p "$EXPORT"  # a folder where the file should be
  run_polrix_with_box x
  rmdir "$EXPORT"
  echo "$BOX_TEXT"
  expect_eq "$RC" 200 "exit code"
  expect_eq "$(sed -n 's/^text: //p' <<<"$BOX_TEXT")" "Could not open file: $WIN_E2E\\polrix.txt"
  ! tr -d '\r' <"$LOG" | grep 'mapp::OnLWMI () OK' >/dev/null || fail "the export's log line was written"
  expect_contains "$LOG" "mapp::OnSWMI () OK ..."
}

registry_list_modes() {
  wine reg delete 'HKCU\Software\PolrixE2E' /f >/dev/null 2>&1 || true
  wine regedit /s "$(winepath -w "$FIX/registry_modes.reg" 2>/dev/null)" >/dev/null 2>&1
  cp "$FIX/registry_modes.xml" "$E2E/polrix.xml"
  run_polrix x
  expect_eq "$RC" 0 "exit code"
  cmp "$EXPORT" "$FIX/registry_modes.expected.txt" || { diff <(tr -d '\r' <"$EXPORT") <(tr -d '\r' <"$FIX/registry_modes.expected.txt"); fail "export differs"; }
  local computer
  computer=$(wine cmd /c echo %COMPUTERNAME% 2>/dev/null | tr -d '\r')
  sed "s/@COMPUTERNAME@/$computer/" "$FIX/registry_modes.expected.htm" >"$E2E/expected.htm"
  cmp "$REPORT" "$E2E/expected.htm" || { diff <(tr -d '\r' <"$REPORT") <(tr -d '\r' <"$E2E/expected.htm"); fail "report differs"; }
  expect_lines_in_order "$LOG" \
    "CWMI::read_rkey ()" "  HKCU\\Software\\PolrixE2E\\Apps" "  RegRead OK m:3, n: 3" \
    "  HKCU\\Software\\PolrixE2E\\Values" "  RegRead OK m:1, n: 7" \
    "  HKCU\\Software\\PolrixE2E\\Plain" "  RegRead OK m:1, n: 4" \
    "  HKCU\\Software\\PolrixE2E\\Empty" "  RegRead OK m:0, n: 0" \
    "  HKCU\\Software\\PolrixE2E\\NoSuchKey" "  RegRead OK m:0, n: 0"
  wine reg delete 'HKCU\Software\PolrixE2E' /f >/dev/null 2>&1 || true
}

# The value of Item in a one-row WMI list of the export.
export_value() { tr -d '\r' <"$EXPORT" | awk -F'\t' -v l="$1" -v i="$2" '$1 == "WMI" && $2 == l && $4 == i {print $5}'; }
trim() { sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//'; }

example_queries_on_wine() {
  cp "$ROOT/examples/polrix.xml" "$E2E/polrix.xml"
  # Two installed programs of our own (a fresh prefix has none), so the
  # software list is a table with a row for each. They go into the native
  # registry view, which both programs read.
  local uninst='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
  wine reg add "$uninst\\PolrixE2EProgram" /v DisplayName /t REG_SZ /d "Polrix E2E Program" /f "$REG_VIEW" >/dev/null
  wine reg add "$uninst\\PolrixE2EProgram" /v DisplayVersion /t REG_SZ /d "4.5.6" /f "$REG_VIEW" >/dev/null
  wine reg add "$uninst\\PolrixE2EOther" /v DisplayVersion /t REG_SZ /d "7" /f "$REG_VIEW" >/dev/null
  run_polrix x
  wine reg delete "$uninst\\PolrixE2EProgram" /f "$REG_VIEW" >/dev/null 2>&1 || true
  wine reg delete "$uninst\\PolrixE2EOther" /f "$REG_VIEW" >/dev/null 2>&1 || true
  expect_eq "$RC" 0 "exit code"

  # Every class that answered with objects is in the export and the report.
  local served=0 id=0
  for class in Win32_SystemEnclosure Win32_Bios Win32_Processor Win32_PhysicalMemory Win32_OnBoardDevice \
      Win32_DiskDrive Win32_LogicalDisk Win32_CDROMDrive Win32_SoundDevice Win32_NetworkAdapterConfiguration \
      Win32_DisplayConfiguration Win32_DesktopMonitor Win32_PrinterConfiguration Win32_USBController \
      Win32_OperatingSystem Win32_Product; do
    id=$((id + 1))
    local rows
    rows=$(awk -v q="  SELECT * FROM $class" '{sub(/\r$/, "")} $0 == q {f = 1; next} f && /^  SELECT OK m:/ {sub(/^  SELECT OK m:/, ""); sub(/,.*/, ""); print; exit}' "$LOG")
    echo "$class: ${rows:-no read} objects"
    [ -n "$rows" ] || fail "$class was not read"
    if [ "${rows:-0}" -gt 0 ]; then
      served=$((served + 1))
      tr -d '\r' <"$EXPORT" | grep "^WMI	$class	" >/dev/null || fail "$class not in the export"
      grep -qF "<h3><a name='$(printf %03d $id)'></a>$class <img src='img_$(printf %02d $id).bmp'></h3>" "$REPORT" || fail "$class not in the report"
    fi
  done
  for class in Win32_Processor Win32_Bios Win32_OperatingSystem Win32_LogicalDisk Win32_DiskDrive; do
    tr -d '\r' <"$EXPORT" | grep "^WMI	$class	" >/dev/null || fail "$class (served by Wine) missing"
  done
  echo "classes with objects: $served"

  # Values agree with Wine's own WMI client.
  expect_eq "$(export_value Win32_Processor Name | trim)" "$(wmic_values cpu get name | trim)" "processor name"
  expect_eq "$(export_value Win32_OperatingSystem Caption | trim)" "$(wmic_values os get caption | trim)" "OS caption"
  expect_eq "$(export_value Win32_OperatingSystem Version | trim)" "$(wmic_values os get version | trim)" "OS version"
  local ours theirs
  ours=$(tr -d '\r' <"$EXPORT" | awk -F'\t' '$2 == "Win32_LogicalDisk" && $4 == "Size" {print $5}' | sort)
  theirs=$(wmic_values logicaldisk get size | trim | sort)
  echo "disk sizes: $(echo $ours) / $(echo $theirs)"
  [ -n "$ours" ] || fail "no disk sizes"
  expect_eq "$ours" "$theirs" "logical disk sizes"
  # Every adapter configuration that holds addresses shows them, also when
  # the first configuration holds none (wmic prints {"a", "b"} for each).
  ours=$(tr -d '\r' <"$EXPORT" |
    awk -F'\t' '$2 == "Win32_NetworkAdapterConfiguration" && $4 == "IPAddress" {sub(/ $/, "", $5); print $5}' | sort)
  theirs=$(wmic_values nicconfig get IPAddress | sed -e 's/^{//' -e 's/}$//' -e 's/", "/ /g' -e 's/"//g' | sort)
  echo "addresses: [$ours] / [$theirs]"
  [ -n "$theirs" ] || fail "wmic lists no address"
  expect_eq "$ours" "$theirs" "IP addresses of the adapter configurations"

  # The installed-software list, one row per Uninstall subkey: each entry's
  # DisplayName and DisplayVersion under the entry's key (an entry without a
  # name has the placeholder line in its place).
  expect_eq "$(tr -d '\r' <"$EXPORT" | awk -F'\t' '$1 == "REG" && $3 ~ /^PolrixE2E/')" \
    "$(printf 'REG\t%s\t%s\n' \
      'SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall' 'PolrixE2EOther	-	-' \
      'SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall' 'PolrixE2EOther	DisplayVersion	7' \
      'SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall' 'PolrixE2EProgram	DisplayName	Polrix E2E Program' \
      'SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall' 'PolrixE2EProgram	DisplayVersion	4.5.6')" \
    "the installed programs in the export"
  grep -qF "<td>PolrixE2EProgram</td>" "$REPORT" || fail "the installed program is not in the report"
  grep -qF "<td>Polrix E2E Program</td>" "$REPORT" || fail "the installed program's name is not in the report"
  # The class icons and title of the report are named, with real data beside.
  grep -qF "<h2>System Report for " "$REPORT" || fail "report title"
}

# The batch run leaves the report's pictures beside it: every picture the
# report names is there, as a bitmap file.
report_pictures() {
  cp "$ROOT/examples/polrix.xml" "$E2E/polrix.xml"
  rm -f "$TEMP_DIR"/img_*.bmp
  run_polrix x
  expect_eq "$RC" 0 "exit code"
  local named=0 f
  for f in $(grep -o "img_[0-9][0-9]\.bmp" "$REPORT" | sort -u); do
    named=$((named + 1))
    [ -f "$TEMP_DIR/$f" ] || fail "$f is named by the report but missing"
    expect_eq "$(head -c 2 "$TEMP_DIR/$f")" "BM" "$f is a bitmap file"
  done
  echo "pictures named by the report: $named"
  [ "$named" -ge 2 ] || fail "the report names too few pictures"
  for n in $(seq -w 0 16); do [ -f "$TEMP_DIR/img_$n.bmp" ] || fail "img_$n.bmp missing"; done
}

for c in report_pictures missing_query_file malformed_line export_cannot_be_opened registry_list_modes example_queries_on_wine; do
  run_case "$c"
done
