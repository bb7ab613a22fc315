#!/usr/bin/env bash
# Installs what is missing, builds the project twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs the whole test suite in both builds.
# Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
jobs=${JOBS:-2}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
status=0
for kind in normal sanitize; do
  dir="$root/build/$kind"
  san=OFF; [ "$kind" = sanitize ] && san=ON
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DENABLE_SANITIZERS=$san "${launcher[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "== tests: $kind build =="
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" || status=1
done
exit $status
