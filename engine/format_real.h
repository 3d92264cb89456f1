// Decimal text of a double, identical on every platform (no C runtime printf involved).
#pragma once

#include <cstddef>
#include <cstdint>

namespace cv {

// The significant digits FormatReal accepts; other counts are clamped into this range.
constexpr int kFormatRealMinDigits = 1;
constexpr int kFormatRealMaxDigits = 40;
// The longest text FormatReal makes, terminator included: digits + 8 ("-d.ddd...e+308").
constexpr int kFormatRealMaxText = kFormatRealMaxDigits + 8;

// Writes value with `digits` significant digits (12 or 20 in the program) in fixed or exponential
// form into out (outSize bytes, terminator included; a longer text is cut, which digits + 8 bytes
// never need) and returns out. The decimal string is the correctly rounded 17-digit one; digits past the 17th
// are 0. The form is chosen on the exponent before rounding; trailing zeros of the fraction are stripped, the
// decimal point always stays ("1.", "1.e+030"). Exponents have at least three digits. Zeros give
// "0." and "-0."; infinities "inf" and "-inf"; NaNs "nan" and "-nan".
char* FormatReal(double value, int digits, char* out, std::size_t outSize);

// The correctly rounded (ties to even) 17 significant decimal digits of a finite non-zero |value|
// ('0'..'9', no terminator needed in digits[17]) and the decimal point position D (value =
// 0.d1d2... x 10^D). Zero, infinity and NaN give 17 '0' and D = 0.
void DecimalDigits17(double value, char digits[17], int* pointPosition);

namespace detail {

// Exposed for the tests only.
// The same result as DecimalDigits17, but every rounding decided by exact big-integer arithmetic.
void DecimalDigits17Exact(double value, char digits[17], int* pointPosition);

// The scale table: 10^k ~ (high * 2^64 + low) * 2^binaryExponent, the 128-bit significand truncated,
// for k in kMinDecimalScale..kMaxDecimalScale. Returns false for k outside that range.
constexpr int kMinDecimalScale = -292;
constexpr int kMaxDecimalScale = 340;
bool PowerOfTenEntry(int k, uint64_t* high, uint64_t* low, int* binaryExponent);

}  // namespace detail

}  // namespace cv
