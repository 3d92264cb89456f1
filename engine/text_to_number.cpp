#include "engine/text_to_number.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "number/float_parse.h"
#include "number/ieee754.h"

namespace cv {

namespace {

// The white space that the conversions skip (that of the "C" locale).
bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* SkipWhiteSpace(const char* text) {
    while (IsWhiteSpace(*text)) ++text;
    return text;
}

double BitsToDouble(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The exponent that follows the digits ("e", "E", "d" or "D", an optional sign, digits), clamped
// far beyond any layout; 0 when there is none. A letter without digits is not part of the number.
int64_t WrittenExponent(const char* p) {
    if (*p != 'e' && *p != 'E' && *p != 'd' && *p != 'D') return 0;
    const char* q = p + 1;
    bool negative = false;
    if (*q == '+' || *q == '-') negative = *q++ == '-';
    int64_t value = 0;
    for (; IsDigit(*q); ++q) {
        if (value < kDecimalExponentClamp) value = value * 10 + (*q - '0');
    }
    return negative ? -value : value;
}

// The decimal number at the start of text, read by the window's grammar; false when it has no
// digit at all.
bool ScanDecimal(const char* text, DecimalNumber* number) {
    *number = DecimalNumber();
    const char* p = SkipWhiteSpace(text);
    if (*p == '+' || *p == '-') number->negative = *p++ == '-';
    std::string& digits = number->digits;
    bool anyDigit = false;
    int64_t fractionDigits = 0;
    for (; IsDigit(*p); ++p) {
        anyDigit = true;
        if (!digits.empty() || *p != '0') digits += *p;
    }
    if (*p == '.') {
        for (++p; IsDigit(*p); ++p) {
            anyDigit = true;
            ++fractionDigits;
            if (!digits.empty() || *p != '0') digits += *p;
        }
    }
    if (!anyDigit) return false;
    const int64_t written = WrittenExponent(p);
    std::size_t end = digits.size();
    while (end > 0 && digits[end - 1] == '0') --end;
    const int64_t trailingZeros = static_cast<int64_t>(digits.size() - end);
    digits.resize(end);
    const int64_t exponent = written - fractionDigits + trailingZeros;
    number->exponent =
        digits.empty() ? 0 : std::clamp(exponent, -kDecimalExponentClamp, kDecimalExponentClamp);
    return true;
}

}  // namespace

uint64_t TextToRealBits(const char* text, const BinaryFormat& format) {
    DecimalNumber number;
    if (!ScanDecimal(text, &number)) return 0;  // no number at all: +0 even after a "-"
    return ConvertDecimal(format, number).bits;
}

double TextToDouble(const char* text) {
    return BitsToDouble(TextToRealBits(text, kDoubleFormat));
}

uint32_t TextToInteger(const char* text) {
    const char* p = SkipWhiteSpace(text);
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    uint32_t total = 0;
    for (; IsDigit(*p); ++p) total = total * 10u + static_cast<uint32_t>(*p - '0');
    return negative ? 0u - total : total;
}

bool ReadHexNumber(const char* text, unsigned maxDigits, uint32_t* number) {
    uint32_t value = 0;
    unsigned count = 0;
    for (; count < maxDigits && count < 8 && IsHexDigit(text[count]); ++count) {
        value = (value << 4) | static_cast<unsigned>(HexDigitValue(text[count]));
    }
    if (count == 0) return false;
    *number = value;
    return true;
}

}  // namespace cv
