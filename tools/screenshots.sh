#!/usr/bin/env bash
# screenshots.sh VEXMOOR_SIM TESSIK TESSIK_STATS OUTDIR — run on an X display
# (tools/with-desktop.sh).
# Plays a short session to the plug-in and saves pictures of its windows: the main window after
# a login, a lookup and a report, the "Options" and "Behaviour" dialogs and the About box. Then
# the demo's sample player, her lichess archive imported by tessik-stats, logs in with her past
# games, and each tab of the "Statistics" view (tessik-statistics, which the plug-in starts)
# against her most frequent opponent is pictured (its openings by name): as it opens, with the
# filter bar set to her lichess blitz games, and on a dark desktop.
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/drive.sh"
requirePrograms import:imagemagick
sim=$1
plugin=$2
stats=$3
out=$4
work=$(mktemp -d)
export XDG_DATA_HOME="$work/data"  # the view's database: none of the user's
simPid=
viewPid=
trap 'kill $simPid $viewPid 2>/dev/null || true; rm -rf "$work"' EXIT
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

# The sample player's first login: her host names her PGN, the plug-in imports it. Her lichess
# archive is in her database already, brought in by tessik-stats as she would.
rm -rf "$work/dir"
mkdir -p "$work/dir/tessik"
printf 'Show Stats in Plugin=1\n' >"$work/dir/tessik/tessik.ini"
examples=$(realpath "$(dirname "$0")/../examples")
"$stats" --user ann import "$examples/ann-lichess.pgn" >"$work/import.out" 2>&1 || true
grep -q " 0 left out$" "$work/import.out" ||
  stop "tessik-stats did not import every game of ann-lichess.pgn: $(cat "$work/import.out")"
printf 'vx2 ann %s\ndg 2 0 ann\nsync\ndg 2 87 ann 1564 1610 1614 x x x 1554 1677 x 1695\nsync\nwaitfor shown\npause 60000\n' \
  "$examples/ann-games.pgn" >"$work/session"
play "$work/session"
xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" 60 40 click 1
xdotool type --delay 20 "Nettle"
xdotool key alt+a Up Return  # Actions > Statistics…, the menu's last entry
view=$(windowNamed --shown "Statistics for ann") || stop "no Statistics view"

# openingsByName: the Openings tab groups by the openings' names, not their ECO codes (Alt+G
# reaches its list); the view shows its first tab again.
openingsByName() {
  xdotool windowfocus --sync "$view"
  xdotool key ctrl+Tab ctrl+Tab ctrl+Tab alt+g
  xdotool type --delay 20 "Name"
  xdotool key ctrl+Prior ctrl+Prior ctrl+Prior
}
openingsByName

# tabs SUFFIX [TAB...]: turns once through the six tabs, from the first, picturing each TAB (all
# six without one) into statistics-TAB-SUFFIX.png.
tabs() {
  local suffix=$1 tab
  shift
  for tab in head-to-head opponents rating-history openings summary activity; do
    if [ $# -eq 0 ] || [[ " $* " == *" $tab "* ]]; then
      picture "$view" "$out/statistics-$tab$suffix.png" || stop "no picture of the $tab tab$suffix"
    fi
    xdotool key ctrl+Tab
  done
}
tabs ""
# The filter bar as the keyboard sets it: Alt+S and Alt+K reach the server's and the kind's lists,
# which go to the entry whose name is typed.
xdotool key alt+s
xdotool type --delay 20 "lichess"
xdotool key alt+k
xdotool type --delay 20 "Blitz"
tabs -filtered opponents rating-history openings summary
xdotool key ctrl+w
waitFor noWindow "Statistics for ann" || stop "Ctrl+W did not close the Statistics view"
close

# The view as a dark desktop shows it, started as the desktop's menu starts it: Qt takes the
# palette from the GTK theme the desktop names.
QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark "$(dirname "$plugin")/tessik-statistics" \
  --dir "$work/dir" --user ann --opponent Nettle >"$work/view.out" 2>&1 &
viewPid=$!
view=$(windowNamed --shown "Statistics for ann") || stop "no Statistics view on the dark desktop"
openingsByName
tabs -dark
# A window still light had no dark theme: Qt without its GTK platform theme (Debian package
# qt6-gtk-platformtheme) keeps its own palette.
lightness=$(convert "$out/statistics-head-to-head-dark.png" -colorspace Gray \
  -format '%[fx:mean]' info:)
awk -v l="$lightness" 'BEGIN { exit !(l < 0.5) }' ||
  stop "the view was not dark (lightness $lightness): is qt6-gtk-platformtheme installed?"
xdotool key ctrl+w
waitFor noWindow "Statistics for ann" || stop "Ctrl+W did not close the dark Statistics view"
wait "$viewPid"
viewPid=
ls "$out"
