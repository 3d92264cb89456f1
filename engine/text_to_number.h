// Typed text to numbers, as the program defines the conversions (not as a C runtime happens to
// behave): the other direction of format_real.
#pragma once

#include <cstdint>

#include "number/digits.h"
#include "number/ieee754.h"

namespace cv {

// Correctly rounded; "d"/"D" exponents too; no hex floats, no inf/nan words; leading white space
// skipped; no digit gives +0.0; beyond the double range +-infinity, below it zero.
// The bits of the value nearest to the text's number in the given layout, rounded once.
uint64_t TextToRealBits(const char* text, const BinaryFormat& format);
double TextToDouble(const char* text);
double TextToDoubleByLongDivision(const char* text);
uint32_t TextToInteger(const char* text);  // wraps modulo 2^32
// Reads at most maxDigits (up to 8) hex digits at the start of text; false if there is none.
bool ReadHexNumber(const char* text, unsigned maxDigits, uint32_t* number);
// The single-precision bits nearest to value (ties to even); values between the largest single
// and the half-way point to 2^128 give the largest single, not infinity.
uint32_t RoundToSingleBits(double value);

}  // namespace cv
