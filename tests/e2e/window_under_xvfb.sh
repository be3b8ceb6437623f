#!/usr/bin/env bash
# window_under_xvfb.sh VEXMOOR_SIM TESSIK
# The real window driven by real input events on a private X display: a finished game, then a
# typed name and Enter (the score reaches the host), a report from the menu (read back through
# the clipboard), the statistics view started from the menu as a program of its own (and on no
# record, offering a fetch), the close
# question answered No (host messages are handled again after it),
# and closing the plug-in with Escape and Yes.
set -euo pipefail
source "$(dirname "$0")/host_run.sh"
requirePrograms xprop:x11-utils xclip:xclip
# The host has printed the game's score line at least $1 times.
scored() { [ "$(grep -c 'Score against bobby +1 =0 -0' "$work/host.out")" -ge "$1" ]; }

cat >"$work/session" <<'SESSION'
dg 2 0 ann
sync
dg 2 15 1 ann bobby 0 Blitz 1 3 0 3 0 1 "" 1500 1500 42 "" ""
dg 2 16 1 ann bobby 1-0
sync
waitfor box-closed
dg 1 130 "Finger of bobby:"
pause 30000
SESSION
QT_QPA_PLATFORM=xcb "$sim" --plugin "$plugin" --dir "$work/dir" "$work/session" >"$work/host.out" 2>&1 &
simPid=$!

window=$(windowNamed "Personal Statistic for ann") || fail "no window"
hints=$(xprop -id "$window" WM_NORMAL_HINTS)
smallest=$(sed -n 's/.*minimum size: //p' <<<"$hints")
largest=$(sed -n 's/.*maximum size: //p' <<<"$hints")
[ -n "$smallest" ] && [ "$smallest" = "$largest" ] || fail "the window can be resized: $hints"
waitFor scored 1 || fail "the game was not scored"
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" 60 40 click 1  # into the name field

xdotool type --delay 20 "bob"
xdotool key Return
waitFor scored 2 || fail "the typed name was not looked up"

xdotool key alt+a
waitFor menuShown || fail "the Actions menu did not open"
xdotool key Return  # the first entry: Most 10
waitFor boxHas "$window" "Most games against:" || fail "the report did not reach the output box"
grep -q "^bobby .*(1)  +1" <<<"$(xclip -o -selection clipboard)" || fail "the report lacks bobby"

xdotool key alt+a
waitFor menuShown || fail "the Actions menu did not open"
xdotool key Up Return  # the last entry: Statistics…
view=$(windowNamed --shown "Statistics for ann") || fail "Statistics… did not start the view"
xdotool windowfocus --sync "$view" key ctrl+w
waitFor noWindow "Statistics for ann" || fail "Ctrl+W did not close the view"

# Started on a folder with no record, the program offers to fetch an account's games.
mkdir "$work/empty"
"$(dirname "$plugin")/tessik-statistics" --dir "$work/empty" &
statisticsPid=$!
offer=$(windowNamed --shown "Statistics") || fail "no word that there is no record"
xdotool windowfocus --sync "$offer" key alt+f
fetch=$(windowNamed --shown "Fetch games") || fail "Fetch games… did not open the fetch"
xdotool windowfocus --sync "$fetch" key Escape
wait "$statisticsPid" && fail "the program went on with no record" || true

answerClose "$window" alt+n || fail "Escape did not ask, or No did not close the question"
touch "$work/dir/box-closed"
waitFor scored 3 || fail "a host message after the question was not handled"
answerClose "$window" alt+y || fail "Escape did not ask, or Yes did not close the question"
wait "$simPid" || fail "the host ended with an error"
simPid=
grep -q "^exit 0$" "$work/host.out" || fail "the plug-in did not end cleanly"
echo "the window answered a typed name, a menu report, a host message after a box and a confirmed close"
