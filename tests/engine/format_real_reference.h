// An independent, slow model of FormatReal for the differential tests: the exact decimal expansion
// of the binary value in base-10^9 arithmetic, then the rounding and the text done on digit strings
// the way the standard %e and %f conversions round.
#pragma once

#include <cstdint>
#include <string>

namespace cvtest {

// The exact value (high * 2^64 + low) * 2^exponent as decimal: its leading significant digits (up
// to kLeadDigits, no leading zeros, NUL-terminated), whether any digit after those is non-zero, and
// the point position (value = 0.lead... x 10^point). For zero, lead is empty.
struct ExactDecimal {
    static constexpr int kLeadDigits = 40;
    char lead[kLeadDigits + 1] = {};
    int leadLength = 0;
    bool restNonZero = false;
    int point = 0;
};

ExactDecimal ExpandBinary(uint64_t high, uint64_t low, int exponent);
ExactDecimal ExpandDouble(double value);  // of |value|; finite values only

// The correctly rounded (ties to even) 17 digits of an expansion into digits17 (NUL-terminated);
// returns their point position. Zero gives 17 '0' and 0.
int RoundTo17(const ExactDecimal& exact, char digits17[18]);

// The text for the 17 digits and point position of a value with `digits` (1..40).
std::string ReferenceText(bool negative, const char* digits17, int point, int digits);

// The text FormatReal should write for a finite value with `digits` (1..40).
std::string ReferenceFormat(double value, int digits);

}  // namespace cvtest
