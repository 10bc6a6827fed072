#!/usr/bin/env bash
# The run command: builds the program (release) and its installation media,
# then starts quorvanta-setup from the media's start folder. Build folder:
# build/release (or $BUILD_DIR). Nothing outside the build folder is
# touched: drive C is a folder inside it (with the older generation's
# sample data in C:\ZENTHOR), drive D the media's start folder, and print
# jobs become PDF files in build/release/run/pdf.
# With a display ($DISPLAY or $WAYLAND_DISPLAY) the windows open; without
# one a short headless tour runs, one run per step, printing transcripts.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build/release}"

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target quorvanta-setup
cmake --build "$build" --target media

media="$build/media"
drive_c="$build/run/c"
export QUORVANTA_DRIVES="C=$drive_c;D=$media/cd"
export QUORVANTA_PRINT_PDF="$build/run/pdf"
mkdir -p "$QUORVANTA_PRINT_PDF"
# Qt's runtime folder, private to this run when the session has none.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$build/run/xdg}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
setup="$build/src/app/quorvanta-setup"
cd "$media/cd"
# The program gives a new, empty drive C the folders of a Windows drive;
# one quiet start does that before the sample data arrives.
if [ ! -d "$drive_c/WINDOWS" ]; then
  rm -rf "$drive_c" && mkdir -p "$drive_c"
  QUORVANTA_PRINT_PDF= "$setup" --headless </dev/null >/dev/null 2>&1 || true
fi
rm -rf "$drive_c/ZENTHOR" && cp -r "$media/old/ZENTHOR" "$drive_c/ZENTHOR"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$setup"
fi

# One headless run per step: a step may end the program (an install closes
# the window, Exit leaves it).
step() {
  local title="$1"; shift
  echo "== $title"
  local code=0
  printf '%s\n' "$@" | "$setup" --headless || code=$?
  echo "(exit code $code)"
}
echo "No display: a headless tour (quorvanta-setup --help lists the script lines)."
step "Start: the main window and its menu"
step "Help > About" "choose Help>About"
step "Help > Exit, answered Yes" "answer yes" "choose Help>Exit"
