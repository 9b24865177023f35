# The installed software of the whole machine: examples/installed-software.xml
# read by the 32-bit and the 64-bit program over uninstall entries in the
# native view, in the 32-bit view and in the current user's key (two in each
# place, so every list is a table with a row per entry). Both programs list
# the same entries, each once, in its own list. Sourced by run_all.
#
# Every assertion ends the case with "|| return 1": run_case calls the case
# inside an if, where set -e has no effect.

UNINSTALL='SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
UNINSTALL32='SOFTWARE\WOW6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
USER_UNINSTALL='Software\Microsoft\Windows\CurrentVersion\Uninstall'

# wine reg add with its arguments; what reg.exe said (on its standard
# output) goes to the case's output when it fails.
views_reg_add() {
  local said
  said=$(wine reg add "$@" 2>&1) || { fail "reg add $* ended with $?: $(tr -d '\r' <<<"$said")"; return 1; }
}

# One uninstall entry with the six values the example reads.
views_entry() {
  local key=$1 view=$2 name=$3 dir=$4
  views_reg_add "$key" /v DisplayName /d "$name" /f $view
  views_reg_add "$key" /v DisplayVersion /d "1.${#name}" /f $view
  views_reg_add "$key" /v Publisher /d "Vendaril" /f $view
  views_reg_add "$key" /v InstallDate /d "20260101" /f $view
  views_reg_add "$key" /v InstallLocation /d "$dir" /f $view
  views_reg_add "$key" /v UninstallString /d "$dir\\uninstall.exe" /f $view
}

# Where each entry goes: key, view, its display name, its folder.
VIEWS_ENTRIES=(
  "HKLM\\$UNINSTALL\\PolrixE2E64|/reg:64|Polrix Native Tool|C:\\Program Files\\PolrixNative"
  "HKLM\\$UNINSTALL\\PolrixE2E64b|/reg:64|Polrix Native Extra|C:\\Program Files\\PolrixExtra"
  "HKLM\\$UNINSTALL\\PolrixE2E32|/reg:32|Polrix 32-bit Tool|C:\\Program Files (x86)\\Polrix32"
  "HKLM\\$UNINSTALL\\PolrixE2E32b|/reg:32|Polrix 32-bit Extra|C:\\Program Files (x86)\\Polrix32b"
  "HKCU\\$USER_UNINSTALL\\PolrixE2EUser|/reg:64|Polrix User Tool|C:\\users\\Public\\PolrixUser"
  "HKCU\\$USER_UNINSTALL\\PolrixE2EUserb|/reg:32|Polrix User Extra|C:\\users\\Public\\PolrixUserb"
)

views_cleanup() {
  local e key view
  for e in "${VIEWS_ENTRIES[@]}"; do
    IFS='|' read -r key view _ _ <<<"$e"
    wine reg delete "$key" /f $view >/dev/null 2>&1 || true
  done
}

# Runs one program (32 or 64) on the example file in a folder of its own;
# its export is then $2/polrix.txt.
views_run() {
  local bits=$1 dir=$2
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$BUILD/win$bits/polrix.exe" "$dir/polrix.exe"
  cp "$ROOT/examples/installed-software.xml" "$dir/polrix.xml"
  set +e
  (cd "$dir" && timeout 120 wine ./polrix.exe x)
  local rc=$?
  set -e
  expect_eq "$rc" 0 "exit code of the $bits-bit program"
}

# The six export lines of one entry in one list.
views_expected() {
  local list=$1 entry=$2 name=$3 dir=$4
  printf 'REG\t%s\t%s\t%s\t%s\n' \
    "$list" "$entry" DisplayName "$name" "$list" "$entry" DisplayVersion "1.${#name}" \
    "$list" "$entry" Publisher Vendaril "$list" "$entry" InstallDate 20260101 \
    "$list" "$entry" InstallLocation "$dir" "$list" "$entry" UninstallString "$dir\\uninstall.exe"
}

installed_software_both_programs() {
  views_cleanup
  # The entries go on every way out: left behind, they would be rows of the
  # uninstall lists that later cases read.
  trap views_cleanup EXIT
  local e key view name dir
  for e in "${VIEWS_ENTRIES[@]}"; do
    IFS='|' read -r key view name dir <<<"$e"
    views_entry "$key" "$view" "$name" "$dir"
  done
  # The 32-bit entries are where a 32-bit program's own view puts them.
  reg_query "HKLM\\$UNINSTALL32\\PolrixE2E32" /reg:64 | grep 'Polrix 32-bit Tool' >/dev/null ||
    { fail "the 32-bit entry is not below WOW6432Node"; return 1; }
  reg_delete_settings

  local programs=(32 64)
  if ! wine_runs_target win32; then
    echo "so only the 64-bit program is run here"
    programs=(64)
  fi
  if [ "${programs[0]}" = 32 ]; then
    views_run 32 "$E2E/views32" || return 1
    # The settings key is the same for the 32-bit program.
    reg_query "$SETTINGS_KEY" | grep -E '^\s+ft\s+REG_DWORD\s+0x1$' >/dev/null || { fail "settings of the 32-bit program"; return 1; }
  fi
  views_run 64 "$E2E/views64" || return 1
  views_cleanup

  local expected ours bits
  expected=$(
    for e in "${VIEWS_ENTRIES[@]}"; do
      IFS='|' read -r key view name dir <<<"$e"
      case $key in
        HKCU*) list=$USER_UNINSTALL ;;
        *) [ "$view" = /reg:64 ] && list=$UNINSTALL || list=$UNINSTALL32 ;;
      esac
      views_expected "$list" "${key##*\\}" "$name" "$dir"
    done | sort)
  for bits in "${programs[@]}"; do
    ours=$(tr -d '\r' <"$E2E/views$bits/polrix.txt" | awk -F'\t' '$3 ~ /^PolrixE2E/' | sort)
    echo "$bits-bit program:"
    echo "$ours"
    expect_eq "$ours" "$expected" "entries listed by the $bits-bit program" || return 1
  done
  [ "${#programs[@]}" = 1 ] ||
    cmp "$E2E/views32/polrix.txt" "$E2E/views64/polrix.txt" || { fail "the two programs' exports differ"; return 1; }
}

run_case installed_software_both_programs
