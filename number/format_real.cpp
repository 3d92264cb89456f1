// Decimal text of a double without the C runtime's printf, so that every platform writes the same
// text. Four phases: the 17 correctly rounded digits (decimal_digits.cpp), the choice of form (on
// the exponent before rounding), the rounding to the digits asked for, and the layout.
#include "number/format_real.h"

#include <cstring>

#include "number/decimal_digits.h"
#include "number/ieee754.h"
#include "number/write_decimal.h"

namespace cv {
namespace {

// Exponents have at least this many digits ("1.e+030").
constexpr int kMinExponentDigits = 3;

int ClampDigits(int digits) {
    if (digits < kFormatRealMinDigits) return kFormatRealMinDigits;
    return digits > kFormatRealMaxDigits ? kFormatRealMaxDigits : digits;
}

// The digits kept after rounding to `count` significant digits.
struct Rounded {
    char digits[kFormatRealMaxDigits + 1];
    bool carried;  // a carry out of the first digit: "1" and count zeros, one digit more
};

// Rounds half up on the 17-digit string; the digits past it are 0.
Rounded RoundDigits(const char decimal[kDecimalDigitCount], int count) {
    Rounded kept{};
    for (int i = 0; i < count; ++i) kept.digits[i] = i < kDecimalDigitCount ? decimal[i] : '0';
    if (count >= kDecimalDigitCount || decimal[count] < '5') return kept;
    int i = count - 1;
    while (i >= 0 && kept.digits[i] == '9') kept.digits[i--] = '0';
    if (i >= 0) {
        ++kept.digits[i];
    } else {
        kept.digits[0] = '1';
        kept.digits[count] = '0';
        kept.carried = true;
    }
    return kept;
}

// The form is chosen on the exponent before rounding: fixed while it needs no more integer
// digits than asked for and at most one leading zero after the point.
bool ExponentialForm(int exponent, int count) {
    return exponent < -1 || exponent > count - 1;
}

// Drops the zeros that end a fraction, back to (not including) the decimal point.
char* StripFractionZeros(char* begin, char* end) {
    char* point = begin;
    while (point != end && *point != '.') ++point;
    if (point == end) return end;
    while (end[-1] == '0') --end;
    return end;
}

// d.ddd (count digits, the carry's extra zero dropped), then e+XXX.
char* LayOutExponential(char* cursor, const Rounded& kept, int count, int exponent) {
    char* const number = cursor;
    *cursor++ = kept.digits[0];
    *cursor++ = '.';
    for (int i = 1; i < count; ++i) *cursor++ = kept.digits[i];
    cursor = StripFractionZeros(number, cursor);
    const int magnitude = exponent + (kept.carried ? 1 : 0);
    *cursor++ = 'e';
    *cursor++ = magnitude < 0 ? '-' : '+';
    const uint64_t digits = static_cast<uint64_t>(magnitude < 0 ? -magnitude : magnitude);
    return WriteDecimal(digits, kMinExponentDigits, cursor);
}

// point integer digits (one more after a carry), then count - point fraction digits; "0" stands
// for an empty integer part. Without fraction digits (a 12-digit integer part at 12 digits) there
// is no point.
char* LayOutFixed(char* cursor, const Rounded& kept, int count, int point) {
    char* const number = cursor;
    const int integerDigits = point + (kept.carried ? 1 : 0);
    const int fractionDigits = count - point;
    if (integerDigits == 0) *cursor++ = '0';
    for (int i = 0; i < integerDigits; ++i) *cursor++ = kept.digits[i];
    if (fractionDigits <= 0) return cursor;
    *cursor++ = '.';
    for (int i = 0; i < fractionDigits; ++i) *cursor++ = kept.digits[integerDigits + i];
    return StripFractionZeros(number, cursor);
}

// The whole text into out (kFormatRealMaxText bytes).
void ComposeReal(double value, int digits, char* out) {
    const int count = ClampDigits(digits);
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char* cursor = out;
    if ((bits & kDoubleFormat.SignMask()) != 0) *cursor++ = '-';
    if ((bits & kDoubleFormat.ExponentMask()) == kDoubleFormat.ExponentMask()) {
        const char* word = (bits & kDoubleFormat.MantissaMask()) == 0 ? "inf" : "nan";
        std::memcpy(cursor, word, 4);
        return;
    }
    char decimal[kDecimalDigitCount];
    int point;
    DecimalDigits17(value, decimal, &point);  // zero: all '0' with D = 0, so fixed form
    const int exponent = point - 1;
    const Rounded kept = RoundDigits(decimal, count);
    cursor = ExponentialForm(exponent, count) ? LayOutExponential(cursor, kept, count, exponent)
                                              : LayOutFixed(cursor, kept, count, point);
    *cursor = '\0';
}

}  // namespace

char* FormatReal(double value, int digits, char* out, std::size_t outSize) {
    if (outSize == 0) return out;
    // Composed in a buffer that fits any digit count, then copied within the caller's size.
    char text[kFormatRealMaxText];
    ComposeReal(value, digits, text);
    std::size_t length = 0;
    for (; length + 1 < outSize && text[length] != '\0'; ++length) out[length] = text[length];
    out[length] = '\0';
    return out;
}

}  // namespace cv
