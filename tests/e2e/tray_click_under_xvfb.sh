#!/usr/bin/env bash
# tray_click_under_xvfb.sh VEXMOOR_SIM TESSIK — run on a display with a tray
# (tools/with-desktop.sh --tray). A returning user whose window was in the tray logs in: the
# window goes to the tray; a real click on the tray icon brings it back and clears
# "start minimized".
set -euo pipefail
source "$(dirname "$0")/host_run.sh"
mapState() { xwininfo -id "$1" | sed -n 's/^ *Map State: //p'; }

mkdir -p "$work/dir/tessik"
# A current log: the marker record alone.
printf '\001\000\000\000\002\000\000\000\000\010\000\000\000\000\000\000\000\000\000\000\000\000***tessik***\000\000\000\000\000\000' \
  >"$work/dir/tessik/ann.glg"
printf 'start minimized=1\n' >"$work/dir/tessik/tessik.ini"
printf 'dg 2 0 ann\nsync\nwaitfor clicked\nend\n' >"$work/session"
QT_QPA_PLATFORM=xcb "$sim" --plugin "$plugin" --dir "$work/dir" "$work/session" >"$work/host.out" 2>&1 &
simPid=$!

await xdotool search --name "^Personal Statistic for ann\$" || fail "no window"
window=$(xdotool search --name "^Personal Statistic for ann\$" | head -n 1)
await test "$(mapState "$window")" = IsUnMapped || fail "the window did not go to the tray"
# The icon: the window of the program's name embedded in the tray's panel.
icon() { xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "tessik": ("tessik" "tessik")  22x22.*/\1/p'; }
await test -n "$(icon)" || fail "no icon in the tray"
read -r x y < <(xwininfo -id "$(icon)" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x + 11, y + 11}')
xdotool mousemove "$x" "$y" click 1
await test "$(mapState "$window")" = IsViewable || fail "a click on the icon did not bring the window back"
touch "$work/dir/clicked"
wait "$simPid" || fail "the host ended with an error"
simPid=
grep -qx "start minimized=0" "$work/dir/tessik/tessik.ini" || fail "start minimized stayed on"
echo "the window went to the tray at login and a click on its icon brought it back"
