#!/usr/bin/env bash
# Builds Corvell and starts it under Wine: on $DISPLAY when set, else on an Xvfb display
# that this script starts (its number is printed; see the README for a screenshot).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/deps.sh"
corvell_install_deps
corvell_build "$root" >/dev/null
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$root/build/run-prefix}
if [ -z "${DISPLAY:-}" ]; then
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null' EXIT
  for _ in $(seq 1 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
  export DISPLAY=":$(tr -d '[:space:]' < "$fdfile")"
  rm -f "$fdfile"
  echo "Corvell runs on the Xvfb display $DISPLAY"
  echo "Screenshot: DISPLAY=$DISPLAY import -window root corvell.png"
fi
wine "$root/build/bin/Corvell.exe"
