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

// "0000", "0001", ..., "9999": the limbs of long decimals are written four digits a lookup.
struct DigitQuads {
    char text[40000];
    constexpr DigitQuads() : text() {
        for (int i = 0; i < 10000; ++i) {
            text[4 * i] = static_cast<char>('0' + i / 1000);
            text[4 * i + 1] = static_cast<char>('0' + i / 100 % 10);
            text[4 * i + 2] = static_cast<char>('0' + i / 10 % 10);
            text[4 * i + 3] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr DigitQuads kDigitQuads;

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
    const uint32_t first = group / 100000000u;
    const uint32_t rest = group - first * 100000000u;
    const uint32_t high = rest / 10000u;
    *cursor = static_cast<char>('0' + first);
    std::memcpy(cursor + 1, kDigitQuads.text + 4 * high, 4);
    std::memcpy(cursor + 5, kDigitQuads.text + 4 * (rest - high * 10000u), 4);
    return cursor + 9;
}

char* WriteNineDigitGroups(const uint32_t* groups, std::size_t count, char* cursor) {
    while (count-- > 0) cursor = WriteNineDigits(groups[count], cursor);
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
