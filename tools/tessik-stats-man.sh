#!/bin/sh
# tessik-stats-man.sh TESSIK_STATS OUTPUT — the manual page of tessik-stats, made by help2man
# from its --help, with each command's --help in a COMMANDS section, then examples, the files
# it reads and writes, its environment and its exit statuses.
set -eu
program=$1
output=$2
sections=$(mktemp)
trap 'rm -f "$sections"' EXIT
{
  echo '[COMMANDS]'
  for command in score rank history openings summary export import fetch sources forget; do
    echo ".SS $command"
    echo '.nf'
    "$program" "$command" --help
    echo '.fi'
  done
  cat <<'SECTIONS'
[EXAMPLES]
.nf
tessik-stats fetch lichess quietrook
tessik-stats \-\-user quietrook fetch chesscom QuietRook
tessik-stats \-\-user quietrook fetch
tessik-stats score Fen_Walker
tessik-stats rank surprise \-\-elo \-\-server lichess
tessik-stats rank best \-\-limit 20 \-\-server chesscom
tessik-stats history \-\-by year \-\-json
tessik-stats history \-\-class rapid \-\-since 2025
tessik-stats score kenzy \-\-since 30d \-\-opponent\-rating 1800\-2000
tessik-stats openings \-\-by family \-\-colour black \-\-min\-games 5
tessik-stats summary \-\-clock 180+2 \-\-utc
tessik-stats \-\-user ann import games.pgn.gz \-\-player quietrook
.fi
[FILES]
.TP
.I DIR/tessik/USER.glg
The game log of the Tessik plug-in (\-\-dir names DIR): read, never written.
.TP
.I ${XDG_DATA_HOME:\-~/.local/share}/tessik/USER.sqlite
The database of the user's imported and fetched games, in a folder only the user may use;
\-\-db or TESSIK_DB name another file. SQLite keeps FILE\-wal and FILE\-shm beside it while it is
open.
[ENVIRONMENT]
.TP
.B TESSIK_DB
The database's file, unless \-\-db names one.
.TP
.B XDG_DATA_HOME
The folder of the database's default place (~/.local/share when unset).
.TP
.B TESSIK_LICHESS_TOKEN
A lichess personal API token, unless \-\-token\-file names a file holding one.
.TP
.B TESSIK_LICHESS_URL, TESSIK_CHESSCOM_URL
Replace https://lichess.org and https://api.chess.com (plain http only for this machine).
.TP
.B TESSIK_FETCH_WAIT_SECONDS
Replaces lichess's minute of waiting after HTTP 429.
[EXIT STATUS]
.TP
.B 0
Success.
.TP
.B 1
A command line that cannot be taken: an unknown command or option, a value an option does not
take, a period whose \-\-since comes after its \-\-until.
.TP
.B 2
A log, database or file that cannot be used, an import that finds none of the user's games, a
download that failed, or output that could not be written.
SECTIONS
} >"$sections"
help2man --no-info --include "$sections" \
  --name "statistics of a player's games: the Tessik game log, lichess and chess.com" \
  --output "$output" "$program"
