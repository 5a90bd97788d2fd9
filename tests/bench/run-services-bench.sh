#!/usr/bin/env bash
# run-services-bench.sh [BUILD_DIR]: runs the services benchmark in a fresh copy of the template
# prefix with a display of its own, as the tests run (it creates 1000 services in that prefix).
set -u
tests=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$tests/../build}" && pwd) || exit 1
exec bash "$tests/run-in-prefix.sh" "$build/wine-template" "$build/prefixes/services_bench" "$build/bin" \
  services_bench.exe
