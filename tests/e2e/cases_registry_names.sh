# Registry names that the ANSI code page loses or confuses, and names longer
# than 260 characters, read by the batch run from Wine's registry: every
# name is listed, each with its own value, in the export and the report.
# Sourced by run_all. Every assertion ends the case with "|| return 1":
# run_case calls the case inside an if, where set -e has no effect.

NAMES_KEY='HKCU\Software\PolrixE2ENames'
LONG_NAME="L$(printf 'l%.0s' $(seq 300))"

names_fixture() {
  wine reg delete "$NAMES_KEY" /f >/dev/null 2>&1 || true
  # Values: an ASCII name and its fullwidth look-alike, names around a long
  # one, a name the code page has no form for.
  wine reg add "$NAMES_KEY\\Vals" /v "<b>" /d "ascii twin" /f >/dev/null
  wine reg add "$NAMES_KEY\\Vals" /v "＜b＞" /d "fullwidth" /f >/dev/null
  wine reg add "$NAMES_KEY\\Vals" /v "A before" /d "before" /f >/dev/null
  wine reg add "$NAMES_KEY\\Vals" /v "$LONG_NAME" /d "long" /f >/dev/null
  wine reg add "$NAMES_KEY\\Vals" /v "Z after" /d "after" /f >/dev/null
  wine reg add "$NAMES_KEY\\Vals" /v "✓ check" /d "check" /f >/dev/null
  # Subkeys: the same look-alikes.
  wine reg add "$NAMES_KEY\\Keys\\<b>" /v v /d "ascii twin key" /f >/dev/null
  wine reg add "$NAMES_KEY\\Keys\\＜b＞" /v v /d "fullwidth key" /f >/dev/null
  wine reg add "$NAMES_KEY\\Keys\\✓ check" /v v /d "check key" /f >/dev/null
  printf '%s\r\n' '<config>' '  <list>' '     <typ>REG</typ>' '     <cmd>EnumVal</cmd>' '     <path>HKCU</path>' \
    '     <name>Software\PolrixE2ENames\Vals</name>' '     <item>' '        <name>*</name>' '     </item>' '  </list>' \
    '  <list>' '     <typ>REG</typ>' '     <cmd>EnumKey</cmd>' '     <path>HKCU</path>' \
    '     <name>Software\PolrixE2ENames\Keys</name>' '     <item>' '        <name>name</name>' '     </item>' \
    '     <item>' '        <name>v</name>' '     </item>' '  </list>' '</config>' >"$E2E/polrix.xml"
}

# The cell texts of one list's table in the report, one a line.
report_cells() {
  awk -v h="$1" '{sub(/\r$/, "")} index($0, "</a>" h "</h3>") {f = 1; next} f && /<h3>/ {exit} f' "$REPORT" |
    sed -n 's/^ *<td[^>]*>\(.*\)<\/td>$/\1/p'
}

registry_names() {
  names_fixture
  run_polrix x
  wine reg delete "$NAMES_KEY" /f >/dev/null 2>&1 || true
  expect_eq "$RC" 0 "exit code" || return 1
  local vals='Software\PolrixE2ENames\Vals' keys='Software\PolrixE2ENames\Keys'
  local expected
  # Wine lists names sorted: ASCII first, then the others by code point.
  expected=$(printf 'REG\t%s\t\t%s\t%s\n' \
    "$vals" "<b>" "ascii twin" "$vals" "A before" "before" "$vals" "$LONG_NAME" "long" \
    "$vals" "Z after" "after" "$vals" "? check" "check" "$vals" "<b>" "fullwidth"
  printf 'REG\t%s\t%s\tv\t%s\n' \
    "$keys" "<b>" "ascii twin key" "$keys" "? check" "check key" "$keys" "<b>" "fullwidth key")
  local export
  export=$(tr -d '\r' <"$EXPORT" | grep '^REG	')
  echo "$export" | cut -c1-120
  expect_eq "$export" "$expected" "export" || return 1
  expect_eq "$(report_cells "$vals" | paste -sd '|')" \
    "&lt;b&gt;|ascii twin|A before|before|$LONG_NAME|long|Z after|after|? check|check|&lt;b&gt;|fullwidth" "EnumVal report" ||
    return 1
  expect_eq "$(report_cells "$keys" | paste -sd '|')" \
    "name|v|&lt;b&gt;|ascii twin key|? check|check key|&lt;b&gt;|fullwidth key" "EnumKey report" || return 1
  expect_lines_in_order "$LOG" "  HKCU\\$vals" "  RegRead OK m:1, n: 6" "  HKCU\\$keys" "  RegRead OK m:3, n: 2"
}

run_case registry_names
