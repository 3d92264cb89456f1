#include "number/hex_float.h"

#include <algorithm>

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

// The magnitude of a hex float as written, tidied (the exponent may be of any length, so it is
// taken as it stands): the integer digits without leading zeros ("0" for none), the fraction's
// without trailing zeros (no point for none), lower case, and the exponent with its sign.
std::string FarOutText(const char* text, std::size_t start, std::size_t point, std::size_t end,
                       bool exponentNegative, const char* exponent, std::size_t exponentLength) {
    std::string out = "0x";
    std::size_t first = start;
    while (first < point && text[first] == '0') ++first;
    if (first == point) out += '0';
    for (std::size_t i = first; i < point; ++i) out += kHexDigits[HexDigitValue(text[i])];
    std::size_t last = end;
    while (last > point + 1 && text[last - 1] == '0') --last;
    if (last > point + 1) {
        out += '.';
        for (std::size_t i = point + 1; i < last; ++i) out += kHexDigits[HexDigitValue(text[i])];
    }
    out += exponentNegative ? "p-" : "p+";
    std::size_t firstExponent = 0;
    while (firstExponent + 1 < exponentLength && exponent[firstExponent] == '0') ++firstExponent;
    out.append(exponent + firstExponent, exponentLength - firstExponent);
    return out;
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
    std::string digits;  // from the first non-zero digit on, lower case
    const std::size_t digitsStart = at;
    std::size_t pointAt = 0;
    int64_t fractionDigits = 0;
    bool anyDigit = false;
    bool point = false;
    for (; at < length && text[at] != 'p' && text[at] != 'P'; ++at) {
        if (text[at] == '.' && !point) {
            point = true;
            pointAt = at;
            continue;
        }
        const int digit = HexDigitValue(text[at]);
        if (digit < 0) return HexFloatResult::kNotHexFloat;
        anyDigit = true;
        if (point) ++fractionDigits;
        if (digit != 0 || !digits.empty()) digits += kHexDigits[digit];
    }
    if (!anyDigit || at == length) return HexFloatResult::kNotHexFloat;
    const std::size_t digitsEnd = at;
    ++at;  // the p
    bool exponentNegative = false;
    if (at < length && (text[at] == '-' || text[at] == '+')) exponentNegative = text[at++] == '-';
    if (at == length) return HexFloatResult::kNotHexFloat;
    const std::size_t exponentStart = at;
    // Past this the exponent alone puts the value far out, whatever its digits.
    constexpr int64_t kExponentCap = int64_t{1} << 52;
    int64_t exponent = 0;
    for (; at < length; ++at) {
        if (text[at] < '0' || text[at] > '9') return HexFloatResult::kNotHexFloat;
        exponent = std::min(exponent * 10 + (text[at] - '0'), kExponentCap);
    }
    *number = DecimalNumber();
    number->negative = negative;
    if (digits.empty()) return HexFloatResult::kAccepted;
    // value = digits (an integer) * 2^power; trailing zero digits go into the power.
    int64_t power = (exponentNegative ? -exponent : exponent) - fractionDigits * kHexDigitBits;
    const std::size_t last = digits.find_last_not_of('0');
    power += static_cast<int64_t>(digits.size() - 1 - last) * kHexDigitBits;
    digits.resize(last + 1);
    if (digits.size() > kMostHexFloatDigits) return HexFloatResult::kTooManyDigits;
    const int64_t leadingPower = power + static_cast<int64_t>(digits.size()) * kHexDigitBits;  // within 4
    if (leadingPower > kHexFloatFarBits || leadingPower < -kHexFloatFarBits) {
        number->digits = "1";
        number->exponent = leadingPower > 0 ? kDecimalExponentClamp : -kDecimalExponentClamp;
        number->givenText = FarOutText(text, digitsStart, point ? pointAt : digitsEnd, digitsEnd,
                                       exponentNegative, text + exponentStart, length - exponentStart);
        return HexFloatResult::kAccepted;
    }
    // Seven hex digits at a time, so that the digits cost a pass over the number each seventh.
    constexpr int kDigitsAtOnce = 7;
    BigNumber mantissa;
    for (std::size_t i = 0; i < digits.size(); i += kDigitsAtOnce) {
        const std::size_t end = std::min(digits.size(), i + kDigitsAtOnce);
        uint32_t chunk = 0;
        for (std::size_t j = i; j < end; ++j)
            chunk = (chunk << kHexDigitBits) | static_cast<uint32_t>(HexDigitValue(digits[j]));
        mantissa.MultiplyAdd(1u << (kHexDigitBits * (end - i)), chunk);
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
