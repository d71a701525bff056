#!/usr/bin/env bash
# The main job: sets up what is missing, builds the program (the 32-bit one as
# shipped and the 64-bit one that runs here) and starts Install.exe under Wine.
#
# With a display (DISPLAY set) the wizard opens there for you to click through.
# Without one it runs under a virtual display, saves a screenshot of the window
# into build/screens/ and closes it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${JOBS:-$(nproc)}

bash scripts/setup.sh
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" --target Install
done
echo "32-bit program as shipped: $root/build/win32/Install.exe"

build=$root/build/win64
session=$root/scripts/wine-session.sh
had_display=${DISPLAY:-}
"$session" start "$build" >/dev/null
trap '"$session" stop "$build" >/dev/null' EXIT

if [ -n "$had_display" ]; then
  echo "Starting Install.exe on $DISPLAY; close its window to end."
  "$session" exec "$build" "$build/Install.exe"
else
  shots=$root/build/screens
  mkdir -p "$shots"
  "$session" exec "$build" "$build/Install.exe" &
  sleep 4
  display=$(cat "$build/wine-session/display")
  DISPLAY=$display import -window root "$shots/start.png"
  echo "No display: the wizard ran under a virtual one; screenshot: $shots/start.png"
fi
