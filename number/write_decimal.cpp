#include "number/write_decimal.h"

#include <cassert>
#include <cstring>

#include "number/digits.h"
#include "number/text_copy.h"

namespace cv {

namespace {

constexpr int kGroupDigits = kTenToTheNineDigits;

// "00", "01", ..., "99": two digits for one division.
struct DigitPairs {
    char text[200];
    constexpr DigitPairs() : text() {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr DigitPairs kDigitPairs;

// Writes the last `count` digits of number backwards, ending just before end; returns where they
// begin.
char* WriteDigitsBefore(char* end, uint32_t number, int count) {
    for (; count >= 2; count -= 2, number /= 100) {
        const char* pair = kDigitPairs.text + 2 * (number % 100);
        *--end = pair[1];
        *--end = pair[0];
    }
    if (count != 0) *--end = static_cast<char>('0' + number % 10);
    return end;
}

}  // namespace

char* WriteDecimal(uint64_t magnitude, int minDigits, char* cursor) {
    // Nine-digit groups, lowest first, so that a 32-bit build divides 64-bit numbers only twice.
    uint32_t groups[2];
    int groupCount = 0;
    for (; magnitude >= kTenToTheNine; magnitude /= kTenToTheNine)
        groups[groupCount++] = static_cast<uint32_t>(magnitude % kTenToTheNine);
    const uint32_t top = static_cast<uint32_t>(magnitude);
    int topDigits = 1;
    for (uint32_t power = 10; topDigits < kGroupDigits && top >= power; power *= 10) ++topDigits;
    const int count = topDigits + kGroupDigits * groupCount;
    const int padding = (minDigits < kMaxDecimalDigits ? minDigits : kMaxDecimalDigits) - count;
    for (int i = 0; i < padding; ++i) *cursor++ = '0';
    char* const end = cursor + count;
    char* digit = end;
    for (int i = 0; i < groupCount; ++i) digit = WriteDigitsBefore(digit, groups[i], kGroupDigits);
    WriteDigitsBefore(digit, top, topDigits);
    return end;
}

char* WriteNineDigits(uint32_t group, char* cursor) {
    assert(group < kTenToTheNine);
    // group / 10^8 as a fixed-point number with 57 fraction bits, its multiplier rounded up: the
    // first digit is its integer part, each multiplication of the fraction by 100 brings the next
    // two. The multiplier's excess, below 10^9 * 0.24 / 2^57 even after the eight digits' factor of
    // 10^8, never reaches the next integer (checked for every group), and 100 times the fraction
    // fits 64 bits.
    constexpr int kFractionBits = 57;
    constexpr uint64_t kFractionMask = (uint64_t{1} << kFractionBits) - 1;
    constexpr uint64_t kOneOverTenToTheEight = 1441151881u;  // ceil(2^57 / 10^8)
    uint64_t fixed = static_cast<uint64_t>(group) * kOneOverTenToTheEight;
    *cursor++ = static_cast<char>('0' + (fixed >> kFractionBits));
    for (int i = 1; i < kGroupDigits; i += 2) {
        fixed = (fixed & kFractionMask) * 100;
        std::memcpy(cursor, kDigitPairs.text + 2 * (fixed >> kFractionBits), 2);
        cursor += 2;
    }
    return cursor;
}

void AppendDecimal(uint64_t value, std::string* text) {
    char digits[kMaxDecimalDigits];
    text->append(digits, WriteDecimal(value, 1, digits));
}

void AppendSignedDecimal(int64_t value, std::string* text) {
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0) {
        *text += '-';
        magnitude = 0 - magnitude;
    }
    AppendDecimal(magnitude, text);
}

void FormatDecimal(int64_t value, int minDigits, char* out, std::size_t size) {
    char text[kMaxDecimalDigits + 2];
    char* cursor = text;
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0) {
        *cursor++ = '-';
        magnitude = 0 - magnitude;  // taken unsigned, so that the most negative value needs no case
        --minDigits;
    }
    *WriteDecimal(magnitude, minDigits, cursor) = '\0';
    CopyText(out, size, text);
}

}  // namespace cv
