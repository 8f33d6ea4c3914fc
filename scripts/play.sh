#!/usr/bin/env bash
# Builds the project and starts the game on the bundled data folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build="$root/build"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build"
game="$build/bin/quillmarsh"
if [ -x "$game" ]; then
  exec "$game" "$@"
fi
echo "The engine libraries are built; the game program itself is not part of the build yet."
