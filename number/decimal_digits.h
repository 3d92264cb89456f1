// The correctly rounded 17 significant decimal digits of a double: the first phase of FormatReal.
#pragma once

#include <cstdint>

#include "number/powers_of_ten.h"

namespace cv {

constexpr int kDecimalDigitCount = 17;

// The correctly rounded (ties to even) 17 significant decimal digits of a finite non-zero |value|
// ('0'..'9', no terminator needed in digits[17]) and the decimal point position D (value =
// 0.d1d2... x 10^D). Zero, infinity and NaN give 17 '0' and D = 0.
void DecimalDigits17(double value, char digits[kDecimalDigitCount], int* pointPosition);

namespace detail {

// Exposed for the tests only.
// The same result as DecimalDigits17, but every rounding decided by exact big-integer arithmetic.
void DecimalDigits17Exact(double value, char digits[kDecimalDigitCount], int* pointPosition);

// The entry of the scale table for 10^k (kMinDecimalScale..kMaxDecimalScale); false for any other k.
bool PowerOfTenEntry(int k, uint64_t* high, uint64_t* low, int* binaryExponent);

}  // namespace detail

}  // namespace cv
