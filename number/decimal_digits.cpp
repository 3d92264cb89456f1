// How the 17 correctly rounded digits are found: |value| = m * 2^e with m scaled up to 64 bits. For
// the k that puts x = |value| * 10^k into [10^16, 10^17), one 64 x 128-bit multiplication of m by
// the truncated 128-bit significand of 10^k gives x from below, too small by less than 2^-66
// (m < 2^64, and at least 131 bits of the product lie below the point). So the integer part and the
// top 64 fraction bits decide the rounding of x at once, unless those bits are within 2^-63 of one
// half: only then (exact ties, or about one random value in 2^62) an exact big-integer comparison of
// x with the half-integer decides, ties going to the even digit.
#include "number/decimal_digits.h"

#include <cstring>

#include "number/big_number.h"
#include "number/ieee754.h"
#include "number/write_decimal.h"

namespace cv {
namespace {

constexpr uint64_t kTenPow16 = 10000000000000000ull;
constexpr uint64_t kTenPow17 = 100000000000000000ull;
constexpr uint64_t kHalf = 1ull << 63;  // one half in the 64 fraction bits

struct Uint128 {
    uint64_t high;
    uint64_t low;
};

// 64 x 64 -> 128-bit product from 32-bit halves: one code path for the 32-bit and 64-bit builds.
Uint128 Multiply64(uint64_t a, uint64_t b) {
    const uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
    const uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
    const uint64_t lowLow = aLow * bLow;
    const uint64_t lowHigh = aLow * bHigh;
    const uint64_t highLow = aHigh * bLow;
    const uint64_t highHigh = aHigh * bHigh;
    const uint64_t middle = (lowLow >> 32) + (lowHigh & 0xFFFFFFFFu) + (highLow & 0xFFFFFFFFu);
    return {highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32),
            (middle << 32) | (lowLow & 0xFFFFFFFFu)};
}

// floor(n * log10(2)), exact for |n| <= 2620; used for n in -1074..1023.
int FloorLog10Pow2(int n) {
    return (n * 315653) >> 20;
}

int LeadingZeros(uint64_t x) {
    int count = 0;
    for (int step = 32; step > 0; step /= 2) {
        if ((x >> (64 - step)) == 0) {
            count += step;
            x <<= step;
        }
    }
    return count;
}

// x = m * 2^e2 * 10^k: its integer part and the top 64 bits of its fraction, from below.
struct Scaled {
    uint64_t integer;
    uint64_t fraction;
};

// m has bit 63 set, so the 192-bit product m * significand lies in [2^190, 2^192); with x below
// 10^18 < 2^60 at least 131 bits are fraction bits, i.e. the point lies 3 to 11 bits into the top
// word.
Scaled Scale(uint64_t m, int e2, int k) {
    const detail::PowerOfTen& power = detail::kPowersOfTen[k - detail::kMinDecimalScale];
    const Uint128 lowPart = Multiply64(m, power.low);
    const Uint128 highPart = Multiply64(m, power.high);
    const uint64_t middle = lowPart.high + highPart.low;
    const uint64_t top = highPart.high + (middle < lowPart.high ? 1 : 0);
    const int fractionBitsInTop = -(e2 + power.binaryExponent) - 128;
    return {top >> fractionBitsInTop, (top << (64 - fractionBitsInTop)) | (middle >> fractionBitsInTop)};
}

// Whether x = m * 2^e2 * 10^k, known to lie in [q, q + 3/2), rounds (ties to even) up to q + 1:
// compares 2 * m * 2^e2 * 10^k with (2q + 1), both sides cleared of fractions.
bool ExactRoundsUp(uint64_t m, int e2, int k, uint64_t q) {
    BigNumber twiceX(m);
    BigNumber halfway(2 * q + 1);
    const int twos = e2 + k + 1;  // 10^k = 5^k * 2^k, and the factor 2 of 2x
    if (k >= 0) {
        twiceX.MultiplyByPowerOfFive(k);
    } else {
        halfway.MultiplyByPowerOfFive(-k);
    }
    if (twos >= 0) {
        twiceX.ShiftLeft(twos);
    } else {
        halfway.ShiftLeft(-twos);
    }
    const int order = twiceX.Compare(halfway);
    return order > 0 || (order == 0 && (q & 1) != 0);
}

// |value| = m * 2^e2 with bit 63 of m set, for a finite non-zero value. A normal number is
// (hidden bit | mantissa) * 2^(field - 1 + lowest exponent), a subnormal one mantissa * 2^(lowest
// exponent), the lowest being 2^-1074.
void Normalize(uint64_t bits, uint64_t* m, int* e2) {
    const int exponentField =
        static_cast<int>((bits & kDoubleFormat.ExponentMask()) >> kDoubleFormat.mantissaBits);
    const uint64_t mantissa = bits & kDoubleFormat.MantissaMask();
    *m = exponentField == 0 ? mantissa : (mantissa | kDoubleFormat.HiddenBit());
    *e2 = (exponentField == 0 ? 1 : exponentField) - 1 + kDoubleFormat.MinSubnormalExponent();
    const int shift = LeadingZeros(*m);
    *m <<= shift;
    *e2 -= shift;
}

// x (exact) is in [x.integer + f, x.integer + f + 2^-66) with f in [fraction, fraction + 1) / 2^64:
// whether it rounds up to x.integer + 1. Where x is 10^16 or 10^17 exactly, x.integer may be one
// less with f just below 1; rounding up then gives the same digits and point as the exact x would.
bool RoundsUp(const Scaled& x, uint64_t m, int e2, int k, bool alwaysExact) {
    if (!alwaysExact && x.fraction <= kHalf - 2) return false;  // x < q + 1/2
    if (!alwaysExact && x.fraction > kHalf) return true;        // x > q + 1/2, below q + 3/2
    return ExactRoundsUp(m, e2, k, x.integer);
}

void Digits17(double value, char digits[kDecimalDigitCount], int* pointPosition, bool alwaysExact) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const uint64_t magnitudeBits = bits & ~kDoubleFormat.SignMask();
    if ((bits & kDoubleFormat.ExponentMask()) == kDoubleFormat.ExponentMask() || magnitudeBits == 0) {
        std::memset(digits, '0', kDecimalDigitCount);
        *pointPosition = 0;
        return;
    }
    uint64_t m;
    int e2;
    Normalize(bits, &m, &e2);
    // |value| lies in [2^(e2 + 63), 2^(e2 + 64)), less than one decade: D is this or one more.
    int point = FloorLog10Pow2(e2 + 63) + 1;
    Scaled x = Scale(m, e2, kDecimalDigitCount - point);
    if (x.integer >= kTenPow17) {
        ++point;
        x = Scale(m, e2, kDecimalDigitCount - point);
    }
    uint64_t q = x.integer;
    if (RoundsUp(x, m, e2, kDecimalDigitCount - point, alwaysExact)) ++q;
    if (q == kTenPow17) {  // 99999999999999999.5 and above: one more decimal place
        q = kTenPow16;
        ++point;
    }
    WriteDecimal(q, kDecimalDigitCount, digits);
    *pointPosition = point;
}

}  // namespace

void DecimalDigits17(double value, char digits[kDecimalDigitCount], int* pointPosition) {
    Digits17(value, digits, pointPosition, false);
}

namespace detail {

void DecimalDigits17Exact(double value, char digits[kDecimalDigitCount], int* pointPosition) {
    Digits17(value, digits, pointPosition, true);
}

bool PowerOfTenEntry(int k, uint64_t* high, uint64_t* low, int* binaryExponent) {
    if (k < kMinDecimalScale || k > kMaxDecimalScale) return false;
    const PowerOfTen& power = kPowersOfTen[k - kMinDecimalScale];
    *high = power.high;
    *low = power.low;
    *binaryExponent = power.binaryExponent;
    return true;
}

}  // namespace detail

}  // namespace cv
