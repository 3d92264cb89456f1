#include "number/rounding.h"

#include <cassert>
#include <utility>

#include "number/binary_float.h"

namespace cv {

bool RoundsUp(RoundingMode mode, bool negative, bool half, bool below, bool odd) {
    switch (mode) {
        case RoundingMode::kEven: return half && (below || odd);
        case RoundingMode::kAway: return half;
        case RoundingMode::kZero: return false;
        case RoundingMode::kUp: return !negative && (half || below);
        case RoundingMode::kDown: return negative && (half || below);
    }
    return false;
}

bool OverflowGivesInfinity(RoundingMode mode, bool negative) {
    return mode == RoundingMode::kEven || mode == RoundingMode::kAway ||
           (mode == RoundingMode::kUp && !negative) || (mode == RoundingMode::kDown && negative);
}

namespace {

// Drops `dropped` low bits of q (plus a sticky fraction below them), rounding the magnitude by the
// mode.
uint64_t RoundOff(uint64_t q, int dropped, bool sticky, bool negative, RoundingMode mode, bool* inexact) {
    if (dropped <= 0) {
        *inexact = sticky;
        return q;
    }
    const uint64_t kept = dropped >= 64 ? 0 : q >> dropped;
    const bool half = dropped <= 64 && ((q >> (dropped - 1)) & 1u) != 0;
    const uint64_t belowMask = dropped - 1 >= 64 ? ~uint64_t{0} : (uint64_t{1} << (dropped - 1)) - 1;
    const bool below = sticky || (q & belowMask) != 0;
    *inexact = half || below;
    return kept + (RoundsUp(mode, negative, half, below, (kept & 1u) != 0) ? 1u : 0u);
}

// The quotient of num / den in exactly `precision` bits, its lowest bit's power of two added to
// *exponent, and whether a remainder is left.
uint64_t Quotient(BigNumber* num, BigNumber* den, int precision, int* exponent, bool* sticky) {
    assert(precision >= 1 && precision <= 64 && !num->IsZero() && !den->IsZero());
    // Scaled so that the quotient has precision or precision + 1 bits; one more is cut to the sticky
    // part.
    const int shift = precision + den->BitLength() - num->BitLength();
    BigNumber quotient;
    if (den->BitLength() == 1) {  // den is 1: the quotient is num shifted
        *sticky = !num->LowBitsZero(-shift);
        quotient = std::move(*num);
        if (shift >= 0) {
            quotient.ShiftLeft(shift);
        } else {
            quotient.ShiftRight(-shift);
        }
    } else {
        if (shift >= 0) {
            num->ShiftLeft(shift);
        } else {
            den->ShiftLeft(-shift);
        }
        num->DivideModulo(*den, &quotient);
        *sticky = !num->IsZero();
    }
    int scale = shift;
    if (quotient.BitLength() > precision) {
        *sticky = *sticky || quotient.Bit(0);
        quotient.ShiftRight(1);
        --scale;
    }
    *exponent -= scale;
    return quotient.Low64();
}

}  // namespace

FloatConversion OverflowInMode(const BinaryFormat& format, bool negative, RoundingMode mode) {
    FloatConversion result;
    result.bits = OverflowGivesInfinity(mode, negative) ? InfinityBits(format, negative)
                                                        : LargestFiniteBits(format, negative);
    result.overflow = result.inexact = true;
    return result;
}

namespace {

FloatConversion RoundToFormat(const BinaryFormat& format, bool negative, uint64_t q, int exponent,
                              bool sticky, RoundingMode mode) {
    const int precision = format.mantissaBits + 3;
    const int top = exponent + precision - 1;
    FloatConversion result;
    // Tininess is judged after rounding to the format's precision with an unbounded exponent.
    bool inexact = false;
    const uint64_t unbounded =
        RoundOff(q, precision - 1 - format.mantissaBits, sticky, negative, mode, &inexact);
    const bool tiny =
        (unbounded >> (format.mantissaBits + 1) != 0 ? top + 1 : top) < format.MinNormalExponent();

    int lowest = top - format.mantissaBits;
    if (lowest < format.MinSubnormalExponent()) lowest = format.MinSubnormalExponent();
    uint64_t kept = RoundOff(q, lowest - exponent, sticky, negative, mode, &result.inexact);
    if (kept >> (format.mantissaBits + 1) != 0) {
        kept >>= 1;
        ++lowest;
    }
    const uint64_t sign = negative ? format.SignMask() : 0u;
    if (kept < format.HiddenBit()) {
        result.bits = sign | kept;
    } else {
        const int biased = lowest + format.mantissaBits + format.Bias();
        if (biased >= format.MaxBiasedExponent()) return OverflowInMode(format, negative, mode);
        result.bits =
            sign | (static_cast<uint64_t>(biased) << format.mantissaBits) | (kept & format.MantissaMask());
    }
    result.underflow = tiny && result.inexact;
    return result;
}

}  // namespace

FloatConversion RoundRational(const BinaryFormat& format, bool negative, BigNumber* num, BigNumber* den,
                              int power, RoundingMode mode) {
    bool sticky = false;
    const uint64_t q = Quotient(num, den, format.mantissaBits + 3, &power, &sticky);
    return RoundToFormat(format, negative, q, power, sticky, mode);
}

}  // namespace cv
