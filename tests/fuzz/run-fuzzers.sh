#!/usr/bin/env bash
# Runs the fuzz targets of a "fuzz" preset build, each for a bounded time, starting from the seeds
# committed beside it and with its dictionary. New inputs go to BUILD_DIR/fuzz-corpus, never into
# the source tree. A crash or a broken invariant fails the run and leaves the input that caused
# it in BUILD_DIR/fuzz-artifacts; replay it with: BUILD_DIR/tests/fuzz/TARGET INPUT
#
# Usage: run-fuzzers.sh BUILD_DIR                 every target, for its time in CI
#        run-fuzzers.sh BUILD_DIR TARGET SECONDS  one target, for as long as asked
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)

# Every target and its time in CI, in seconds.
ci_targets=(
  fuzz_calc:30
  fuzz_decode:60
  fuzz_option_list:30
  fuzz_value_text:30
  fuzz_table_set:30
)

if [ $# -ge 3 ]; then
  runs=("$2:$3")
else
  runs=("${ci_targets[@]}")
fi

mkdir -p "$build/fuzz-artifacts"
for run in "${runs[@]}"; do
  target=${run%%:*} seconds=${run##*:}
  corpus=$build/fuzz-corpus/$target
  mkdir -p "$corpus"
  dict=()
  [ -f "$here/$target.dict" ] && dict=(-dict="$here/$target.dict")
  echo "== $target for $seconds s"
  if ! "$build/tests/fuzz/$target" "$corpus" "$here/corpus/$target" "${dict[@]}" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/fuzz-artifacts/$target-" 2>"$build/fuzz-artifacts/$target.log"; then
    tail -n 40 "$build/fuzz-artifacts/$target.log" >&2
    echo "FAIL: $target; the input is in $build/fuzz-artifacts/" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^#[0-9]+ *DONE' "$build/fuzz-artifacts/$target.log" || true
done
echo "fuzzing: every target ran clean"
