// Decimal numbers into every layout kind. ConvertDecimal rounds into IEEE layouts; the layouts
// without infinities (fn, fnuz, finite, e8m0fnu) are reached from its IEEE results by the rules
// here: where their extra patterns lie, and what an overflow, a NaN or an infinity becomes.
// fn, fnuz and finite layouts round by any IEEE mode; e8m0fnu only to nearest so far.
#pragma once

#include <cstdint>
#include <string>

#include "number/float_parse.h"
#include "number/ieee754.h"

namespace cv {

struct LayoutConversion {
    uint64_t bits = 0;
    bool inexact = false;
    bool overflow = false;
    bool underflow = false;  // tiny after rounding (e8m0fnu: below its smallest value), and inexact
    bool invalid = false;    // the value has no representation (e8m0fnu: zero and negative values)
    bool noNan = false;      // a NaN into a layout without one: refused, bits meaningless
};

// The number in the layout, rounded to nearest (ties to even; e8m0fnu: among powers of two, a tie
// going up). IEEE layouts give exactly what ConvertDecimal gives.
// fn, fnuz and finite layouts round by the mode; an overflow gives what the mode gives, an
// infinity there becoming the layout's NaN (or its largest finite value).
LayoutConversion ConvertDecimalToLayout(const BinaryFormat& format, const DecimalNumber& number,
                                        RoundingMode mode = RoundingMode::kEven);

// Appends the stored value minus the given finite one as AppendConversionError writes it; "nan" when
// a NaN is stored; and where the given number lies far past every layout's range yet a non-zero
// value is stored (the largest finite value of a layout without NaN, e8m0fnu's smallest), so that
// the plain difference would be unreasonably long, "stored - given" (or "-stored + given") with the
// given number as digits e exponent, still exact.
void AppendLayoutConversionError(const BinaryFormat& format, const DecimalNumber& number, uint64_t bits,
                                 std::string* text);

}  // namespace cv
