// Exact decimal expansions of binary values x * 2^q, the way every digit of a float is written:
// for q < 0 the digits are those of x * 5^-q with -q of them after the point, for q >= 0 those of
// x * 2^q. The powers are kept in base-10^9 limbs, so one expansion costs a pass over its digits.
#pragma once

#include <cstdint>
#include <string>

namespace cv {

struct DecimalDigits {
    std::string digits;      // most significant first, no leading zero; empty for zero
    int fractionDigits = 0;  // how many of the digits (from the right) are after the point
};

// The exact digits of x * 2^q into *out (its buffer is reused).
void ExpandBinary(uint64_t x, int q, DecimalDigits* out);

// Appends the plain decimal text of digits: "0" or "-0" for zero, no exponent, no trailing zero after
// the point, no point when nothing follows it.
void AppendPlain(const DecimalDigits& digits, bool negative, std::string* text);

// ExpandBinary then AppendPlain.
void AppendPlainBinary(uint64_t x, int q, bool negative, std::string* text);

}  // namespace cv
