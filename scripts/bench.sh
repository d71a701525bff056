#!/usr/bin/env bash
# The figures in one run (not a test, not part of CI):
#   - a complete installation with a database of MIB MiB (default 1024) against
#     CopyFileW and xcopy of the same files, with its peak private memory;
#   - start-up of Install.exe to its first painted main window against a bare
#     Win32 window, under the same wineserver;
#   - the size of the shipped 32-bit Install.exe.
# Figures are only worth comparing on an otherwise idle machine.
#
#   scripts/bench.sh [MIB ...]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh >/dev/null
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Install install_bench start_bench bare_window session_keeper >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Install >/dev/null

build=build/win64
windows_path() { echo "Z:$(realpath "$1" | sed 's|/|\\|g')"; }
bash scripts/wine-session.sh start "$build" >/dev/null
trap 'bash scripts/wine-session.sh stop "$build" >/dev/null 2>&1 || true' EXIT

sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1024)
out=$build/bench-figures.txt
{
  echo "== complete installation against CopyFileW and xcopy"
  bash scripts/wine-session.sh exec "$build" "$build/bench/install_bench.exe" "${sizes[@]}"
  echo "== start-up to the first painted main window"
  bash scripts/wine-session.sh exec "$build" "$build/bench/start_bench.exe" \
    "$(windows_path "$build/Install.exe")" "$(windows_path "$build/bench/bare_window.exe")" 10
  size=$(stat -c %s build/win32/Install.exe)
  echo "== size of the shipped 32-bit Install.exe"
  awk -v s="$size" 'BEGIN { printf "  build/win32/Install.exe: %d bytes (%.2f MiB, goal <= 1.5 MiB)\n", s, s / 1048576 }'
} >"$out" 2>&1
status=$?
cat "$out"
echo "(figures also in $out)"
exit $status
