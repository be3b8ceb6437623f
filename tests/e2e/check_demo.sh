#!/usr/bin/env bash
# check_demo.sh VEXMOOR_SIM TESSIK — runs the demo and checks its transcript against the lines
# the plug-in must print: the greeting of a new user, the import's outcome, the tips, score lines
# of the fixed forms, the four ranking reports, the files, a clean end.
set -euo pipefail
source "$(dirname "$0")/drive.sh"
requirePrograms xclip:xclip  # the window's text is read through the clipboard
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$(dirname "$0")/../.."
tools/demo.sh "$1" "$2" "$out/demo" >"$out/transcript"
t="$out/transcript"
fail() {
  echo "FAILED: $*"
  cat "$t"
  exit 1
}
has() { grep -qxF -- "$1" "$t" || fail "no line: $1"; }

has "  Hello ann"
has "  Succesfully imported the game results from your pgn"
has "  - By default all the options that make the plugin show more details are turned off so you won't get spammed by information you may not want. Look at the options menu and turn on what you like"
has "  - If you don't want to see the plugin window all the time, minimize it. It will go to the System tray then and remember it for the next start"
for heading in "Most games against:" "Best:" "Worst:" "Overall score:" "150 Opponents"; do has "  $heading"; done
grep -qE '^  [0-9]+% overall$' "$t" || fail "no overall percentage"

console=$(sed -n '/^== What Vexmoor.s console received/,/^$/p' "$t" | sed '1d;$d')
[ "$(echo "$console" | wc -l)" -eq 13 ] || fail "13 console lines expected"
score='Score against [^ ]+ \+[0-9]+ =[0-9]+ -[0-9]+ \([0-9]+%\)'
none='No game results against [^ ]+ found'
grep -vqE "^  ($score|$none)$" <<<"$console" && fail "a console line of another form"
# The match offer, the game's start and its end: the win is counted once, at the end.
nettle=$(echo "$console" | grep -E 'against Nettle ' | sed -E 's/.*\+([0-9]+) .*/\1/' | paste -sd ' ')
set -- $nettle
[ $# -eq 3 ] && [ "$1" = "$2" ] && [ "$3" = $(($1 + 1)) ] || fail "Nettle's wins: $nettle"
grep -qxF "  No game results against Newcomer found" <<<"$console" || fail "Newcomer"
grep -qxF "  Score against Newcomer +0 =0 -1 (0%)" <<<"$console" || fail "Newcomer's game"

grep -qE '^  tessik/ann\.glg +[0-9]+ bytes$' "$t" || fail "no game log"
size=$(sed -nE 's/^  tessik\/ann\.glg +([0-9]+) bytes$/\1/p' "$t")
[ $((size % 40)) -eq 0 ] || fail "the game log is not whole records"
has "  Read 2000 Games from the PGN, put 2001 in the gamelog"
has "== exit 0 =="
echo "the demo's transcript holds what the plug-in must show"
