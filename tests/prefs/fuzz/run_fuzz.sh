#!/usr/bin/env bash
# Builds the preferences reader alone with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and fuzzes it for a bounded time. Any crash, leak,
# undefined behaviour, hang or broken property fails the test; the input that did it is
# left in the work folder.
#
#   run_fuzz.sh CLANGXX SOURCE_DIR WORK_DIR SECONDS
set -euo pipefail
clangxx=$1 src=$2 work=$3 seconds=$4
here=$src/tests/prefs/fuzz

if ! command -v "$clangxx" >/dev/null 2>&1; then
  echo "fuzz: $clangxx not found (scripts/deps.sh test installs clang and libclang-rt-dev)" >&2
  exit 1
fi
mkdir -p "$work/corpus"
"$clangxx" -std=c++17 -O1 -g -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$src/prefs" -I"$src/app/settings" \
  "$here/fuzz_prefs_reader.cpp" "$src/prefs/PrefsFormat.cpp" \
  -o "$work/fuzz_prefs_reader"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The corpus grows across runs in the build folder; the seeds are read, never written.
"$work/fuzz_prefs_reader" "$work/corpus" "$here/seeds" \
  -dict="$here/prefs.dict" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
  -max_len=4096 -artifact_prefix="$work/" -print_final_stats=1 2>"$work/fuzz.log" || {
  rc=$?
  tail -n 60 "$work/fuzz.log" >&2
  exit "$rc"
}
grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/fuzz.log" || true
echo "fuzz: clean for ${seconds}s"
