#!/bin/sh
# tessik-stats-man.sh TESSIK_STATS OUTPUT — the manual page of tessik-stats, made by help2man
# from its --help, with each command's --help in a COMMANDS section.
set -eu
program=$1
output=$2
commands=$(mktemp)
trap 'rm -f "$commands"' EXIT
{
  echo '[COMMANDS]'
  for command in score rank history export import; do
    echo ".SS $command"
    echo '.nf'
    "$program" "$command" --help
    echo '.fi'
  done
} >"$commands"
help2man --no-info --include "$commands" --name "statistics from the Tessik game log" \
  --output "$output" "$program"
