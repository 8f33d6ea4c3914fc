#!/usr/bin/env bash
# Builds everything and runs every test. Usage: scripts/test.sh [build-dir [cmake options...]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=${1:-"$root/build"}
shift || true
cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build"
cd "$build"
ctest -j"$(nproc)" --output-on-failure --timeout 600
