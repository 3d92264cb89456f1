// Exact values into every layout kind. ConvertDecimal and RoundRational round into IEEE layouts;
// the layouts without infinities (fn, fnuz, finite, e8m0fnu) are reached from their IEEE results by
// the rules here: where their extra patterns lie, and what an overflow, a NaN or an infinity becomes.
// Every layout rounds by every IEEE mode, and may saturate.
#pragma once

#include <cstdint>
#include <string>

#include "number/big_number.h"
#include "number/float_parse.h"
#include "number/ieee754.h"

namespace cv {

struct LayoutConversion {
    uint64_t bits = 0;
    bool inexact = false;
    bool overflow = false;
    bool underflow = false;  // tiny after rounding (e8m0fnu: below its smallest value), and inexact
    bool invalid = false;    // no representation (e8m0fnu: zero and negative values); a signalling NaN
    bool noNan = false;      // a NaN into a layout without one: refused, bits meaningless
    bool saturated = false;  // saturation gave the largest finite value where an infinity was due
};

// How a value that does not fit is rounded, and whether a result that would be an infinity (an
// overflow, or an infinity itself) is the largest finite value of its sign instead.
struct Rounding {
    RoundingMode mode = RoundingMode::kEven;
    bool saturate = false;
    constexpr Rounding(RoundingMode roundingMode = RoundingMode::kEven, bool saturating = false)
        : mode(roundingMode), saturate(saturating) {}
};

// The number in the layout, rounded once by the mode (e8m0fnu: among its powers of two, in both
// nearest modes by value with a tie 1.5 x 2^k going up; below 2^-127 its smallest value, and NaN
// with invalid for zero and negative values). An overflow gives what the mode gives, an infinity
// there becoming the layout's NaN (of the sign where it has two), or in a finite layout the largest
// finite value of the sign. IEEE layouts without saturation give exactly what ConvertDecimal gives.
LayoutConversion ConvertDecimalToLayout(const BinaryFormat& format, const DecimalNumber& number,
                                        Rounding rounding = Rounding());

// The magnitude num / den * 2^power with the sign (num zero for a zero; den not zero; both used
// up) in the layout, by the same rules.
LayoutConversion ConvertRationalToLayout(const BinaryFormat& format, bool negative, BigNumber* num,
                                         BigNumber* den, int power, Rounding rounding = Rounding());

// An infinity of the sign in the layout: itself, else the NaN (the largest finite value when
// saturating), else, without a NaN, the largest finite value; e8m0fnu's -inf is NaN.
LayoutConversion InfinityToLayout(const BinaryFormat& format, bool negative, Rounding rounding = Rounding());

// What an overflow of the sign gives in the layout by the mode (flags overflow and inexact): the
// largest finite value, or where the mode gives an infinity what InfinityToLayout places.
LayoutConversion OverflowToLayout(const BinaryFormat& format, bool negative, Rounding rounding = Rounding());

// The value stored in source (bits) in the target layout: finite values and infinities by the
// rules above; a NaN becomes a quiet NaN of its sign whose payload is the source's, aligned at the
// top of the mantissa (cut or padded with zeros below), or the target's one NaN; a signalling NaN
// raises invalid; a layout without NaN refuses it (noNan).
LayoutConversion ConvertBetweenLayouts(const BinaryFormat& target, const BinaryFormat& source, uint64_t bits,
                                       Rounding rounding = Rounding());

// Appends the stored value minus the given finite one as AppendConversionError writes it; "nan" when
// a NaN is stored; and where the given number lies far past every layout's range yet a non-zero
// value is stored (the largest finite value of a layout without NaN, e8m0fnu's smallest), so that
// the plain difference would be unreasonably long, "stored - given" (or "-stored + given") with the
// given number as digits e exponent, still exact.
void AppendLayoutConversionError(const BinaryFormat& format, const DecimalNumber& number, uint64_t bits,
                                 std::string* text);

}  // namespace cv
