#!/usr/bin/env bash
# Runs every libFuzzer target in turn for SECONDS each (default 20), or only the TARGETs named;
# fails when any target finds a crash, a hang, a leak or a sanitizer error.
# usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (FUZZ_RUNS=N also stops a target after N runs,
# whichever comes first.) Builds the fuzz configuration first; new inputs are kept in
# build/fuzz/corpus/TARGET, findings land in build/fuzz/findings/.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
shift || true
build_root=${BUILD_ROOT:-$root/build}
dir=$build_root/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(profile_read profile_write log_import list_generation command_line list_check status_reports)
fi

mkdir -p "$build_root"
if ! "$root/scripts/build.sh" fuzz >"$build_root/fuzz-build.log" 2>&1; then
  tail -n 30 "$build_root/fuzz-build.log"
  echo "FAIL fuzz build"
  exit 1
fi

mkdir -p "$dir/findings" "$dir/logs"
failed=0
for name in "${targets[@]}"; do
  program=$dir/tests/fuzz/fuzz_$name
  seeds=$root/tests/fuzz/$name/corpus
  corpus=$dir/corpus/$name
  log=$dir/logs/$name.log
  mkdir -p "$corpus"
  limit=(-max_total_time="$seconds")
  [ -n "${FUZZ_RUNS:-}" ] && limit+=(-runs="$FUZZ_RUNS")
  start=$(date +%s)
  (cd "$dir/findings" && "$program" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix="$dir/findings/$name-" "$corpus" "$seeds") >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  elapsed=$(($(date +%s) - start))
  if [ $rc -eq 0 ] && [ -n "$runs" ]; then
    echo "PASS $name: ${runs} runs in ${elapsed} s, corpus $(ls "$corpus" | wc -l) inputs"
  else
    echo "FAIL $name (exit $rc): see $log"
    grep -E 'ERROR|expected|SUMMARY|Test unit written' "$log" | head -n 12
    failed=1
  fi
done
exit $failed
