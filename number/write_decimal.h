// Decimal digits of an integer, written by hand so that every platform gives the same text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cv {

// The most digits a 64-bit number has, and the most WriteDecimal writes.
constexpr int kMaxDecimalDigits = 20;

// Writes the digits of magnitude at cursor, at least minDigits of them (zero-padded, at most
// kMaxDecimalDigits), without a terminator, and returns the end.
char* WriteDecimal(uint64_t magnitude, int minDigits, char* cursor);

// Writes the nine digits of group (below 10^9, zero-padded) at cursor and returns the end: one limb
// of a base-10^9 number.
char* WriteNineDigits(uint32_t group, char* cursor);

// Writes groups[count - 1], ..., groups[0] (each below 10^9) nine digits each at cursor and returns
// the end: the limbs of a base-10^9 number below its top one, most significant first.
char* WriteNineDigitGroups(const uint32_t* groups, std::size_t count, char* cursor);

// Appends the digits of value, with a "-" before a negative one, to text.
void AppendDecimal(uint64_t value, std::string* text);
void AppendSignedDecimal(int64_t value, std::string* text);

// The text of value: a "-" before a negative one, then at least minDigits digits, where (as with
// printf's %0Nd) the width counts the sign. Cut to size bytes, terminator included.
void FormatDecimal(int64_t value, int minDigits, char* out, std::size_t size);

}  // namespace cv
