// C99 hexadecimal floating text (0x1.8p3): read into the exact decimal the one rounding core takes,
// and written back from a layout's bits the way C's %a writes a value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "number/float_parse.h"
#include "number/ieee754.h"

namespace cv {

// A value whose binary magnitude (the power of two of its leading bit) lies beyond this either way
// rounds as every number that far out does in every layout (whose ranges lie far inside it): it is
// taken as far out, its exact text kept for the conversion error instead of its digits (a plain
// decimal of it would have tens of thousands of digits and more).
constexpr int64_t kHexFloatFarBits = 40000;
// Significant hex digits (from the first non-zero one to the last) a hex float may have: past them
// the exact decimal of the value, which the conversion error needs, grows too costly to write.
constexpr std::size_t kMostHexFloatDigits = 20000;

enum class HexFloatResult { kNotHexFloat, kAccepted, kTooManyDigits };

// Reads [+-]0(x|X)hexdigits[.hexdigits](p|P)[+-]digits (hex digits on at least one side of the
// point) into its exact value as a finite DecimalNumber (a far-out one: see kHexFloatFarBits).
// kNotHexFloat when the text is not of that form (a 0x text without p is raw bits, not this).
HexFloatResult ParseHexFloat(const char* text, std::size_t length, DecimalNumber* number);

// Appends a finite value as %a writes it: 0x1.8p+3, the fraction's hex digits without trailing
// zeros (the mantissa field's bits left-aligned in hex digits), 0x1p+0 for 1; subnormals as 0x0.
// and the mantissa's digits with the smallest normal exponent; 0x0p+0 and -0x0p+0 for zeros.
// False (nothing appended) for infinities and NaNs.
bool AppendHexFloat(const BinaryFormat& format, uint64_t bits, std::string* text);

}  // namespace cv
