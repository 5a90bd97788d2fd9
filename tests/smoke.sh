#!/usr/bin/env bash
# smoke.sh TEMPLATE PREFIX BINDIR: starts Corvell.exe as a user would and waits for its
# window titled "Corvell" to appear.
set -u
template=$1 prefix=$2 bin=$3
. "$(dirname "$0")/prefix-lib.sh"
new_prefix "$template" "$prefix"
dest="$prefix/drive_c/Program Files/Corvell"
mkdir -p "$dest"
cp "$bin/Corvell.exe" "$dest/"
start_display || exit 1
trap stop_all EXIT
wineserver -p >/dev/null 2>&1 &
# The first-run backup question stays open unanswered: the window is shown before it is asked.
wine "$dest/Corvell.exe" >/dev/null 2>&1 &
# Up to a minute: a machine busy with the other test programs can be slow to show it.
found=0
for _ in $(seq 1 600); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Corvell"'; then found=1; break; fi
  sleep 0.1
done
[ $found -eq 1 ] && echo "window \"Corvell\" is up" || { echo "no window titled Corvell"; exit 1; }
# The load step makes the program's folders beside it.
for _ in $(seq 1 600); do
  [ -d "$dest/Startups" ] && [ -d "$dest/Backups" ] && { echo "folders made"; exit 0; }
  sleep 0.1
done
echo "the Startups and Backups folders were not made"
exit 1
