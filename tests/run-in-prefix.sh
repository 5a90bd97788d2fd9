#!/usr/bin/env bash
# run-in-prefix.sh TEMPLATE PREFIX BINDIR TEST.exe [args]: runs one test program in a
# fresh copy of the template prefix, from C:\corvell with the helper programs beside it.
set -u
template=$1 prefix=$(realpath -m "$2") bin=$(realpath -m "$3") exe=$4
shift 4
. "$(dirname "$0")/prefix-lib.sh"
new_prefix "$template" "$prefix"
dest="$prefix/drive_c/corvell"
mkdir -p "$dest"
cp "$bin/$exe" "$dest/"
[ -d "$bin/helpers" ] && cp "$bin"/helpers/*.exe "$dest/" 2>/dev/null
start_display || exit 1
trap stop_all EXIT
wineserver -p >/dev/null 2>&1 &
cd "$dest"
wine "C:\\corvell\\$exe" "$@"
rc=$?
stop_all
trap - EXIT
[ $rc -eq 0 ] && rm -rf "$prefix"
exit $rc
