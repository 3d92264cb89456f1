#!/usr/bin/env bash
# Builds and runs the FormatReal benchmark (Release, native) and prints how many times faster
# FormatReal is than the C runtime's "%.16e" on the same doubles.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/bench-native
cmake --preset bench-native >/dev/null
cmake --build --preset bench-native
$build/bench/format_real_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv "$@" 2>/dev/null | tee $build/format_real_bench.csv
echo
# Ratio of the median CPU times (the machine may be shared): snprintf time / FormatReal time
# (above 1: FormatReal is faster).
awk -F, '/_median"/ {
    name = $1; gsub(/"/, "", name); sub(/_median$/, "", name);
    time[name] = $4 }
  END {
    split("any moderate", sets, " ");
    for (s in sets) {
      c = time["snprintf_16e/" sets[s]];
      printf "%-9s snprintf %%.16e %7.1f ns | FormatReal 12 digits %6.1f ns (x%.1f) | 20 digits %6.1f ns (x%.1f)\n",
        sets[s], c, time["FormatReal/" sets[s] "/12"], c / time["FormatReal/" sets[s] "/12"],
        time["FormatReal/" sets[s] "/20"], c / time["FormatReal/" sets[s] "/20"] }
  }' $build/format_real_bench.csv
