#!/usr/bin/env bash
# Lays out a complete sample distribution folder for Install.exe: what a CD of
# the suite holds, with placeholders where the real programs would be.
#
#   scripts/make-sample-distribution.sh [options] DEST
#
#   --install-exe PATH  copy this Install.exe into DEST, so that DEST is a
#                       distribution to start it from (the installer takes its
#                       files from the folder it runs in)
#   --driver PATH       program to place as FTDIDriverInstall/FTDIDriverInstall.exe
#                       (default: build/win64/tests/tools/recorder.exe, the test
#                       stand-in, when it has been built; "none" leaves the
#                       driver folder out, as some distributions do)
#   --db-mib N          size of DTAfb/S12.FDB in MiB (default 1)
#   --release NAME      a release folder under backup/ (repeatable; default
#                       r150219 and r010320, the second being the newer one)
#
# DEST gets: DTAfb/S12.FDB; Firebird/ with the runtime files of both Windows
# variants, intl/ and udf/; UDF/ with the suite's four libraries; fonts/ with
# seven TrueType fonts from the Debian packages fonts-liberation and
# fonts-dejavu-core under the names the installer looks for; the driver folder;
# backup/ with the releases (each Install.cmd leaves Install.ran beside itself)
# and a WithOutAnswer folder; Updater/ with ReleaseInfo (ROOT, Version 1,
# Level) and Updater.exe.cfg, both read-only as copied from a CD.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
install_exe=
driver=$root/build/win64/tests/tools/recorder.exe
db_mib=1
releases=()

usage() { sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//' >&2; exit 2; }

while [ $# -gt 0 ]; do
  case $1 in
    --install-exe) install_exe=${2:?}; shift 2 ;;
    --driver) driver=${2:?}; shift 2 ;;
    --db-mib) db_mib=${2:?}; shift 2 ;;
    --release) releases+=("${2:?}"); shift 2 ;;
    -h|--help) usage ;;
    -*) echo "unknown option $1" >&2; usage ;;
    *) break ;;
  esac
done
[ $# -eq 1 ] || usage
dest=$1
[ ${#releases[@]} -gt 0 ] || releases=(r150219 r010320)
[[ $db_mib =~ ^[0-9]+$ ]] || { echo "--db-mib wants a whole number" >&2; exit 2; }

crlf() { sed 's/$/\r/'; }
placeholder() { printf 'placeholder %s\r\n' "$(basename "$1")" >"$1"; }

mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
# Files made read-only by an earlier run would refuse to be rewritten.
[ -d "$dest/Updater" ] && chmod -R u+w "$dest/Updater"

# The database.
mkdir -p "$dest/DTAfb"
head -c "$((db_mib * 1024 * 1024))" /dev/urandom >"$dest/DTAfb/S12.FDB"

# The Firebird runtime of both variants, its intl/ and udf/ files, the suite's libraries.
mkdir -p "$dest/Firebird/intl" "$dest/Firebird/udf" "$dest/UDF"
for f in aliases.conf firebird.conf fbclient.Dll ib_util.Dll icudt30.Dll icuin30.Dll icuuc30.Dll \
  msvcp80.Dll msvcr80.Dll msvcp71.Dll msvcr71.Dll firebird.msg gbak.exe gds32.dll; do
  placeholder "$dest/Firebird/$f"
done
for f in fbintl.conf fbintl.dll; do placeholder "$dest/Firebird/intl/$f"; done
for f in fbudf.dll ib_udf.dll fbudf.sql ib_udf.sql ib_udf2.sql; do placeholder "$dest/Firebird/udf/$f"; done
for f in Ulmara.Dll Tendis.Dll Vorkal.Dll Feblin.Dll; do placeholder "$dest/UDF/$f"; done

# Seven real TrueType fonts, each with a face name of its own.
mkdir -p "$dest/fonts"
fonts=(
  "ARIAL.TTF liberation/LiberationSans-Regular.ttf"
  "ARIALN.TTF liberation/LiberationSansNarrow-Regular.ttf"
  "COUR.TTF liberation/LiberationMono-Regular.ttf"
  "MICROSS.TTF dejavu/DejaVuSans.ttf"
  "TAHOMA.TTF dejavu/DejaVuSansMono.ttf"
  "TIMES.TTF liberation/LiberationSerif-Regular.ttf"
  "verdana.TTF dejavu/DejaVuSerif.ttf"
)
for entry in "${fonts[@]}"; do
  read -r name source <<<"$entry"
  from=/usr/share/fonts/truetype/$source
  [ -f "$from" ] || { echo "missing $from (install fonts-liberation and fonts-dejavu-core)" >&2; exit 1; }
  cp "$from" "$dest/fonts/$name"
done

# The driver installer.
rm -rf "$dest/FTDIDriverInstall"
if [ "$driver" != none ]; then
  if [ -f "$driver" ]; then
    mkdir -p "$dest/FTDIDriverInstall/amd64"
    cp "$driver" "$dest/FTDIDriverInstall/FTDIDriverInstall.exe"
    placeholder "$dest/FTDIDriverInstall/ftdibus.inf"
    placeholder "$dest/FTDIDriverInstall/amd64/ftdibus.sys"
  else
    echo "note: no driver stand-in at $driver; the distribution has no FTDIDriverInstall folder" >&2
  fi
fi

# Backup releases; WithOutAnswer is never chosen by the installer.
rm -rf "$dest/backup"
for release in "${releases[@]}" WithOutAnswer; do
  mkdir -p "$dest/backup/$release"
  crlf >"$dest/backup/$release/Install.cmd" <<'CMD'
@echo off
rem Sample release script: marks that it ran and in which folder.
cd > "%~dp0Install.cd"
echo ran> "%~dp0Install.ran"
exit /b 0
CMD
  placeholder "$dest/backup/$release/Rezezi.exe"
done

# The updater's tree; the installer copies it into the target folder itself.
mkdir -p "$dest/Updater/Lang"
placeholder "$dest/Updater/Updater.exe"
crlf >"$dest/Updater/Updater.exe.cfg" <<'CFG'
<?xml version="1.0" encoding="utf-8"?>
<configuration>
  <server>updates.example</server>
</configuration>
CFG
crlf >"$dest/Updater/ReleaseInfo" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<ROOT>
  <Version>1</Version>
  <Product>Sevron-Rezezi</Product>
  <Level>000000</Level>
</ROOT>
XML
printf '[SH_Messages]\r\n' >"$dest/Updater/Lang/EngView.lng"
# Read-only as from a CD (Wine shows a file without write permission as read-only).
chmod a-w "$dest/Updater/ReleaseInfo" "$dest/Updater/Updater.exe.cfg"

if [ -n "$install_exe" ]; then
  cp "$install_exe" "$dest/Install.exe"
fi
echo "sample distribution: $dest"
