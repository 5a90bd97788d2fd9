#!/usr/bin/env bash
# run-folders-bench.sh [BUILD_DIR]: runs the startup-folder benchmark in a fresh copy of the
# template prefix with a display of its own, as the tests run (it fills that prefix's Startup
# folders and Run keys).
set -u
tests=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$tests/../build}" && pwd) || exit 1
exec bash "$tests/run-in-prefix.sh" "$build/wine-template" "$build/prefixes/folders_bench" "$build/bin" \
  folders_bench.exe
