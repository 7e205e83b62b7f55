#!/usr/bin/env bash
# Runs every test: native unit tests (plain, and with AddressSanitizer/UBSan), the Windows unit
# tests under wine64, the i686 deliverable build, the self-containment check of every .exe and the
# end-to-end scripts under Wine. Ends with one line "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export BUILD_ROOT=${BUILD_ROOT:-$root/build}
log_dir=$BUILD_ROOT/test-logs
mkdir -p "$log_dir"

bash scripts/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
failures=()

count() {  # count <passed> <failed> <label>
  passed=$((passed + $1))
  failed=$((failed + $2))
  if [ "$2" -gt 0 ]; then failures+=("$3"); fi
}

# ctest prints "N% tests passed, F tests failed out of T".
run_ctest() {
  local label=$1 dir=$2 out=$log_dir/$1.log
  echo "== $label"
  (cd "$dir" && ctest --output-on-failure --timeout 600) >"$out" 2>&1
  local rc=$?
  tail -n 3 "$out"
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -n 1)
  if [ -n "$line" ]; then
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    count $((total - bad)) "$bad" "$label"
  else
    count 0 1 "$label"
  fi
  if [ $rc -ne 0 ]; then grep -E '^\s*[0-9]+ - |FAILED|Failure' "$out" | head -n 40; fi
}

run_build() {
  local kind=$1
  echo "== build $kind"
  if scripts/build.sh "$kind" >"$log_dir/build-$kind.log" 2>&1; then
    return 0
  fi
  tail -n 40 "$log_dir/build-$kind.log"
  count 0 1 "build $kind"
  return 1
}

# Native unit tests, then the same tests under the sanitizers.
run_build native && run_ctest native-unit "$BUILD_ROOT/native"
run_build asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest asan-unit "$BUILD_ROOT/asan"

# Every reader of outside input under coverage-guided fuzzing, about 20 seconds per target.
echo "== fuzz"
bash scripts/fuzz.sh 20 >"$log_dir/fuzz.log" 2>&1
grep -E '^(PASS|FAIL)' "$log_dir/fuzz.log"
fuzz_passed=$(grep -c '^PASS' "$log_dir/fuzz.log")
fuzz_failed=$(grep -c '^FAIL' "$log_dir/fuzz.log")
[ "$fuzz_passed" = 0 ] && [ "$fuzz_failed" = 0 ] && fuzz_failed=1
count "$fuzz_passed" "$fuzz_failed" "fuzz"

# Windows builds: x86_64 (run under wine64) and i686 (the deliverable, compiled with -Werror).
win64_ok=0
run_build win64 && win64_ok=1
if [ $win64_ok = 1 ]; then
  echo "== wine unit tests"
  out=$log_dir/wine-unit.log
  tests/wine/run-under-wine.sh "$BUILD_ROOT/win64/unit_tests.exe" </dev/null >"$out" 2>&1
  rc=$?
  tail -n 3 "$out"
  ok=$(grep -E '^\[  PASSED  \] [0-9]+ test' "$out" | sed -E 's/[^0-9]*([0-9]+).*/\1/')
  bad=$(grep -E '^\[  FAILED  \] [0-9]+ test' "$out" | sed -E 's/[^0-9]*([0-9]+).*/\1/')
  ok=${ok:-0}; bad=${bad:-0}
  if [ $rc -ne 0 ] && [ "$bad" = 0 ]; then bad=1; fi
  [ $rc -ne 0 ] && grep -E '^\[  FAILED  \]' "$out" | head -n 40
  count "$ok" "$bad" "wine unit tests"
fi
run_build win32 && count 1 0 "i686 build"

# Each i686 program carries its own manifest: Tolvik needs administrator rights, the others not.
echo "== manifests of the i686 programs"
for pair in Tolvik.exe:requireAdministrator Brevane.exe:asInvoker tools/maclist/maclist.exe:asInvoker; do
  if scripts/check-manifest.sh "$BUILD_ROOT/win32/${pair%%:*}" "${pair##*:}"; then
    count 1 0 "manifest"
  else
    count 0 1 "manifest ${pair%%:*}"
  fi
done

# Every program is self-contained: it imports only DLLs that Windows itself ships.
echo "== self-containment of the .exe files"
for exe in $(find "$BUILD_ROOT/win32" "$BUILD_ROOT/win64" -maxdepth 3 -name '*.exe' 2>/dev/null | sort); do
  bad_dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' |
    grep -viE '^(kernel32|user32|gdi32|advapi32|comctl32|comdlg32|iphlpapi|ws2_32|shell32|ole32|oleaut32|msvcrt|ntdll|version|shlwapi|uxtheme)\.dll$' || true)
  if [ -n "$bad_dlls" ]; then
    echo "FAIL $(basename "$exe") needs: $bad_dlls"
    count 0 1 "self-contained $(basename "$exe")"
  else
    count 1 0 "self-contained"
  fi
done

# The release zip built from a clean clone: file list, checksums, GBK guide, version resources.
echo "== package"
timeout 1800 bash tests/package/package_test.sh </dev/null >"$log_dir/package.log" 2>&1
tail -n 3 "$log_dir/package.log"
if tail -n 1 "$log_dir/package.log" | grep -q "^PASS"; then count 1 0 "package"; else count 0 1 "package"; fi

# End-to-end scripts under Wine (network namespaces, Xvfb, TFTP server): each ends "PASS name".
if [ $win64_ok = 1 ]; then
  export WIN64_BUILD=$BUILD_ROOT/win64 NATIVE_BUILD=$BUILD_ROOT/native
  for script in tests/e2e/*.sh; do
    [ -e "$script" ] || continue
    name=$(basename "$script" .sh)
    echo "== e2e $name"
    out=$log_dir/e2e-$name.log
    timeout 900 bash "$script" </dev/null >"$out" 2>&1
    rc=$?
    tail -n 5 "$out"
    if [ $rc -eq 0 ] && tail -n 1 "$out" | grep -q "^PASS"; then
      count 1 0 "e2e $name"
    else
      count 0 1 "e2e $name"
    fi
  done
fi

echo
if [ ${#failures[@]} -gt 0 ]; then
  echo "failed: ${failures[*]}"
  echo "logs: $log_dir"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
