#!/usr/bin/env bash
# tray_click_under_xvfb.sh VEXMOOR_SIM TESSIK — run on a display with a tray
# (tools/with-desktop.sh --tray). A returning user whose window was in the tray logs in, once
# for each way of clicking the tray icon: the window goes to the tray, a real click of that
# kind brings it back and the plug-in keeps running. A last session ends while the window is
# in the tray: the icon goes and the window comes back, as the plug-in stays.
set -euo pipefail
source "$(dirname "$0")/host_run.sh"
requirePrograms xwininfo:x11-utils pgrep:procps
mapState() { xwininfo -id "$1" | sed -n 's/^ *Map State: //p'; }
# The window's map state is $1 (IsViewable, IsUnMapped).
windowIs() { [ "$(mapState "$window")" = "$1" ]; }
# The icon: the window of the program's name embedded in the tray's panel.
icon() { xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "tessik": ("tessik" "tessik")  22x22.*/\1/p'; }
noIcon() { [ -z "$(icon)" ]; }
# The middle of the icon once the panel has placed it: shown, and whole inside the panel (which
# grows to take it in after the icon is docked).
iconCentre() {
  local id
  id=$(icon | head -n 1)
  [ -n "$id" ] && { xwininfo -id "$panel" && xwininfo -id "$id"; } 2>/dev/null | awk '
    BEGIN {n = 0}  # 0: the panel, 1: the icon
    /Absolute upper-left X/ {x[n] = $4} /Absolute upper-left Y/ {y[n] = $4}
    /Width/ {w[n] = $2} /Height/ {h[n] = $2} /Map State/ {m[n++] = $3}
    END {if (n == 2 && m[1] == "IsViewable" && x[1] >= x[0] && y[1] >= y[0] &&
             x[1] + w[1] <= x[0] + w[0] && y[1] + h[1] <= y[0] + h[0])
           print x[1] + int(w[1] / 2), y[1] + int(h[1] / 2)}'
}
# The icon is inside the panel and stays where it is: the panel grows to take a new icon, which
# moves it once more after it first shows. Five looks in a row find it at the same place.
iconPlaced() {
  local centre
  centre=$(iconCentre)
  if [ -n "$centre" ] && [ "$centre" = "$lastCentre" ]; then
    sameLooks=$((sameLooks + 1))
  else
    sameLooks=1
  fi
  lastCentre=$centre
  [ "$sameLooks" -ge 5 ]
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
# The plug-in looks for a tray as it starts: it starts once the tray's panel shows.
panel=$(timeout 60 xdotool search --sync --onlyvisible --class trayer | head -n 1) || true
[ -n "$panel" ] || { echo "FAILED: no tray panel"; exit 1; }
QT_QPA_PLATFORM=xcb "$sim" --plugin "$plugin" --dir "$work/dir" "$work/session" >"$work/host.out" 2>&1 &
simPid=$!

window=$(windowNamed "Personal Statistic for ann") || fail "no window"
toTray() {
  windowNamed "Personal Statistic for ann" >/dev/null || fail "no session ($1)"
  waitFor windowIs IsUnMapped || fail "the window did not go to the tray ($1)"
  lastCentre= sameLooks=0
  waitFor iconPlaced || fail "no icon in the tray ($1)"
}
for i in "${!clicks[@]}"; do
  toTray "${clicks[$i]}"
  read -r x y < <(iconCentre) || fail "the icon moved (${clicks[$i]})"
  # shellcheck disable=SC2086
  xdotool mousemove "$x" "$y" ${clicks[$i]}
  waitFor windowIs IsViewable || fail "${clicks[$i]} on the icon did not bring the window back"
  kill -0 "$(pgrep -P "$simPid" -x tessik)" 2>/dev/null || fail "${clicks[$i]} on the icon ended the plug-in"
  touch "$work/dir/clicked-$i"
  waitFor grep -q "^waitfor checked-$i" "$work/host.out" || fail "the session did not end"
  grep -qx "start minimized=0" "$work/dir/tessik/tessik.ini" || fail "start minimized stayed on"
  touch "$work/dir/checked-$i"
done

toTray "the end of a session"
touch "$work/dir/in-tray"
windowNamed "Plugin not connected" >/dev/null || fail "the session did not end"
waitFor windowIs IsViewable || fail "the window stayed hidden after the session"
waitFor noIcon || fail "the icon stayed after the session"
answerClose "$window" alt+y || fail "Escape did not ask, or Yes did not close the question"
wait "$simPid" || fail "the host ended with an error"
simPid=
grep -q "^exit 0$" "$work/host.out" || fail "the plug-in did not end cleanly"
grep -qx "start minimized=1" "$work/dir/tessik/tessik.ini" || fail "start minimized went off"
echo "every kind of click on the tray icon brought the window back; a session ended in the tray showed it"
