#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each registered target for the
# given number of seconds, one after the other, then reports executions and findings per target.
#   scripts/fuzz.sh [seconds]      default 60 seconds per target
#   FUZZ_TARGETS="base64 scrambler" scripts/fuzz.sh 30    only the named targets (only they are built)
# Each target starts from its seed corpus (fuzz/corpus/<name>, never written to) and a working
# corpus in build-fuzz/fuzz-work/<name>/ that grows from run to run. Findings (crash, leak,
# timeout, out-of-memory inputs) land in build-fuzz/fuzz-findings/<name>/. Exit status 1 when
# anything was found.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-60}
build_dir=build-fuzz

bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVEXTEL_FUZZ=ON -DVEXTEL_BUILD_TESTS=OFF >/dev/null
# Only the named targets are built when some are named.
build_targets=(fuzz_all)
if [ -n "${FUZZ_TARGETS:-}" ]; then
  build_targets=()
  for name in $FUZZ_TARGETS; do build_targets+=("fuzz_$name"); done
fi
cmake --build "$build_dir" -j "$(nproc)" --target "${build_targets[@]}"

# Side effects of the code under test stay in one temporary folder: home, data, temp files.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch/home TMPDIR=$scratch/tmp XDG_DATA_HOME=$scratch/data
export XDG_CONFIG_HOME=$scratch/config XDG_CACHE_HOME=$scratch/cache XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$HOME" "$TMPDIR" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Only third-party leaks, each named in the file.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan-suppressions.txt:print_suppressions=0}

report=()
total_findings=0
while read -r name executable corpus; do
  [ -n "$name" ] || continue
  if [ -n "${FUZZ_TARGETS:-}" ] && ! [[ " $FUZZ_TARGETS " == *" $name "* ]]; then
    continue
  fi
  work=$root/$build_dir/fuzz-work/$name
  findings=$root/$build_dir/fuzz-findings/$name
  log=$root/$build_dir/fuzz-logs/$name.log
  rm -rf "$findings" # findings of this run only; move what matters into the corpus
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  echo "== fuzz $name: ${seconds}s"
  status=0
  (cd "$scratch/tmp" && "$executable" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
     -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$corpus") >"$log" 2>&1 ||
    status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(find "$findings" -type f | wc -l)
  if [ "$status" -ne 0 ] && [ "$found" -eq 0 ]; then
    found=1 # a failure without an artifact still counts; the log tells what it was
  fi
  total_findings=$((total_findings + found))
  line=$(printf '%-20s executions %-12s findings %s' "$name" "${executions:-?}" "$found")
  [ "$found" -ne 0 ] && line="$line (see $findings/ and $log)"
  echo "$line"
  report+=("$line")
done <"$build_dir/fuzz/targets.txt"

echo
echo "Fuzzing report (${seconds}s per target):"
printf '  %s\n' "${report[@]}"
echo "  findings in total: $total_findings"
[ "$total_findings" -eq 0 ]
