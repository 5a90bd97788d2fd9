#!/usr/bin/env bash
# Boots one Wine prefix that every test copies (booting takes seconds, a copy is cheap).
set -eu
template=$1
rm -rf "$template" "$template.tmp"
export WINEPREFIX="$template.tmp" WINEDEBUG=-all
wineboot -i >/dev/null 2>&1 || true
# No window manager runs in the tests: unmanaged windows hide and close at once, where
# managed ones wait two seconds for a window manager's answer.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
mv "$template.tmp" "$template"
touch "$template/.ready"
