#!/usr/bin/env bash
# run-backup-bench.sh [BUILD_DIR]: runs the backup benchmark in a fresh copy of the template prefix
# with a display of its own, as the tests run (it fills that prefix's Run keys, services key and
# Startup folders).
set -u
tests=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$tests/../build}" && pwd) || exit 1
exec bash "$tests/run-in-prefix.sh" "$build/wine-template" "$build/prefixes/backup_bench" "$build/bin" \
  backup_bench.exe
