// The characters of numbers: decimal and hexadecimal digits, read and written the same way
// everywhere (the program's own, not the C runtime's locale-dependent classes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cv {

// 10^9, the largest power of ten below 2^32: big numbers and decimal writers work in groups of its
// nine digits.
constexpr uint32_t kTenToTheNine = 1000000000u;
constexpr int kTenToTheNineDigits = 9;

// Upper-case hexadecimal digits by value, as every hex text of Corvane is written.
constexpr char kHexDigitChars[] = "0123456789ABCDEF";

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// 0..15 for '0'..'9', 'A'..'F', 'a'..'f'; -1 for any other character.
inline int HexDigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

inline bool IsHexDigit(char c) {
    return HexDigitValue(c) >= 0;
}

// Reads the decimal digits of text from *at on (leading zeros allowed, any number of them) and moves
// *at past them. A number above limit reads as limit + 1, however many digits it has, so that no
// digit string overflows. False when no digit is there.
inline bool ReadBoundedDecimal(const std::string& text, std::size_t* at, int limit, int* number) {
    const std::size_t start = *at;
    int value = 0;
    for (; *at < text.size() && IsDigit(text[*at]); ++*at) {
        value = value * 10 + (text[*at] - '0');
        if (value > limit) value = limit + 1;
    }
    *number = value;
    return *at > start;
}

// Writes the low 4 * count bits of value as count upper-case hex digits (zero-padded, no
// terminator) at out; count is at most 16.
inline void WriteHexDigits(uint64_t value, int count, char* out) {
    for (int i = 0; i < count; ++i) out[i] = kHexDigitChars[(value >> (4 * (count - 1 - i))) & 0xFu];
}

}  // namespace cv
