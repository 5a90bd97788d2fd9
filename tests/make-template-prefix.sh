#!/usr/bin/env bash
# Boots one Wine prefix that every test copies (booting takes seconds, a copy is cheap).
set -eu
template=$1
rm -rf "$template" "$template.tmp"
export WINEPREFIX="$template.tmp" WINEDEBUG=-all
wineboot -i >/dev/null 2>&1 || true
wineserver -w
mv "$template.tmp" "$template"
touch "$template/.ready"
