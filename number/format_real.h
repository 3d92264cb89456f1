// Decimal text of a double, identical on every platform (no C runtime printf involved).
#pragma once

#include <cstddef>

#include "number/decimal_digits.h"  // the first phase, DecimalDigits17, also used on its own

namespace cv {

// The significant digits FormatReal accepts; other counts are clamped into this range.
constexpr int kFormatRealMinDigits = 1;
constexpr int kFormatRealMaxDigits = 40;
// The longest text FormatReal makes for any digit count, terminator included: digits + 8
// ("-d.ddd...e+308"); a buffer of this size never cuts.
constexpr int kFormatRealMaxText = kFormatRealMaxDigits + 8;

// Writes value with `digits` significant digits (12 or 20 in the program) in fixed or exponential
// form into out (outSize bytes, terminator included; a longer text is cut) and returns out. The
// decimal string is the correctly rounded 17-digit one; digits past the 17th are 0. The form is
// chosen on the exponent before rounding: exponential when it is below -1 or above digits - 1.
// Trailing zeros of the fraction are stripped, but the decimal point stays ("1.", "1.e+030")
// wherever the form has fraction digits; a fixed number with as many integer digits as `digits`
// has none and is written without a point (123456789012 at 12 digits). Exponents have at least
// three digits. Zeros give "0." and "-0."; infinities "inf" and "-inf"; NaNs "nan" and "-nan".
char* FormatReal(double value, int digits, char* out, std::size_t outSize);

}  // namespace cv
