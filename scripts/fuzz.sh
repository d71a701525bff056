#!/usr/bin/env bash
# Fuzzes every parser of outside input with libFuzzer (not part of CI): installs
# clang when it is missing, builds the fuzz programs of tests/fuzz in build/fuzz
# and runs each target in turn, one process, with a working corpus in
# build/fuzz/corpus/<target> started from tests/fuzz/seeds and
# tests/fuzz/regressions, and faults saved in build/fuzz/findings/<target>.
# Prints per target the inputs run, executions per second, time and findings.
#
#   scripts/fuzz.sh [--runs N] [--time SECONDS] [--max-len BYTES] [target...]
#
# Defaults: 10000000 inputs per target (--time stops a target earlier when its
# time is up), every target (IniFile SettingsValues CodeTexts ReleaseInfoText
# FontNameTable ReleaseChoice TextEncoding), inputs of up to 256 bytes (512 for
# the ReleaseInfo and font targets, whose inputs carry more structure): short
# inputs reach every branch of these parsers and run several times faster. An
# input that finds a fault belongs in tests/fuzz/regressions/<target>/ once the
# fault is fixed.
#
# AddressSanitizer keeps no allocation stacks and a small quarantine here, and
# leak checks are off, which more than doubles the executions per second; run a
# finding again with ASAN_OPTIONS= to see where its memory came from.
set -uo pipefail
cd "$(dirname "$0")/.."

runs=10000000
seconds=""
max_len=""
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --time) seconds=$2; shift 2 ;;
    --max-len) max_len=$2; shift 2 ;;
    -h|--help) sed -n '2,21p' "$0"; exit 0 ;;
    *) targets+=("$1"); shift ;;
  esac
done
if [ ${#targets[@]} -eq 0 ]; then
  targets=(IniFile SettingsValues CodeTexts ReleaseInfoText FontNameTable ReleaseChoice TextEncoding)
fi

if ! command -v clang++ >/dev/null; then
  apt-get update && apt-get install -y clang || exit 1
fi

build=build/fuzz
mkdir -p "$build/logs"
cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >"$build/logs/configure.log" 2>&1 ||
  { tail -n 30 "$build/logs/configure.log"; exit 1; }
cmake --build "$build" -j "${JOBS:-2}" >"$build/logs/build.log" 2>&1 || { tail -n 40 "$build/logs/build.log"; exit 1; }

limit=(-runs="$runs")
[ -n "$seconds" ] && limit+=(-max_total_time="$seconds")
export ASAN_OPTIONS=${ASAN_OPTIONS-malloc_context_size=0:quarantine_size_mb=8}

default_max_len() {
  case "$1" in
    ReleaseInfoText|FontNameTable) echo 512 ;;
    *) echo 256 ;;
  esac
}

status=0
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  log=$build/logs/$target.log
  mkdir -p "$corpus" "$findings"
  for dir in tests/fuzz/seeds/$target tests/fuzz/regressions/$target; do
    [ -d "$dir" ] && cp -n "$dir"/* "$corpus"/ 2>/dev/null
  done
  stamp=$build/logs/$target.start
  touch "$stamp"
  start=$(date +%s)
  "$build/fuzz_$target" "$corpus" "${limit[@]}" -max_len="${max_len:-$(default_max_len "$target")}" \
    -detect_leaks=0 -timeout=30 -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1
  rc=$?
  elapsed=$(($(date +%s) - start))
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)
  found=$(find "$findings" -type f -newer "$stamp" | wc -l)
  if [ "$rc" -eq 0 ] && [ "$found" -eq 0 ]; then
    verdict="nothing found"
  else
    verdict="FOUND (exit $rc): $(find "$findings" -type f -newer "$stamp" | tr '\n' ' ')see $log"
    status=1
  fi
  printf '%-16s %10s inputs %8s exec/s %6s s  %s\n' "$target" "${executed:-?}" "${speed:-?}" "$elapsed" "$verdict"
done
exit $status
