#!/usr/bin/env bash
# The wine session of one build folder: its own prefix and home, one persistent
# wineserver and, when no display is set, one Xvfb for all tests of a ctest run.
#
#   wine-session.sh start BUILD          make sure prefix, display and wineserver are up
#   wine-session.sh exec  BUILD PROG...  run a Windows program in the session
#   wine-session.sh env   BUILD          print the environment (for `eval`)
#   wine-session.sh stop  BUILD          end the wineserver and the Xvfb it started
#
# Run as root, `start` also gives the prefix a small drive T: (a tmpfs of a few
# MiB at BUILD/wine-session/small-drive), so that tests can fill a disk without
# filling the machine's; `stop` takes it away again. Without root no T: is made
# and the tests that need it skip.
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

# The small drive: mounted once, linked into the prefix as T:. Nothing is
# mapped when the mount is not allowed.
SMALL_DRIVE_MIB=8
small_drive=$state/small-drive
small_drive_link=$WINEPREFIX/dosdevices/t:

ensure_small_drive() {
  [ "$(id -u)" -eq 0 ] || return 0
  if ! mountpoint -q "$small_drive" 2>/dev/null; then
    mkdir -p "$small_drive"
    if ! mount -t tmpfs -o "size=${SMALL_DRIVE_MIB}m,mode=0755" wine-small-drive "$small_drive" 2>/dev/null; then
      rmdir "$small_drive" 2>/dev/null || true
      return 0
    fi
  fi
  if [ "$(readlink "$small_drive_link" 2>/dev/null || true)" != "$small_drive" ]; then
    ln -sfn "$small_drive" "$small_drive_link"
  fi
}

remove_small_drive() {
  if [ -L "$small_drive_link" ] && [ "$(readlink "$small_drive_link")" = "$small_drive" ]; then
    rm -f "$small_drive_link"
  fi
  if mountpoint -q "$small_drive" 2>/dev/null; then
    # A program that still has a file there would keep a plain unmount from
    # working; the lazy one detaches the drive now and frees it when they end.
    umount "$small_drive" 2>/dev/null || umount -l "$small_drive" 2>/dev/null || true
  fi
  if [ -d "$small_drive" ] && ! mountpoint -q "$small_drive" 2>/dev/null; then
    rmdir "$small_drive" 2>/dev/null || true
  fi
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
    exec 9>"$state/lock"
    flock 9
    ensure_small_drive
    flock -u 9
    small=""
    [ -L "$small_drive_link" ] && small=", small drive T: at $small_drive"
    echo "wine session: prefix $WINEPREFIX, display $DISPLAY$small"
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
    remove_small_drive
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
