#!/usr/bin/env bash
# check-layers.sh SOURCE_DIR STAMP STEP... — the layer check of every build.
# Each STEP is one layer of SOURCE_DIR's folders, from the bottom up, its folders separated by
# spaces ("base platform" "host store" ...). A file may include headers of its own layer and of
# lower layers only; Qt only in ui/, view/ and main.cpp, CLI11 only in cli/, nlohmann-json only in cli/
# and fetch/.
# Prints each include that breaks these as FILE:LINE: error: ..., and fails; touches STAMP when
# every include holds.
set -euo pipefail
sources=$1
stamp=$(realpath -m "$2")
shift 2
declare -A rank
layer=0
for step in "$@"; do
  layer=$((layer + 1))
  for folder in $step; do rank[$folder]=$layer; done
done
order=$(printf ' | %s' "$@")
order=${order:3}

faults=0
fault() {
  echo "$sources/$1:$2: error: $3" >&2
  faults=$((faults + 1))
}

# Sets target to the folder a header is in: the first part of its path from SOURCE_DIR (headers
# are included by that path), or the including file's own folder for a header named alone (one
# beside it, or a generated one such as version.h).
folderOf() {
  local header=$1 own=$2
  case "$header" in
    ../* | */../*) header=$(realpath -m --relative-to=. "$own/$header") ;;
  esac
  case "$header" in
    */*) target=${header%%/*} ;;
    *) target=$own ;;
  esac
}

cd "$sources"
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^">]+)[">]'
while IFS=: read -r file line text; do
  [[ "$text" =~ $include ]] || continue
  header=${BASH_REMATCH[2]}
  own=${file%%/*}
  [ "$own" != "$file" ] || own=  # a file at the top (main.cpp) is above every layer
  if [ "${BASH_REMATCH[1]}" = "<" ]; then
    case "$header" in
      Q*) [ "$own" = ui ] || [ "$own" = view ] || [ "$file" = main.cpp ] ||
        fault "$file" "$line" "includes <$header>: Qt is used only in ui/, view/ and main.cpp" ;;
      CLI/*) [ "$own" = cli ] ||
        fault "$file" "$line" "includes <$header>: CLI11 is used only in cli/" ;;
      nlohmann/*) [ "$own" = cli ] || [ "$own" = fetch ] ||
        fault "$file" "$line" "includes <$header>: nlohmann-json is used only in cli/ and fetch/" ;;
    esac
    continue
  fi
  [ -n "$own" ] && [ -n "${rank[$own]:-}" ] || continue
  folderOf "$header" "$own"
  [ -n "${rank[$target]:-}" ] || continue
  [ "${rank[$target]}" -le "${rank[$own]}" ] ||
    fault "$file" "$line" "includes \"$header\" of a higher layer than $own/ (the layers from the bottom: $order)"
done < <(grep -rnE --include='*.h' --include='*.cpp' "$include" . | sed 's|^\./||')

if [ "$faults" -gt 0 ]; then
  echo "check-layers.sh: $faults include(s) run against the layers" >&2
  exit 1
fi
touch "$stamp"
