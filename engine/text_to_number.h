// Typed text to numbers, as the program defines the conversions (not as a C runtime happens to
// behave): the other direction of format_real.
#pragma once

#include <cstdint>

#include "number/digits.h"
#include "number/ieee754.h"

namespace cv {

// The bits of the value in the given layout nearest to the number at the start of text (ties to
// even), rounded once: leading white space skipped, an optional sign, digits with an optional point,
// an "e", "E", "d" or "D" exponent (a letter without digits is not part of it); whatever follows is
// ignored. No hex floats, no inf/nan words; no digit gives +0 even after a "-"; beyond the layout's
// range +-infinity, below it zero.
uint64_t TextToRealBits(const char* text, const BinaryFormat& format);
double TextToDouble(const char* text);     // TextToRealBits for kDoubleFormat
uint32_t TextToInteger(const char* text);  // wraps modulo 2^32
// Reads at most maxDigits (up to 8) hex digits at the start of text; false if there is none.
bool ReadHexNumber(const char* text, unsigned maxDigits, uint32_t* number);

}  // namespace cv
