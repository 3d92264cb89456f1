#!/usr/bin/env bash
# Times `corvane-cli explain f64 --json` (Release, native) over random 64-bit patterns fed one per line
# on standard input, against the reference a user would otherwise write: Python's struct + decimal
# printing the exact value and repr for the shortest, as JSON. Both read the same input in the same
# run; prints values per second for each and the ratio (above 1: corvane-cli is faster). Then times
# `explain e4m3fn --from f32 --json` over as many random 32-bit patterns.
#   BENCH_EXPLAIN_VALUES  how many values (default 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${BENCH_EXPLAIN_VALUES:-1000000}
build=build/bench-native
cmake --preset bench-native >/dev/null
cmake --build --preset bench-native >/dev/null

input=$build/f64-bits.txt
python3 -c "
import random, sys
r = random.Random(11)
sys.stdout.write(''.join('0x%016X\n' % r.getrandbits(64) for _ in range($count)))" >"$input"

reference='
import json, struct, sys
from decimal import Decimal
out = sys.stdout.write
for line in sys.stdin:
    text = line.strip()
    x = struct.unpack("<d", struct.pack("<Q", int(text, 16)))[0]
    exact = format(Decimal(x), "f") if x == x and abs(x) != float("inf") else repr(x)
    out(json.dumps({"input": text, "exact": exact, "shortest": repr(x)}) + "\n")
'

source scripts/bench-timing.sh

cli_time=$(seconds "$input" $build/cli/corvane-cli explain f64 --json)
python_time=$(seconds "$input" python3 -c "$reference")
awk -v n="$count" -v c="$cli_time" -v p="$python_time" 'BEGIN {
  printf "  corvane-cli explain f64 --json  %8d values  %7.2f s  %9.0f values/s (goal: 100000)\n", n, c, n / c
  printf "  Python struct+decimal+repr      %8d values  %7.2f s  %9.0f values/s\n", n, p, n / p
  printf "  ratio (Python time / corvane-cli time)  %.2f\n", p / c }'

# Conversions between formats: `explain e4m3fn --from f32 --json` over random 32-bit patterns.
input32=$build/f32-bits.txt
python3 -c "
import random, sys
r = random.Random(13)
sys.stdout.write(''.join('0x%08X\n' % r.getrandbits(32) for _ in range($count)))" >"$input32"
from_time=$(seconds "$input32" $build/cli/corvane-cli explain e4m3fn --from f32 --json)
awk -v n="$count" -v t="$from_time" 'BEGIN {
  printf "  corvane-cli explain e4m3fn --from f32 --json  %8d values  %7.2f s  %9.0f values/s\n", n, t, n / t }'
