#!/usr/bin/env bash
# run-startups-bench.sh [BUILD_DIR] [ROUNDS]: runs the startup-lists benchmark in a fresh copy of
# the template prefix with a display of its own, as the tests run (it fills that prefix's Run key).
set -u
tests=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$tests/../build}" && pwd) || exit 1
exec bash "$tests/run-in-prefix.sh" "$build/wine-template" "$build/prefixes/startups_bench" "$build/bin" \
  startups_bench.exe ${2:+"$2"}
