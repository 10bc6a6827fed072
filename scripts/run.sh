#!/usr/bin/env bash
# The run command: builds the program (release) and its installation media,
# and runs it on the bundled sample media. Build folder: build/release (or
# $BUILD_DIR). Nothing outside the build folder is touched: drive C is a
# folder inside it, drive D the media's start folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build/release}"

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
cmake --build "$build" --target media

media="$build/media"
drive_c="$build/run/c"
mkdir -p "$drive_c"
rm -rf "$drive_c/ZENTHOR" && cp -r "$media/old/ZENTHOR" "$drive_c/ZENTHOR"
export QUORVANTA_DRIVES="C=$drive_c;D=$media/cd"
export QUORVANTA_PRINT_PDF="$build/run/pdf"
mkdir -p "$QUORVANTA_PRINT_PDF"
xbtool="$build/tools/xbtool/xbtool"

# The setup program itself is not built yet. Until it is, this shows what
# the engine makes of the media: the menu the program will build, the
# numbered messages, and a check of every table on the media.
cd "$media/cd"
echo "== Menu rows (D:\\menuset.dbf)"
"$xbtool" dump 'D:\menuset.dbf' --cp1252 | tr '{' '\n' | grep -o '"MEN_DESC":"[^"]*"' | sed 's/"MEN_DESC":"//; s/"$//'
echo "== Windows paths and short names through the drive map"
"$xbtool" eval 'FILE("D:\QUORVA~1\filedict.dbf")'
"$xbtool" eval 'LEN(DIRECTORY("C:\ZENTHOR\*.co", "D"))'
echo "== Checking every table on the media and in C:\\ZENTHOR"
status=0
while IFS= read -r table; do
  if ! "$xbtool" check "$table" >/dev/null; then echo "FAULT: $table"; status=1; fi
done < <(find "$media/cd" "$drive_c/ZENTHOR" -iname '*.dbf' | sort)
[ $status -eq 0 ] && echo "all tables sound"
exit $status
