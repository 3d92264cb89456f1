#!/usr/bin/env bash
# Builds the libFuzzer target (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in build/fuzz and
# runs it on the value box and hex box logic.
#   scripts/fuzz.sh            a long run of 10 000 000 inputs
#   scripts/fuzz.sh RUNS       a run of RUNS inputs
#   scripts/fuzz.sh --brief    a few seconds (CORVANE_FUZZ_SECONDS, default 5): the test command's step
# Any finding fails the script and leaves the input that caused it in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=10000000
seconds=""
case "${1:-}" in
  --brief) seconds=${CORVANE_FUZZ_SECONDS:-5} ;;
  "") ;;
  *) runs=$1 ;;
esac

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/corpus
options=(-dict=fuzz/box_edit.dict -artifact_prefix=build/fuzz/ -print_final_stats=1)
if [ -n "$seconds" ]; then
  options+=(-max_total_time="$seconds")
else
  options+=(-runs="$runs")
fi
start=$(date +%s)
build/fuzz/fuzz/box_edit_fuzzer "${options[@]}" build/fuzz/corpus 2>build/fuzz/last-run.log || {
  tail -n 40 build/fuzz/last-run.log >&2
  echo "fuzz: finding; the input is in build/fuzz/" >&2
  exit 1
}
grep -a '^stat::number_of_executed_units' build/fuzz/last-run.log || true
echo "fuzz: clean after $(( $(date +%s) - start )) s"
