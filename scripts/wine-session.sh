#!/usr/bin/env bash
# The wine session of one build folder: its own prefix and home, one persistent
# wineserver and, when no display is set, one Xvfb for all tests of a ctest run.
#
#   wine-session.sh start BUILD          make sure prefix, display and wineserver are up
#   wine-session.sh exec  BUILD PROG...  run a Windows program in the session
#   wine-session.sh env   BUILD          print the environment (for `eval`)
#   wine-session.sh stop  BUILD          end the wineserver and the Xvfb it started
#
# Never touches ~/.wine or the real $HOME. The prefix is made once and reused; it
# runs in a Russian locale (ANSI code page 1251), like the clinics' machines.
set -euo pipefail

cmd=${1:?usage: wine-session.sh start|exec|env|stop BUILD [PROG...]}
mkdir -p "${2:?build folder}"
build=$(cd "$2" && pwd)
shift 2

state=$build/wine-session
mkdir -p "$state"

export WINEPREFIX=$build/wineprefix
export HOME=$build/winehome
export WINEDEBUG=${WINEDEBUG_TESTS:--all}
export WINEARCH=win64
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"winemenubuilder.exe=d;mscoree=d;mshtml=d"}
export LOCPATH=$build/locale
WINE_LOCALE=ru_RU.UTF-8
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
mkdir -p "$HOME"

# Wine takes its code pages from the Unix locale of the processes it starts.
wine_run() { LANG=$WINE_LOCALE LC_ALL=$WINE_LOCALE "$@"; }

ensure_locale() {
  if [ ! -d "$LOCPATH/ru_RU.UTF-8" ]; then
    mkdir -p "$LOCPATH"
    localedef -i ru_RU -f UTF-8 "$LOCPATH/ru_RU.UTF-8" >/dev/null 2>&1 || true
  fi
}

ensure_display() {
  if [ -f "$state/display" ] && [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
    DISPLAY=$(cat "$state/display")
  elif [ -n "${DISPLAY:-}" ]; then
    return
  else
    # -displayfd picks a free display number and writes it to the descriptor.
    local out=$state/xvfb.displayfd
    rm -f "$out"
    setsid Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -ac >"$out" 2>"$state/xvfb.log" </dev/null 9>&- &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do
      [ -s "$out" ] && break
      sleep 0.1
    done
    DISPLAY=:$(head -n1 "$out")
    echo "$DISPLAY" >"$state/display"
  fi
  export DISPLAY
}

ensure_prefix() {
  if [ ! -f "$WINEPREFIX/.ready" ]; then
    rm -rf "$WINEPREFIX"
    wine_run "$WINE" wineboot -i </dev/null >/dev/null 2>&1 9>&-
    wine_run "$WINE" winecfg /v win10 </dev/null >/dev/null 2>&1 9>&- || true
    "$WINESERVER" -w
    touch "$WINEPREFIX/.ready"
  fi
}

ensure_wineserver() {
  # A persistent server keeps each program start at ~50 ms instead of ~0.7 s.
  wine_run "$WINESERVER" -p </dev/null >/dev/null 2>&1 9>&- || true
}

ensure_keeper() {
  local keeper=$build/tests/tools/session_keeper.exe
  [ -f "$keeper" ] || return 0
  if [ -f "$state/keeper.pid" ] && kill -0 "$(cat "$state/keeper.pid")" 2>/dev/null; then return 0; fi
  # Started here, with no output of ctest's inherited, the desktop and the
  # services outlive every test program; started by a test program they would
  # hold its output pipe open until the session ends.
  LANG=$WINE_LOCALE LC_ALL=$WINE_LOCALE "$WINE" "$keeper" --once </dev/null >/dev/null 2>&1 9>&-
  LANG=$WINE_LOCALE LC_ALL=$WINE_LOCALE setsid "$WINE" "$keeper" </dev/null >/dev/null 2>&1 9>&- &
  echo $! >"$state/keeper.pid"
}

up() {
  exec 9>"$state/lock"
  flock 9
  ensure_locale
  ensure_display
  ensure_prefix
  ensure_wineserver
  ensure_keeper
  flock -u 9
}

case $cmd in
  start)
    up
    echo "wine session: prefix $WINEPREFIX, display $DISPLAY"
    ;;
  exec)
    up
    # Wine's helper processes can keep an inherited output pipe open for a
    # while after the program ends; only the program's own output is passed on.
    set +e
    LANG=$WINE_LOCALE LC_ALL=$WINE_LOCALE "$WINE" "$@" 9>&- | cat
    exit "${PIPESTATUS[0]}"
    ;;
  env)
    up
    echo "export WINEPREFIX='$WINEPREFIX' HOME='$HOME' WINEDEBUG='$WINEDEBUG' WINEARCH=win64" \
      "WINEDLLOVERRIDES='$WINEDLLOVERRIDES' LOCPATH='$LOCPATH' LANG=$WINE_LOCALE LC_ALL=$WINE_LOCALE DISPLAY='$DISPLAY'"
    ;;
  stop)
    "$WINESERVER" -k >/dev/null 2>&1 || true
    rm -f "$state/keeper.pid"
    if [ -f "$state/xvfb.pid" ]; then
      kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
      rm -f "$state/xvfb.pid" "$state/display"
    fi
    echo "wine session ended"
    ;;
  *)
    echo "unknown command $cmd" >&2
    exit 2
    ;;
esac
