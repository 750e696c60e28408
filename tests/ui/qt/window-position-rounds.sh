#!/usr/bin/env bash
# The window program under a real window manager (openbox, title bars and all) on a virtual
# screen: three rounds of start and Done leave the window where it was, and after a move by the
# window manager the next start comes back where the user left it.
#   window-position-rounds.sh PROGRAM
set -euo pipefail
program="$1"
for tool in xvfb-run openbox xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'ERMHDR\r\n%%T\tPOBS\r\n%%R\t1\r\n%%E\r\n' > "$work/p.xer"
mkdir "$work/ini"
cat > "$work/rounds.sh" <<'ROUNDS'
set -euo pipefail
program="$1"; work="$2"
openbox >/dev/null 2>&1 &
sleep 1
frame() { xwininfo -id "$1" -frame | sed -n 's/.*Absolute upper-left [XY]: *//p' | tr '\n' ' '; }
round() { # start, optionally move, read the frame's place, Done
  "$program" /INI="$work/ini" "$work/p.xer" >/dev/null 2>&1 &
  local pid=$! window=""
  for _ in $(seq 100); do
    window="$(xdotool search --onlyvisible --name "Plovard Scourvane Plus" 2>/dev/null | head -1)" || true
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "no window"; return 1; }
  sleep 1 # the window manager places it, the first survey ends
  if [ -n "${1:-}" ]; then xdotool windowmove "$window" $1; sleep 0.5; fi
  echo "frame $(frame "$window")"
  xdotool windowactivate --sync "$window" key alt+d
  wait "$pid"
  echo "saved $(tr -d '\r' < "$work/ini/ZembrelPOBS.INI" | grep -E '^(TOP|LEFT)=' | tr '\n' ' ')"
}
round; round; round; round "300 200"; round
ROUNDS
out="$(xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/rounds.sh" "$program" "$work")"
echo "$out"
frames="$(grep '^frame' <<<"$out")"
saved="$(grep '^saved' <<<"$out")"
# Rounds 1 to 3 stay where the first put the window; round 5 where round 4 moved it.
[ "$(sed -n 1p <<<"$frames")" = "$(sed -n 3p <<<"$frames")" ] || { echo "FAIL: the window crept"; exit 1; }
[ "$(sed -n 2p <<<"$saved")" = "$(sed -n 3p <<<"$saved")" ] || { echo "FAIL: a different place saved"; exit 1; }
[ "$(sed -n 4p <<<"$frames")" = "frame 300 200 " ] || { echo "FAIL: not moved"; exit 1; }
[ "$(sed -n 5p <<<"$frames")" = "frame 300 200 " ] || { echo "FAIL: not back where moved"; exit 1; }
echo "PASS"
