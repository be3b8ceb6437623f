# Sourced by the scripts that drive the programs (the shell tests here, tools/with-desktop.sh,
# tools/demo.sh, tools/screenshots.sh): the skip of a script whose programs are not installed,
# and the waits, each for a condition and with a bound, never for a fixed time.

# The exit status of a script skipped for a missing program (the SKIP_RETURN_CODE of its test).
kSkipped=77

# requirePrograms PROGRAM:PACKAGE...: ends the script as skipped, naming each PROGRAM not
# installed and the Debian PACKAGE that gives it, unless all are there.
requirePrograms() {
  local missing=() entry
  for entry in "$@"; do
    command -v "${entry%%:*}" >/dev/null || missing+=("${entry%%:*} (Debian package ${entry#*:})")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local list
  list=$(printf ', %s' "${missing[@]}")
  echo "skipped: not installed: ${list:2}; ./run test installs them"
  exit "$kSkipped"
}

# waitFor [--within SECONDS] COMMAND [ARG...]: runs COMMAND, its output dropped, until it
# succeeds; fails when it has not within SECONDS (60 by default). The bound only ends a run that
# is failing: one that passes goes on as soon as the condition holds.
waitFor() {
  local bound=60
  if [ "$1" = --within ]; then
    bound=$2
    shift 2
  fi
  local end=$((SECONDS + bound))
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}

# windowNamed [--shown] TITLE: the id of a window with exactly this title (shown on the screen
# with --shown), once there is one.
windowNamed() {
  local shown=()
  if [ "$1" = --shown ]; then
    shown=(--onlyvisible)
    shift
  fi
  waitFor xdotool search "${shown[@]}" --name "$(titlePattern "$1")" || {
    echo "no window \"$1\"" >&2
    return 1
  }
  xdotool search "${shown[@]}" --name "$(titlePattern "$1")" | head -n 1
}

# noWindow TITLE: no window with exactly this title is shown.
noWindow() { ! xdotool search --onlyvisible --name "$(titlePattern "$1")"; }

# The regular expression xdotool matches a window's name with, for exactly TITLE.
titlePattern() { printf '^%s$' "$(sed 's/[][\\.*^$?+(){}|]/\\&/g' <<<"$1")"; }

# A menu of the plug-in is open: a second window of the program shows.
menuShown() { [ "$(xdotool search --onlyvisible --class tessik 2>/dev/null | wc -l)" -gt 1 ]; }
menuClosed() { ! menuShown; }

# answerClose WINDOW KEY: Escape on the plug-in's WINDOW asks whether to close it; KEY (alt+y or
# alt+n) answers once the question has the keyboard, and the question goes.
answerClose() {
  local question
  xdotool windowfocus --sync "$1" key Escape
  question=$(windowNamed --shown "Close Plugin?") || return 1
  xdotool windowfocus --sync "$question" key "$2"
  waitFor noWindow "Close Plugin?"
}

# boxHas WINDOW PATTERN: the plug-in's output box in WINDOW holds a line matching PATTERN (grep),
# copied anew through the clipboard at each look (a click into the box, Ctrl+A, Ctrl+C).
boxHas() {
  xdotool mousemove --window "$1" 150 200 click 1 key ctrl+a ctrl+c
  grep -q -- "$2" <<<"$(xclip -o -selection clipboard 2>/dev/null)"
}

# picture WINDOW FILE: saves a picture of WINDOW once it has stopped changing (two looks in a row
# the same), so that what it was asked to show is drawn.
picture() {
  lastLook=
  waitFor --within 20 looksSettled "$1" && import -window "$1" "$2"
}
looksSettled() {
  local look
  look=$(import -window "$1" rgb:- | md5sum) || return 1
  [ "$look" = "$lastLook" ] && return 0
  lastLook=$look
  return 1
}
