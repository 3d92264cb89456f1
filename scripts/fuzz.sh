#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in build/fuzz and
# runs each: the value box and hex box logic, then the explain command's values.
#   scripts/fuzz.sh            a long run of 10 000 000 inputs
#   scripts/fuzz.sh RUNS       a run of RUNS inputs (each target)
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

for target in box_edit explain; do
  corpus=build/fuzz/corpus
  [ $target = box_edit ] || corpus=build/fuzz/$target-corpus
  mkdir -p $corpus
  options=(-dict=fuzz/$target.dict -artifact_prefix=build/fuzz/ -print_final_stats=1)
  if [ -n "$seconds" ]; then
    options+=(-max_total_time="$seconds")
  else
    options+=(-runs="$runs")
  fi
  start=$(date +%s)
  build/fuzz/fuzz/${target}_fuzzer "${options[@]}" $corpus 2>build/fuzz/last-run.log || {
    tail -n 40 build/fuzz/last-run.log >&2
    echo "fuzz: $target: finding; the input is in build/fuzz/" >&2
    exit 1
  }
  grep -a '^stat::number_of_executed_units' build/fuzz/last-run.log || true
  echo "fuzz: $target clean after $(( $(date +%s) - start )) s"
done
