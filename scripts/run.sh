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
  . "$root/tests/prefix-lib.sh"
  start_display || exit 1
  trap 'kill "$XVFB_PID" 2>/dev/null' EXIT
  echo "Corvell runs on the Xvfb display $DISPLAY"
  echo "Screenshot: DISPLAY=$DISPLAY import -window root corvell.png"
fi
wine "$root/build/bin/Corvell.exe"
