#!/usr/bin/env bash
# Builds the project and starts the game on the bundled data folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build="$root/build"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build"
exec "$build/bin/quillmarsh" "$@"
