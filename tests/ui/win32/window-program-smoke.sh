#!/usr/bin/env bash
# The window program from outside, as a user drives it under Wine: the file dialog comes up, a
# cancel gives "File not specified." and the main window, and Done keeps the window's place in
# ZembrelPOBS.INI of the /INI= folder. Needs a display, Wine and xdotool.
#   window-program-smoke.sh path/to/ZembrelPOBS.exe
set -euo pipefail
exe="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Waits for a shown top-level window whose caption matches, and prints its id (focusing one that
# is not mapped yet fails).
waitFor() {
  for _ in $(seq 150); do
    local id
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)" && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
  echo "no window \"$1\"" >&2
  return 1
}
# cmd passes the quotes of /INI="..." through as they stand; wine's own argument list would not.
printf '"%s" /INI="%s"\r\n' "$(winepath -w "$exe")" "$(winepath -w "$work")" >"$work/start.bat"
wine cmd /c "$(winepath -w "$work/start.bat")" >/dev/null 2>&1 &
program=$!
xdotool windowfocus --sync "$(waitFor '^Select the P6')" key Escape
xdotool windowfocus --sync "$(waitFor '^Plovard$')" key Return
main="$(waitFor '^Plovard Scourvane Plus$')"
sleep 1
xdotool windowfocus --sync "$main" key alt+d
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
grep -q '^TOP=[0-9]' "$work/ZembrelPOBS.INI" && grep -q '^LEFT=[0-9]' "$work/ZembrelPOBS.INI" || {
  echo "no window place in $work/ZembrelPOBS.INI" >&2
  exit 1
}
echo "ZembrelPOBS.INI: $(tr -d '\r' <"$work/ZembrelPOBS.INI" | tr '\n' ' ')"
