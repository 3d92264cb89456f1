#include "number/hex_float.h"

#include "number/big_number.h"
#include "number/binary_float.h"
#include "number/digits.h"
#include "number/write_decimal.h"

namespace cv {

namespace {

constexpr int kHexDigitBits = 4;
constexpr char kHexDigits[] = "0123456789abcdef";

void AppendBinaryExponent(int64_t exponent, std::string* text) {
    *text += 'p';
    if (exponent >= 0) *text += '+';
    AppendSignedDecimal(exponent, text);
}

// The low `count` bits of field left-aligned into whole hex digits, trailing zero digits dropped.
void AppendLeftAlignedDigits(uint64_t field, int count, std::string* text) {
    const int digits = (count + kHexDigitBits - 1) / kHexDigitBits;
    const uint64_t aligned = field << (digits * kHexDigitBits - count);
    int last = digits - 1;
    while (last >= 0 && ((aligned >> ((digits - 1 - last) * kHexDigitBits)) & 0xFu) == 0) --last;
    for (int i = 0; i <= last; ++i)
        *text += kHexDigits[(aligned >> ((digits - 1 - i) * kHexDigitBits)) & 0xFu];
}

}  // namespace

HexFloatResult ParseHexFloat(const char* text, std::size_t length, DecimalNumber* number) {
    std::size_t at = 0;
    const bool negative = length > 0 && text[0] == '-';
    if (length > 0 && (text[0] == '-' || text[0] == '+')) ++at;
    if (length < at + 2 || text[at] != '0' || (text[at + 1] != 'x' && text[at + 1] != 'X')) {
        return HexFloatResult::kNotHexFloat;
    }
    at += 2;
    BigNumber mantissa;
    int64_t fractionDigits = 0;
    bool anyDigit = false;
    bool point = false;
    for (; at < length && text[at] != 'p' && text[at] != 'P'; ++at) {
        if (text[at] == '.' && !point) {
            point = true;
            continue;
        }
        const int digit = HexDigitValue(text[at]);
        if (digit < 0) return HexFloatResult::kNotHexFloat;
        anyDigit = true;
        if (point) ++fractionDigits;
        mantissa.MultiplyAdd(1u << kHexDigitBits, static_cast<uint32_t>(digit));
    }
    if (!anyDigit || at == length) return HexFloatResult::kNotHexFloat;
    ++at;  // the p
    bool exponentNegative = false;
    if (at < length && (text[at] == '-' || text[at] == '+')) exponentNegative = text[at++] == '-';
    if (at == length) return HexFloatResult::kNotHexFloat;
    int64_t exponent = 0;
    bool exponentTooLong = false;
    for (; at < length; ++at) {
        if (text[at] < '0' || text[at] > '9') return HexFloatResult::kNotHexFloat;
        if (exponent > kHexFloatExponentLimit * 2) {
            exponentTooLong = true;
        } else {
            exponent = exponent * 10 + (text[at] - '0');
        }
    }
    *number = DecimalNumber();
    number->negative = negative;
    if (mantissa.IsZero()) return HexFloatResult::kAccepted;
    if (exponentTooLong || fractionDigits > kHexFloatExponentLimit)
        return HexFloatResult::kExponentOutOfRange;
    const int64_t power = (exponentNegative ? -exponent : exponent) - fractionDigits * kHexDigitBits;
    if (power > kHexFloatExponentLimit || power < -kHexFloatExponentLimit) {
        return HexFloatResult::kExponentOutOfRange;
    }
    // m * 2^power is exactly m * 5^-power * 10^power for a negative power.
    if (power < 0) {
        mantissa.MultiplyByPowerOfFive(static_cast<int>(-power));
        number->exponent = power;
    } else {
        mantissa.ShiftLeft(static_cast<int>(power));
    }
    number->digits = mantissa.ToDecimal();
    std::size_t end = number->digits.size();
    while (end > 0 && number->digits[end - 1] == '0') --end;
    number->exponent += static_cast<int64_t>(number->digits.size() - end);
    number->digits.resize(end);
    return HexFloatResult::kAccepted;
}

bool AppendHexFloat(const BinaryFormat& format, uint64_t bits, std::string* text) {
    const FloatFields fields = DecodeFloat(format, bits);
    if (!IsFinite(fields)) return false;
    if (fields.negative) *text += '-';
    if (fields.floatClass == FloatClass::kZero) {
        *text += "0x0p+0";
        return true;
    }
    const bool subnormal = fields.floatClass == FloatClass::kSubnormal;
    *text += subnormal ? "0x0" : "0x1";
    const std::size_t pointAt = text->size();
    *text += '.';
    AppendLeftAlignedDigits(fields.mantissa, format.mantissaBits, text);
    if (text->size() == pointAt + 1) text->resize(pointAt);  // no fraction digits, no point
    AppendBinaryExponent(subnormal ? format.MinNormalExponent() : fields.power + format.mantissaBits, text);
    return true;
}

}  // namespace cv
