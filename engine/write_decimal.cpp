#include "engine/write_decimal.h"

#include "engine/value_state.h"

namespace cv {

namespace {

constexpr uint32_t kTenPow9 = 1000000000u;

}  // namespace

char* WriteDecimal(uint64_t magnitude, int minDigits, char* cursor) {
    char reversed[kMaxDecimalDigits];
    int count = 0;
    // Nine digits at a time while the number needs 64 bits, so that a 32-bit build divides
    // 64-bit numbers only a few times.
    while (magnitude > UINT32_MAX) {
        uint32_t chunk = static_cast<uint32_t>(magnitude % kTenPow9);
        magnitude /= kTenPow9;
        for (int i = 0; i < 9; ++i, chunk /= 10) reversed[count++] = static_cast<char>('0' + chunk % 10);
    }
    uint32_t rest = static_cast<uint32_t>(magnitude);
    do {
        reversed[count++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    while (count < minDigits && count < kMaxDecimalDigits) reversed[count++] = '0';
    while (count > 0) *cursor++ = reversed[--count];
    return cursor;
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
