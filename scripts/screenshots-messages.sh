#!/usr/bin/env bash
# Screenshots of the message window and of the font-size page, for looking at:
#
#   scripts/screenshots-messages.sh [BUILD]     (default build/win64)
#
# Runs the disabled *Screenshots tests of BUILD's win_tests.exe in a Wine
# virtual desktop (Wine then draws the title bars and frames itself; on the bare
# virtual display there is no window manager to draw them) and leaves PNG files
# in BUILD/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(cd "${1:-build/win64}" && pwd)
tests=$build/tests/win_tests.exe
[ -f "$tests" ] || { echo "no $tests: build it first" >&2; exit 1; }
out=$build/screenshots
mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/*.png

eval "$(scripts/wine-session.sh env "$build")"
# The tests write BMP files into this folder, named in Windows' way (drive Z:).
export INSTALL_SCREENSHOT_DIR="Z:${out//\//\\}"
timeout 300 /usr/lib/wine/wine64 explorer /desktop=screenshots,1280x1024 "$tests" \
  --gtest_also_run_disabled_tests --gtest_filter='*DISABLED_Screenshots*' </dev/null 9>&- | cat

shopt -s nullglob
shots=("$out"/*.bmp)
[ ${#shots[@]} -gt 0 ] || { echo "no screenshots were made" >&2; exit 1; }
for shot in "${shots[@]}"; do
  convert "$shot" "${shot%.bmp}.png"
  rm "$shot"
  echo "${shot%.bmp}.png"
done
