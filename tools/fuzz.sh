#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each in turn for SECONDS seconds (default 60), starting from its stored corpus.
# Prints per target the inputs run and anything found; exits non-zero when something was found.
#   tools/fuzz.sh [SECONDS] [TARGET...]
# With FUZZ_KEEP_GOING=1 a target runs its whole time in libFuzzer's fork mode, saving every
# finding instead of stopping at the first. FUZZ_ENGINE_DATE_RULE=0 runs engine_dates without
# its date rule (crashes, sanitizer reports and the other checks only) while a known breach of
# that rule is still being mended. FUZZ_NO_BUILD=1 runs the programs already built.
# New interesting inputs go to build/fuzz/work/<target>; what a target finds is saved in
# build/fuzz/found/<target>/ (copy it into fuzz/reproducers/<target>/ once mended).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
# The fuzzing compiler and its runtime are needed here only, not by the build and tests.
"$root/tools/install-deps.sh" clang libclang-rt-dev

dir="$root/build/fuzz"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# The libraries get coverage instrumentation; the targets link libFuzzer itself.
[ "${FUZZ_NO_BUILD:-0}" = 1 ] || cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DENABLE_SANITIZERS=ON \
  -DBUILD_FUZZERS=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link "${launcher[@]}" >/dev/null
[ "${FUZZ_NO_BUILD:-0}" = 1 ] || cmake --build "$dir" -j "${JOBS:-2}" --target fuzzers

targets=("$@")
if ((${#targets[@]} == 0)); then
  for f in "$root"/fuzz/targets/*.cpp; do
    name=$(basename "$f" .cpp)
    [ -x "$dir/fuzz/fuzz_$name" ] && targets+=("$name")
  done
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
summary=()
for name in "${targets[@]}"; do
  work="$dir/work/$name"
  found="$dir/found/$name"
  mkdir -p "$work" "$found"
  # The stored corpus seeds the run (not its pending sub-folder: inputs of faults still
  # being mended would stop the run at once).
  find "$root/fuzz/corpus/$name" -maxdepth 1 -type f -exec cp -n {} "$work/" \;
  [ -d "$root/fuzz/reproducers/$name" ] &&
    find "$root/fuzz/reproducers/$name" -maxdepth 1 -type f -exec cp -n {} "$work/" \;
  log="$dir/found/$name.log"
  echo "== $name: $seconds s =="
  rc=0
  mode=()
  [ "${FUZZ_KEEP_GOING:-0}" = 1 ] && mode=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
  "$dir/fuzz/fuzz_$name" "${mode[@]}" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$found/" "$work" >"$log" 2>&1 || rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  [ -n "$runs" ] || runs=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#')
  crashes=$(grep -oE 'oom/timeout/crash: [0-9]+/[0-9]+/[0-9]+' "$log" | tail -1 | cut -d' ' -f2 || true)
  if [ -n "$crashes" ] && [ "$crashes" != 0/0/0 ]; then
    status=1
    line="$name: ${runs:-?} inputs, FOUND (oom/timeout/crash $crashes) in $found"
    grep -oE 'property broken: [a-z ]+' "$log" | sort | uniq -c | sort -rn | head -5 || true
  elif ((rc == 0)); then
    line="$name: ${runs:-?} inputs, nothing found"
  else
    status=1
    line="$name: ${runs:-?} inputs, FOUND (exit $rc): $(ls -t "$found" | grep -v '\.log$' | head -1)"
    grep -E 'property broken|ERROR: |runtime error|SUMMARY' "$log" | head -5 || true
  fi
  echo "$line"
  summary+=("$line")
done
echo "== summary =="
printf '%s\n' "${summary[@]}"
exit $status
