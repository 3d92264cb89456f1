// Decimal text of a double, identical on every platform (no C runtime printf involved).
#pragma once

namespace cv {

// Writes value with `digits` significant digits (12 or 20 in the program; 1..40 supported) in fixed
// or exponential form into out (at least 32 bytes for digits <= 20; digits + 12 bytes in general) and
// returns out. The decimal string is the correctly rounded 17-digit one; digits past the 17th are 0.
// The form is chosen on the exponent before rounding; trailing zeros of the fraction are stripped,
// the decimal point always stays ("1.", "1.e+030"). Exponents have at least three digits.
char* FormatReal(double value, int digits, char* out);

// The correctly rounded 17 significant decimal digits of a finite non-zero |value| ('0'..'9', no
// terminator needed in digits[17]) and the decimal point position D (value = 0.d1d2... x 10^D).
void DecimalDigits17(double value, char digits[17], int* pointPosition);

}  // namespace cv
