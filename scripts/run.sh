#!/usr/bin/env bash
# The main job: sets up what is missing, builds the program (the 32-bit one as
# shipped and the 64-bit one that runs here), lays out a complete sample
# distribution and starts Install.exe from it under Wine.
#
# With a display (DISPLAY set) the wizard opens there for you to click through.
# Without one (a server, CI) it walks through a complete installation on its
# own under a virtual display, saves a screenshot of every page it passes into
# build/run-screens/, and prints the installed tree.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${JOBS:-$(nproc)}

bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs" --target Install
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs" --target Install recorder wizard_driver session_keeper
echo "32-bit program as shipped: $root/build/win32/Install.exe"

build=$root/build/win64
session=$root/scripts/wine-session.sh
had_display=${DISPLAY:-}
"$session" start "$build" >/dev/null
trap '"$session" stop "$build" >/dev/null' EXIT
eval "$("$session" env "$build")" 2>/dev/null
WINE=/usr/lib/wine/wine64

# The distribution lies on the prefix's drive C:, as a copied CD would.
dist_unix="$WINEPREFIX/drive_c/Севрон дистрибутив"
dist='C:\Севрон дистрибутив'
target_unix=$WINEPREFIX/drive_c/Dazide
rm -rf "$dist_unix"
bash scripts/make-sample-distribution.sh --install-exe "$build/Install.exe" \
  --driver "$build/tests/tools/recorder.exe" "$dist_unix" >/dev/null
echo "Sample distribution: $dist ($dist_unix)"

print_tree() {
  echo
  echo "Installed tree C:\\Dazide ($target_unix):"
  (cd "$target_unix" && find . -printf '%y %10s  %p\n' | sort -k3 | sed 's|  \./|  |; /  \.$/d')
  echo
  echo "Desktop shortcut:"
  # Wine's desktop folder is the home folder (or its Desktop folder where there is one).
  find "$HOME" -maxdepth 2 -name '*.lnk'
}

if [ -n "$had_display" ]; then
  echo "Starting Install.exe on $DISPLAY; close its window to end."
  (cd "$dist_unix" && "$WINE" "$dist\\Install.exe")
  [ -d "$target_unix" ] && print_tree
  exit 0
fi

# No display: walk through the installation as a user would.
shots=$root/build/run-screens
rm -rf "$shots" "$target_unix"
mkdir -p "$shots"
driver() { "$WINE" "$build/tests/tools/wizard_driver.exe" "$@" | tr -d '\r'; }
step() { "$@" >/dev/null || { echo "run: step failed: $*" >&2; exit 1; }; }
n=0
shot() {
  n=$((n + 1))
  driver settle >/dev/null || true
  import -window root "$shots/$(printf '%02d' $n)-$1.png"
}

(cd "$dist_unix" && "$WINE" "$dist\\Install.exe") &
program=$!
step driver wait-page "Добро пожаловать"
shot start
step driver click "Далее"
step driver wait-page "Пожалуйста, задайте путь"
shot target-folder
step driver click "Далее"
step driver wait-window "Внимание!"
shot driver-warning
step driver answer "OK"
step driver wait-page " - Если у Вас"
shot components
step driver click "Начать установку"
step driver wait-window "Подключите интерфейсный блок"
shot driver-question
step driver answer "Yes"
# The installation ends on the font-size page at 96 pixels per inch, or with the
# final question at 120 and above.
if driver wait-page "В настройках операционной системы" >/dev/null; then
  shot font-size-page
  step driver click "Выход"
else
  step driver wait-window "Установка завершена"
  shot final-question
  step driver answer "Yes"
fi
wait "$program" || true
echo "Screenshots of every page passed: $shots"
ls -1 "$shots"
print_tree
