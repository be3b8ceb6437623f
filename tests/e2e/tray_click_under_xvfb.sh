#!/usr/bin/env bash
# tray_click_under_xvfb.sh VEXMOOR_SIM TESSIK — run on a display with a tray
# (tools/with-desktop.sh --tray). A returning user whose window was in the tray logs in, once
# for each way of clicking the tray icon: the window goes to the tray, a real click of that
# kind brings it back and the plug-in keeps running. A last session ends while the window is
# in the tray: the icon goes and the window comes back, as the plug-in stays.
set -euo pipefail
source "$(dirname "$0")/host_run.sh"
mapState() { xwininfo -id "$1" | sed -n 's/^ *Map State: //p'; }
# The icon: the window of the program's name embedded in the tray's panel.
icon() { xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "tessik": ("tessik" "tessik")  22x22.*/\1/p'; }
# The middle of the icon, once it is shown.
iconCentre() {
  local id
  id=$(icon | head -n 1)
  [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | awk '/Map State/ {m = $3}
    /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    END {if (m == "IsViewable") print x + 11, y + 11}'
}
# The panel has placed the icon: shown, and in the same place twice in a row.
iconSettled() {
  local before after
  before=$(iconCentre)
  sleep 0.2
  after=$(iconCentre)
  [ -n "$before" ] && [ "$before" = "$after" ]
}

clicks=("click 1" "click 2" "click 3" "click --repeat 2 --delay 80 1")
inTray='file tessik/tessik.ini "start minimized=1\nclose with connection=0\n"'
mkdir -p "$work/dir/tessik"
# A current log: the marker record alone.
printf '\001\000\000\000\002\000\000\000\000\010\000\000\000\000\000\000\000\000\000\000\000\000***tessik***\000\000\000\000\000\000' \
  >"$work/dir/tessik/ann.glg"
{
  for i in "${!clicks[@]}"; do
    printf '%s\ndg 2 0 ann\nsync\nwaitfor clicked-%s\nend\nsync\nwaitfor checked-%s\n' \
      "$inTray" "$i" "$i"
  done
  printf '%s\ndg 2 0 ann\nsync\nwaitfor in-tray\nend\nsync\npause 60000\n' "$inTray"
} >"$work/session"
QT_QPA_PLATFORM=xcb "$sim" --plugin "$plugin" --dir "$work/dir" "$work/session" >"$work/host.out" 2>&1 &
simPid=$!

await xdotool search --name "^Personal Statistic for ann\$" || fail "no window"
window=$(xdotool search --name "^Personal Statistic for ann\$" | head -n 1)
toTray() {
  await xdotool search --name "^Personal Statistic for ann\$" || fail "no session ($1)"
  await test "$(mapState "$window")" = IsUnMapped || fail "the window did not go to the tray ($1)"
  await iconSettled || fail "no icon in the tray ($1)"
}
for i in "${!clicks[@]}"; do
  toTray "${clicks[$i]}"
  read -r x y < <(iconCentre)
  # shellcheck disable=SC2086
  xdotool mousemove "$x" "$y" ${clicks[$i]}
  await test "$(mapState "$window")" = IsViewable || fail "${clicks[$i]} on the icon did not bring the window back"
  kill -0 "$(pgrep -P "$simPid" -x tessik)" 2>/dev/null || fail "${clicks[$i]} on the icon ended the plug-in"
  touch "$work/dir/clicked-$i"
  await grep -q "^waitfor checked-$i" "$work/host.out" || fail "the session did not end"
  grep -qx "start minimized=0" "$work/dir/tessik/tessik.ini" || fail "start minimized stayed on"
  touch "$work/dir/checked-$i"
done

toTray "the end of a session"
touch "$work/dir/in-tray"
await xdotool search --name "^Plugin not connected\$" || fail "the session did not end"
await test "$(mapState "$window")" = IsViewable || fail "the window stayed hidden after the session"
await test -z "$(icon)" || fail "the icon stayed after the session"
xdotool windowfocus --sync "$window" key Escape
sleep 0.3
xdotool key alt+y
wait "$simPid" || fail "the host ended with an error"
simPid=
grep -q "^exit 0$" "$work/host.out" || fail "the plug-in did not end cleanly"
grep -qx "start minimized=1" "$work/dir/tessik/tessik.ini" || fail "start minimized went off"
echo "every kind of click on the tray icon brought the window back; a session ended in the tray showed it"
