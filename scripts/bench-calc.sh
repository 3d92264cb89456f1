#!/usr/bin/env bash
# Times `corvane-cli calc f64 --json` (Release, native) over random operations fed one per line on
# standard input (random 64-bit patterns as operands; +, -, x, /, sqrt and fma in turn), against the
# reference a user would otherwise write: Python with fractions.Fraction computing the exact result
# of the same operation and the rounded double, as JSON with the exact result and the error in plain
# decimal as calc writes them (every digit, or 40 significant digits cut; the root's digits from an
# integer square root, unchecked past them). Both read the same input in the same run;
# prints operations per second for each and the ratio (above 1: corvane-cli is faster).
#   BENCH_CALC_OPERATIONS  how many operations (default 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${BENCH_CALC_OPERATIONS:-1000000}
build=build/bench-native
cmake --preset bench-native >/dev/null
cmake --build --preset bench-native >/dev/null

input=$build/f64-operations.txt
python3 -c "
import random, sys
r = random.Random(17)
b = lambda: '0x%016X' % r.getrandbits(64)
forms = [lambda: b() + ' + ' + b(), lambda: b() + ' - ' + b(), lambda: b() + ' x ' + b(),
         lambda: b() + ' / ' + b(), lambda: 'sqrt ' + b(), lambda: 'fma ' + b() + ' ' + b() + ' ' + b()]
sys.stdout.write(''.join(forms[i % 6]() + '\n' for i in range($count)))" >"$input"

reference='
import json, math, struct, sys
from fractions import Fraction
out = sys.stdout.write
def plain(x):  # every digit of a Fraction whose denominator is 2^k x 5^j
    n, d = abs(x.numerator), x.denominator
    k = 0
    while d % 10 == 0: d //= 10; k += 1
    while d % 2 == 0: d //= 2; n *= 5; k += 1
    while d % 5 == 0: d //= 5; n *= 2; k += 1
    if d != 1: return None
    t = str(n).rjust(k + 1, "0")
    t = (t[:len(t) - k] + "." + t[len(t) - k:]).rstrip("0").rstrip(".") if k else t
    return ("-" if x < 0 else "") + t
def cut(low, high=None):  # 40 significant digits, cut, of a value in [low, high)
    x = abs(low)
    e = math.floor(math.log10(x.numerator) - math.log10(x.denominator))
    d = str(math.floor(x * Fraction(10) ** (39 - e)))
    if len(d) > 40: d = d[:40]; e += 1
    t = d + "0" * (e - 39) if e >= 39 else ("0." + "0" * (-e - 1) + d if e < 0 else d[:e + 1] + "." + d[e + 1:])
    return ("-" if low < 0 else "") + t + "..."
def text(x): return plain(x) or cut(x)
for line in sys.stdin:
    words = line.split()
    op = words[0] if words[0] in ("sqrt", "fma") else words[1]
    texts = words[1:] if op in ("sqrt", "fma") else [words[0], words[2]]
    xs = [struct.unpack("<d", struct.pack("<Q", int(t, 16)))[0] for t in texts]
    answer = {"input": line.strip()}
    try:
        if not all(math.isfinite(x) for x in xs): raise ArithmeticError
        f = [Fraction(x) for x in xs]
        if op == "sqrt":
            if f[0] < 0: raise ArithmeticError
            rounded = math.sqrt(xs[0])
            scale = 200
            r = math.isqrt(math.floor(f[0] * 4 ** scale))
            exact = Fraction(r, 2 ** scale)
            answer["exact_result"] = plain(exact) if exact * exact == f[0] else cut(exact)
            answer["error"] = "0" if exact * exact == f[0] else cut(Fraction(rounded) - exact)
        else:
            exact = {"+": lambda: f[0] + f[1], "-": lambda: f[0] - f[1], "x": lambda: f[0] * f[1],
                     "/": lambda: f[0] / f[1], "fma": lambda: f[0] * f[1] + f[2]}[op]()
            rounded = float(exact)
            answer["exact_result"] = text(exact) if exact else "0"
            error = Fraction(rounded) - exact
            answer["error"] = text(error) if error else "0"
        answer["result"] = rounded.hex()
    except (ArithmeticError, ValueError, OverflowError):
        answer["result"] = "nan"
    out(json.dumps(answer) + "\n")
'

source scripts/bench-timing.sh

cli_time=$(seconds "$input" $build/cli/corvane-cli calc f64 --json)
python_time=$(seconds "$input" python3 -c "$reference")
awk -v n="$count" -v c="$cli_time" -v p="$python_time" 'BEGIN {
  printf "  corvane-cli calc f64 --json  %8d operations  %7.2f s  %9.0f operations/s (goal: 100000)\n", n, c, n / c
  printf "  Python fractions.Fraction    %8d operations  %7.2f s  %9.0f operations/s\n", n, p, n / p
  printf "  ratio (Python time / corvane-cli time)  %.2f (goal: above 10)\n", p / c }'
