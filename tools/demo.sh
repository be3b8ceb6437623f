#!/usr/bin/env bash
# demo.sh VEXMOOR_SIM TESSIK OUTDIR
# Plays examples/demo.session to the plug-in in a fresh directory OUTDIR/home and prints what a
# user sees: the host's console, then the plug-in's own window with the ranking reports run
# from its menu, then the files written. With an X display (DISPLAY set, as tools/with-desktop.sh
# gives one) the window is driven with xdotool and pictured; without one the window's part is
# left out.
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/drive.sh"
sim=$1
plugin=$2
out=$3
rm -rf "$out"
mkdir -p "$out/home"
out=$(realpath "$out")
home="$out/home"
hostOut="$out/host.out"
windowText="$out/window.txt"

# The session as it stands, but before its end the host waits for the window's part to be done.
sim=$(realpath "$sim")
plugin=$(realpath "$plugin")
: >"$hostOut"  # there before the wait below first looks into it
(cd examples && sed 's/^end$/waitfor window-done\nend/' demo.session |
  "$sim" --plugin "$plugin" --dir "$home" - >"$hostOut" 2>"$out/host.err") &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true' EXIT

stop() {
  echo "demo.sh: $*" >&2
  exit 1
}
waitFor grep -q "^waitfor " "$hostOut" || stop "the session did not reach the window's part"
if [ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null && command -v xclip >/dev/null; then
  window=$(windowNamed "Personal Statistic for ann") || stop "no window"
  for entry in 0 1 2 3; do  # Most 10, Best, Worst, Overall
    xdotool windowfocus --sync "$window"
    xdotool key alt+a
    waitFor menuShown || stop "the Actions menu did not open"
    for _ in $(seq "$entry"); do xdotool key Down; done
    xdotool key Return
    waitFor menuClosed || stop "the Actions menu did not close"
  done
  ! command -v import >/dev/null || picture "$window" "$out/window.png" || stop "no picture"
  waitFor boxHas "$window" "^Overall score:" || stop "the reports did not reach the window"
  xclip -o -selection clipboard >"$windowText"
fi
touch "$home/window-done"
wait "$sim_pid"
trap - EXIT

echo "== What Vexmoor's console received from Tessik =="
sed -n 's/^3 \(.*\)\\n$/  \1/p' "$hostOut"
echo
echo "== Other messages to Vexmoor: the greeting, datagram numbers asked for (5, 6) and withdrawn (8) =="
grep -E '^(1|2|4|5|6|8) ' "$hostOut" |
  awk '{ line = line sprintf("%-14s", $0) } NR % 6 == 0 { print "  " line; line = "" }
       END { if (line != "") print "  " line }' 
echo
echo "== What Tessik's own window showed =="
if [ -s "$windowText" ]; then
  sed 's/^/  /' "$windowText"
  [ -f "$out/window.png" ] && echo && echo "  (a picture of the window: $out/window.png)"
else
  echo "  (no X display: the window ran off screen and its reports were not run)"
fi
echo
echo "== Files Tessik wrote in ${home#"$PWD"/} =="
(cd "$home" && find tessik pgn_read.txt -type f -printf '  %-22p %8s bytes\n' | sort)
echo
echo "== pgn_read.txt, the import's own report =="
sed 's/^/  /' "$home/pgn_read.txt"
echo
echo "== $(grep '^exit' "$hostOut") =="
