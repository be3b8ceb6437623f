#!/usr/bin/env bash
# installed_docs.sh CMAKE BUILD_DIR — installs the built tree into a scratch prefix and checks
# the package's documentation directory: every relative link in its markdown files leads to an
# installed file inside it, and the machine-readable copyright file is there; and the manual
# page of tessik-stats, with a section for each of its commands and its examples, files,
# environment and exit statuses; and the desktop's menu entry of tessik-statistics, valid, with its
# program and its icon installed. Skipped (status 77) without help2man, which makes the manual
# page, or desktop-file-validate.
set -euo pipefail
source "$(dirname "$0")/../e2e/drive.sh"
requirePrograms help2man:help2man desktop-file-validate:desktop-file-utils
cmake=$1
build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
if ! log=$("$cmake" --install "$build" --prefix "$prefix" 2>&1); then
  echo "$log"
  echo "FAILED: cmake --install $build"
  exit 1
fi
doc="$(realpath "$prefix")/share/doc/tessik"
faults=()

# The link targets of a markdown file, inline and reference-style, outside fenced code blocks.
links() {
  awk '/^ *```/ { fence = !fence; next } !fence' "$1" |
    grep -oE '\]\([^)]*\)|^ {0,3}\[[^]]+\]: *[^ ]+' |
    sed -E 's/^\]\((.*)\)$/\1/; s/^ *\[[^]]+\]: *//; s/ +"[^"]*"$//; s/^<(.*)>$/\1/' || true
}

[ -f "$doc/README.md" ] || faults+=("README.md is not installed")
checked=0
while IFS= read -r -d '' page; do
  while IFS= read -r target; do
    case "$target" in
      '' | '#'* | [a-zA-Z]*:*) continue ;;  # an anchor on the page, or a URL
    esac
    file=${target%%#*}
    file=${file%%\?*}
    checked=$((checked + 1))
    resolved=$(realpath -m "$(dirname "$page")/$file")
    if [[ "$file" == /* || "$resolved" != "$doc"/* || ! -e "$resolved" ]]; then
      faults+=("${page#"$doc"/} links to $target, which is not installed beside it")
    fi
  done < <(links "$page")
done < <(find "$doc" -name '*.md' -print0)
[ "$checked" -gt 0 ] || faults+=("no relative link found in the installed markdown files")

head -n 1 "$doc/copyright" 2>/dev/null |
  grep -qxF "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
  faults+=("share/doc/tessik/copyright is missing or not in the machine-readable format")

man="$prefix/share/man/man1/tessik-stats.1"
commands=$("$build/tessik-stats" --help | sed -n '/^Subcommands:/,$s/^  \([a-z]*\) .*/\1/p')
[ -n "$commands" ] || faults+=("tessik-stats --help lists no command")
for command in $commands; do
  grep -qx "\.SS $command" "$man" 2>/dev/null ||
    faults+=("share/man/man1/tessik-stats.1 is missing or has no section on $command")
done
for section in EXAMPLES FILES ENVIRONMENT '"EXIT STATUS"'; do
  grep -qx "\.SH $section" "$man" 2>/dev/null ||
    faults+=("share/man/man1/tessik-stats.1 has no $section section")
done

entry="$prefix/share/applications/tessik-statistics.desktop"
if ! problems=$(desktop-file-validate "$entry" 2>&1); then
  faults+=("the desktop entry is missing or not valid: $problems")
fi
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry" 2>/dev/null)
[ -n "$program" ] && [ -x "$prefix/bin/$program" ] ||
  faults+=("the desktop entry starts \"$program\", which is not installed")
icon=$(sed -n 's/^Icon=//p' "$entry" 2>/dev/null)
[ -n "$icon" ] && [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
  faults+=("the desktop entry's icon \"$icon\" is not installed")

if [ ${#faults[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${faults[@]}"
  exit 1
fi
echo "$checked links in the installed documentation resolve; the copyright file, the manual page and the menu entry are there"
