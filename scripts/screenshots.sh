#!/usr/bin/env bash
# Screenshots of the wizard's pages and boxes at 96 and at 120 pixels per inch,
# into build/screens/ (96-start.png, 120-start.png, ...), to look at.
#
#   scripts/screenshots.sh [BUILD]
#
# BUILD is a win64 build folder (default build/win64); Install.exe and the
# helper programs wizard_driver and page_shots are built there first. The
# pictures come from the real Install.exe walked through by wizard_driver; the
# progress page and the font-size page, which only an installation reaches,
# come from page_shots, which makes the same main window and shows that page.
#
# The pixels per inch are a setting of BUILD's Wine prefix, which its tests
# share: the script sets 120 for the second round and 96 again at the end, so
# it must not run while BUILD's tests run. For the time of the run the prefix
# also draws "Times New Roman", which Wine lacks, with its metric twin
# "Liberation Serif" (as Windows would draw it, not with a fallback face).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build/win64}
[ -f "$build/CMakeCache.txt" ] || cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" --target Install wizard_driver page_shots >/dev/null
build=$(cd "$build" && pwd)
session=$root/scripts/wine-session.sh
shots=$root/build/screens
mkdir -p "$shots"

started_session=0
if ! { [ -f "$build/wine-session/xvfb.pid" ] && kill -0 "$(cat "$build/wine-session/xvfb.pid")" 2>/dev/null; }; then
  started_session=1
fi
"$session" start "$build" >/dev/null
eval "$("$session" env "$build")" 2>/dev/null
WINE=/usr/lib/wine/wine64

driver() { "$WINE" "$build/tests/tools/wizard_driver.exe" "$@" | tr -d '\r'; }
set_dpi() {
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
replace_font() {
  "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Times New Roman" /t REG_SZ /d "Liberation Serif" /f \
    >/dev/null 2>&1
}
finish() {
  set_dpi 96
  "$WINE" reg delete 'HKCU\Software\Wine\Fonts\Replacements' /v "Times New Roman" /f >/dev/null 2>&1 || true
  if [ "$started_session" = 1 ]; then "$session" stop "$build" >/dev/null; fi
}
trap finish EXIT
replace_font

# shot NAME [TEXT]: the main window, or the other window showing TEXT, or
# with TEXT "-" the whole screen.
shot() {
  local name=$1 text=${2:-} rect
  driver settle
  if [ "$text" = "-" ]; then
    import -window root "$shots/$dpi-$name.png"
    return
  fi
  if [ -n "$text" ]; then rect=$(driver rect-other "$text"); else rect=$(driver rect); fi
  import -window root -crop "$rect" +repage "$shots/$dpi-$name.png"
}

step() { "$@" || { echo "screenshots: step failed: $*" >&2; exit 1; }; }

walk_install() {
  "$WINE" "$build/Install.exe" &
  local program=$!
  step driver wait-page "Добро пожаловать"
  shot start
  step driver click "Отмена"
  step driver wait-window "Вы уверены"
  shot cancel-question "Вы уверены"
  step driver answer "No"

  step driver click "Далее"
  step driver wait-page "Пожалуйста, задайте путь"
  shot path
  step driver set-path ""
  step driver click "Далее"
  step driver wait-window "Не выбран путь"
  shot path-empty-error "Не выбран путь"
  step driver answer "OK"
  step driver click "Выбрать"
  step driver wait-window "Выберете путь"
  shot select-folder -
  driver answer "Отмена" || step driver answer "Cancel"

  step driver set-path 'C:\users\Public\Dazide'
  step driver click "Далее"
  step driver wait-window "Внимание!"
  shot driver-warning -
  step driver answer "OK"
  step driver wait-page " - Если у Вас"
  shot components

  step driver click "Отмена"
  step driver wait-window "Вы уверены"
  step driver answer "Yes"
  step driver wait-page "Установка комплекса"
  shot cancelled
  step driver click "Выход"
  wait "$program"
}

show_page() {
  "$WINE" "$build/tests/tools/page_shots.exe" "$1" &
  local program=$!
  step driver rect >/dev/null
  shot "$2"
  step driver close
  wait "$program"
}

for dpi in 96 120; do
  set_dpi "$dpi"
  walk_install
  show_page tsProgressInstall progress
  show_page tsChangeFontSize font-size
done
ls -1 "$shots"/96-*.png "$shots"/120-*.png
