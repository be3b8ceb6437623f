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
numberFile=$(mktemp)
pids=
trap 'kill $pids 2>/dev/null || true; rm -f "$numberFile"' EXIT
# Clients can connect to the display: twice, a moment apart.
answers() { xdpyinfo >/dev/null 2>&1 && sleep 0.2 && xdpyinfo >/dev/null 2>&1; }
# Xvfb picks a free display itself and writes its number to descriptor 3. A display number just
# given up by another Xvfb may lose its socket to that server's exit: then start again.
for attempt in 1 2 3 4 5; do
  : >"$numberFile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
  pids=$!
  for _ in $(seq 200); do [ -s "$numberFile" ] && break; sleep 0.05; done
  if [ -s "$numberFile" ]; then
    export DISPLAY=":$(head -n 1 "$numberFile")"
    answers && break
  fi
  kill "$pids" 2>/dev/null || true
  wait "$pids" 2>/dev/null || true
  [ "$attempt" -lt 5 ] || { echo "with-desktop.sh: Xvfb did not start" >&2; exit 1; }
done
if [ "$tray" = yes ]; then
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
