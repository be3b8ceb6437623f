#!/usr/bin/env bash
# with-desktop.sh [--tray] COMMAND [ARG...]
# Runs COMMAND on a private X display (Xvfb, 1024x768), with a system tray (trayer) when asked.
# The display and the tray end with the command; its exit status is the command's. Without
# Xvfb and xdotool (and trayer for the tray) it ends as skipped (status 77), saying which.
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/drive.sh"
tray=no
if [ "${1:-}" = "--tray" ]; then
  tray=yes
  shift
fi
requirePrograms Xvfb:xvfb xdotool:xdotool
[ "$tray" = no ] || requirePrograms trayer:trayer
pids=
scratch=$(mktemp -d)
trap 'stopDesktop; rm -rf "$scratch"' EXIT
# Xvfb has written the number of its display, or has ended.
numbered() { grep -qx '[0-9][0-9]*' "$scratch/display" || ! kill -0 "$xvfb"; }
# The display takes a client, or Xvfb has ended.
answers() { DISPLAY=":$number" xdotool getdisplaygeometry || ! kill -0 "$xvfb"; }
# The tray's panel shows, or trayer has ended.
panelShown() { xdotool search --onlyvisible --class trayer || ! kill -0 "$trayer"; }

# startDesktop: a new display (and tray, when asked) for the command; DISPLAY names it.
startDesktop() {
  # Xvfb picks a free display number itself and writes it back: it takes the number with the X
  # lock file, so tests that start displays side by side never share one. The display is used once
  # a client has connected to it; one that takes no client is started again.
  for attempt in 1 2 3; do
    : >"$scratch/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" \
      >"$scratch/xvfb.log" 2>&1 &
    xvfb=$!
    pids="$pids $xvfb"
    number=
    waitFor --within 20 numbered && number=$(cat "$scratch/display")
    if [ -n "$number" ] && waitFor --within 10 answers && kill -0 "$xvfb" 2>/dev/null; then
      break
    fi
    echo "with-desktop.sh: display :${number:-?} took no client (attempt $attempt):" >&2
    cat "$scratch/xvfb.log" >&2
    kill "$xvfb" 2>/dev/null || true
    number=
  done
  [ -n "$number" ] || { echo "with-desktop.sh: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$number"
  if [ "$tray" = yes ]; then
    # The panel is shown once the tray in it has taken the display's tray selection: only then do
    # programs see a system tray. A panel that ends before it shows is started again.
    for attempt in 1 2 3; do
      # No accessibility bridge and no session bus: the panel starts at once, with nothing to wait for.
      NO_AT_BRIDGE=1 DBUS_SESSION_BUS_ADDRESS=disabled: \
        trayer --edge top --align right --widthtype request --height 24 >"$scratch/trayer.log" 2>&1 &
      trayer=$!
      pids="$pids $trayer"
      waitFor --within 30 panelShown || true
      xdotool search --onlyvisible --class trayer >/dev/null 2>&1 && break
      echo "with-desktop.sh: the tray panel did not show (attempt $attempt):" >&2
      cat "$scratch/trayer.log" >&2
      kill "$trayer" 2>/dev/null || true
    done
  fi
}

# stopDesktop: ends the display and tray, and waits until they have gone. An X server that is
# ending gives up its lock file before its sockets: a display started meanwhile takes the same
# number, answers a first client through the ending server's socket, then refuses every client
# once that server has removed the socket's file. The next test starts only after this one ends.
stopDesktop() {
  kill $pids 2>/dev/null || true
  wait $pids 2>/dev/null || true
  pids=
}
# A command that failed may have failed for its display: say how the X server fared. A display
# that refused a client ("could not connect to display"), as one does when another program's X
# server of the same number ends beside it, is the machine's fault, not the command's: the
# command runs once more on a new display.
runOnDesktop() {
  local status=0
  "$@" 2>&1 | tee "$scratch/output" || status=${PIPESTATUS[0]}
  if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
    kill -0 "$xvfb" 2>/dev/null || echo "with-desktop.sh: Xvfb of display :$number had ended" >&2
    [ -s "$scratch/xvfb.log" ] && { echo "with-desktop.sh: Xvfb said:" >&2; cat "$scratch/xvfb.log" >&2; }
  fi
  return "$status"
}
startDesktop
status=0
runOnDesktop "$@" || status=$?
if [ "$status" -ne 0 ] && grep -q "could not connect to display" "$scratch/output"; then
  echo "with-desktop.sh: display :$number refused a client; the command runs again on a new display" >&2
  stopDesktop
  startDesktop
  status=0
  runOnDesktop "$@" || status=$?
fi
exit "$status"
