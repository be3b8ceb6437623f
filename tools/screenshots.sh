#!/usr/bin/env bash
# screenshots.sh VEXMOOR_SIM TESSIK OUTDIR — run on an X display (tools/with-desktop.sh).
# Plays a short session to the plug-in and saves pictures of its windows: the main window after
# a login, a lookup and a report, the "Options" and "Behaviour" dialogs and the About box. Then
# the demo's sample player logs in with her past games, and the three tabs of the "Statistics"
# view against her most frequent opponent are pictured.
set -euo pipefail
sim=$1
plugin=$2
out=$3
work=$(mktemp -d)
simPid=
trap 'kill $simPid 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$out" "$work/dir/tessik"
printf 'Show Stats in Plugin=1\nFingerAssessDisplayAll_bw=1\n' >"$work/dir/tessik/tessik.ini"

{
  echo "dg 2 0 ann"
  echo "sync"
  number=0
  for game in "bobby 1-0" "bobby 1/2-1/2" "carla 0-1" "bobby 1-0" "dmitri 1-0" "carla 1-0"; do
    read -r opponent result <<<"$game"
    number=$((number + 1))
    echo "dg 2 15 $number ann $opponent 0 Blitz 1 3 0 3 0 1 \"\" 1500 1520 $number \"\" \"\""
    echo "dg 2 16 $number ann $opponent $result"
  done
  echo "sync"
  echo "pause 60000"
} >"$work/session"
QT_QPA_PLATFORM=xcb "$sim" --plugin "$plugin" --dir "$work/dir" "$work/session" >"$work/host.out" 2>&1 &
simPid=$!

# The id of the first window with this exact title, waiting up to 10 s for it.
window() {
  for _ in $(seq 200); do
    xdotool search --name "^$1\$" 2>/dev/null | head -n 1 | grep . && return 0
    sleep 0.05
  done
  echo "no window \"$1\"" >&2
  return 1
}

main=$(window "Personal Statistic for ann")
until grep -q "carla" "$work/host.out"; do sleep 0.1; done
sleep 0.5
xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" 60 40 click 1
xdotool type --delay 20 "bob"
xdotool key Return
sleep 0.3
xdotool key alt+a Return  # Actions > Most 10
sleep 0.5
import -window "$main" "$out/main-window.png"

shoot() {  # shoot KEYS TITLE FILE
  xdotool windowfocus --sync "$main"
  xdotool key $1
  local dialog
  dialog=$(window "$2")
  sleep 0.3
  import -window "$dialog" "$out/$3"
  xdotool key Escape
  sleep 0.2
}
shoot "alt+o Down Return" "Options" options-dialog.png
shoot "alt+o Return" "Behaviour" behaviour-dialog.png
shoot "alt+b" "About Tessik" about-box.png

# Escape asks whether to close the plug-in; Yes ends it, and with it the host's run.
close() {
  xdotool windowfocus --sync "$1"
  xdotool key Escape
  sleep 0.3
  xdotool key alt+y
  wait "$simPid"
  simPid=
}
close "$main"

# The sample player's first login: her host names her PGN, the plug-in imports it.
rm -rf "$work/dir"
mkdir -p "$work/dir/tessik"
printf 'Show Stats in Plugin=1\n' >"$work/dir/tessik/tessik.ini"
pgn=$(realpath "$(dirname "$0")/../examples/ann-games.pgn")
printf 'vx2 ann %s\ndg 2 0 ann\nsync\ndg 2 87 ann 1564 1610 1614 x x x 1554 1677 x 1695\nsync\npause 60000\n' \
  "$pgn" >"$work/session"
QT_QPA_PLATFORM=xcb "$sim" --plugin "$plugin" --dir "$work/dir" "$work/session" >"$work/host.out" 2>&1 &
simPid=$!
main=$(window "Personal Statistic for ann")
until [ "$(stat -c %s "$work/dir/tessik/ann.glg" 2>/dev/null || echo 0)" -ge 80000 ]; do
  sleep 0.1
done
sleep 0.5
xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" 60 40 click 1
xdotool type --delay 20 "Nettle"
xdotool key alt+a Up Return  # Actions > Statistics…, the menu's last entry
view=$(window "Statistics for ann")
xdotool windowfocus --sync "$view"
for tab in head-to-head rating-history activity; do
  sleep 0.8
  import -window "$view" "$out/statistics-$tab.png"
  xdotool key ctrl+Tab
done
xdotool key Escape
close "$main"
ls "$out"
