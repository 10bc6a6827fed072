#!/usr/bin/env bash
# The run command: builds the program (release) and runs it on the bundled
# sample media. Build folder: build/release (or $BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build/release}"

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

# The setup program itself is not built yet; until it is, show the table and
# expression tool on the sample fixtures.
xbtool="$build/tools/xbtool/xbtool"
"$xbtool" --help
