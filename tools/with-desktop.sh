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
for display in $(seq 91 150); do
  [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids=$!
trap 'kill $pids 2>/dev/null || true' EXIT
export DISPLAY=":$display"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
if [ "$tray" = yes ]; then
  trayer --edge top --align right --widthtype request --height 24 >/dev/null 2>&1 &
  pids="$pids $!"
  for _ in $(seq 100); do xdotool search --class trayer >/dev/null 2>&1 && break; sleep 0.05; done
fi
"$@"
