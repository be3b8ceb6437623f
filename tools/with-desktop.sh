#!/usr/bin/env bash
# with-desktop.sh [--tray] COMMAND [ARG...]
# Runs COMMAND on a private X display (Xvfb, 1024x768), with a system tray (trayer) when asked.
# The display and the tray end with the command; its exit status is the command's.
set -euo pipefail
tray=no
if [ "${1:-}" = "--tray" ]; then
  tray=yes
  shift
fi
pids=
trap 'kill $pids 2>/dev/null || true' EXIT
# A display number of its own, drawn at random from a wide range: a number that another Xvfb has
# just given up could lose its socket to that server's exit, and tests start many displays.
for attempt in $(seq 20); do
  number=$((RANDOM % 900 + 100))
  [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  pids=$!
  export DISPLAY=":$number"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    kill -0 "$pids" 2>/dev/null || break  # the number was taken: Xvfb ended
    sleep 0.05
  done
  xdpyinfo >/dev/null 2>&1 && sleep 0.1 && kill -0 "$pids" 2>/dev/null && break  # and it is ours
  kill "$pids" 2>/dev/null || true
  wait "$pids" 2>/dev/null || true
  [ "$attempt" -lt 20 ] || { echo "with-desktop.sh: Xvfb did not start" >&2; exit 1; }
done
if [ "$tray" = yes ]; then
  # No accessibility bridge and no session bus: the panel starts at once, with nothing to wait for.
  NO_AT_BRIDGE=1 DBUS_SESSION_BUS_ADDRESS=disabled: \
    trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
  pids="$pids $!"
  # The panel is shown once the tray in it has taken the display's tray selection: only then do
  # programs see a system tray.
  for _ in $(seq 200); do
    xdotool search --onlyvisible --class trayer >/dev/null 2>&1 && break
    sleep 0.05
  done
fi
"$@"
