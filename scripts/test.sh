#!/usr/bin/env bash
# The test command: installs what is missing, configures the sanitizer build
# (address + undefined), builds everything and runs every test, including the
# replay of the committed fuzz corpora. Build folder: build/asan (or $BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build/asan}"

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$root/.ci/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600 "$@"
