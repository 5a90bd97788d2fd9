#!/usr/bin/env bash
# Builds everything and runs every test under Wine; the last lines are CTest's summary.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/deps.sh"
corvell_install_deps
corvell_build "$root" >/dev/null
cd "$root/build"
exec ctest -j"$(nproc)" --output-on-failure
