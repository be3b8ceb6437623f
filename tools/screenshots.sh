#!/usr/bin/env bash
# screenshots.sh VEXMOOR_SIM TESSIK OUTDIR — run on an X display (tools/with-desktop.sh).
# Plays a short session to the plug-in and saves pictures of its windows: the main window after
# a login, a lookup and a report, the "Options" and "Behaviour" dialogs and the About box. Then
# the demo's sample player logs in with her past games, and each tab of the "Statistics" view
# (tessik-statistics, which the plug-in starts) against her most frequent opponent is pictured.
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/drive.sh"
requirePrograms import:imagemagick
sim=$1
plugin=$2
out=$3
work=$(mktemp -d)
export XDG_DATA_HOME="$work/data"  # the view's database: none of the user's
simPid=
trap 'kill $simPid 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$out" "$work/dir/tessik"
printf 'Show Stats in Plugin=1\nFingerAssessDisplayAll_bw=1\n' >"$work/dir/tessik/tessik.ini"
stop() {
  echo "screenshots.sh: $*" >&2
  exit 1
}

# play SESSION: the host plays SESSION to the plug-in, which shows its window on this display;
# SESSION's "waitfor shown" is reached once the plug-in has handled everything before it.
play() {
  QT_QPA_PLATFORM=xcb "$sim" --plugin "$plugin" --dir "$work/dir" "$1" >"$work/host.out" 2>&1 &
  simPid=$!
  waitFor grep -q "^waitfor shown" "$work/host.out" || stop "the session did not reach its pictures"
  touch "$work/dir/shown"
  main=$(windowNamed "Personal Statistic for ann") || stop "no main window"
}

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
  echo "waitfor shown"
  echo "pause 60000"
} >"$work/session"
play "$work/session"
xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" 60 40 click 1
xdotool type --delay 20 "bob"
xdotool key Return alt+a  # the look-up, then the Actions menu
waitFor menuShown || stop "the Actions menu did not open"
xdotool key Return  # Most 10
waitFor menuClosed || stop "the Actions menu did not close"
picture "$main" "$out/main-window.png" || stop "no picture of the main window"

shoot() {  # shoot KEYS TITLE FILE
  xdotool windowfocus --sync "$main"
  xdotool key $1
  local dialog
  dialog=$(windowNamed --shown "$2") || stop "no window \"$2\""
  picture "$dialog" "$out/$3" || stop "no picture of \"$2\""
  xdotool key Escape
  waitFor noWindow "$2" || stop "Escape did not close \"$2\""
}
shoot "alt+o Down Return" "Options" options-dialog.png
shoot "alt+o Return" "Behaviour" behaviour-dialog.png
shoot "alt+b" "About Tessik" about-box.png

# Escape asks whether to close the plug-in; Yes ends it, and with it the host's run.
close() {
  answerClose "$main" alt+y || stop "the plug-in did not close"
  wait "$simPid"
  simPid=
}
close

# The sample player's first login: her host names her PGN, the plug-in imports it.
rm -rf "$work/dir"
mkdir -p "$work/dir/tessik"
printf 'Show Stats in Plugin=1\n' >"$work/dir/tessik/tessik.ini"
pgn=$(realpath "$(dirname "$0")/../examples/ann-games.pgn")
printf 'vx2 ann %s\ndg 2 0 ann\nsync\ndg 2 87 ann 1564 1610 1614 x x x 1554 1677 x 1695\nsync\nwaitfor shown\npause 60000\n' \
  "$pgn" >"$work/session"
play "$work/session"
xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" 60 40 click 1
xdotool type --delay 20 "Nettle"
xdotool key alt+a Up Return  # Actions > Statistics…, the menu's last entry
view=$(windowNamed --shown "Statistics for ann") || stop "no Statistics view"
xdotool windowfocus --sync "$view"
for tab in head-to-head opponents rating-history openings summary activity; do
  picture "$view" "$out/statistics-$tab.png" || stop "no picture of the $tab tab"
  xdotool key ctrl+Tab
done
xdotool key ctrl+w
waitFor noWindow "Statistics for ann" || stop "Ctrl+W did not close the Statistics view"
close
ls "$out"
