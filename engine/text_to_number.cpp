#include "engine/text_to_number.h"

#include <cstring>
#include <string>
#include <vector>

#include "number/big_number.h"
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

// Exact decimal to binary conversion: the decimal text becomes num / den exactly in big natural
// numbers, and 64 quotient bits plus a sticky remainder bit decide the rounding.

// Bits of the double nearest (ties to even) to (q + f) * 2^exponent, where 0 <= f < 1 and sticky
// tells whether f is above 0; q holds at least 54 significant bits.
uint64_t RoundToDoubleBits(uint64_t q, int exponent, bool sticky) {
    int length = 0;
    for (uint64_t rest = q; rest != 0; rest >>= 1) ++length;
    int lowest = length - 1 + exponent - kDoubleFormat.mantissaBits;
    if (lowest < kDoubleFormat.MinSubnormalExponent()) lowest = kDoubleFormat.MinSubnormalExponent();
    const int dropped = lowest - exponent;  // at least 1 since q is longer than 53 bits
    uint64_t kept = dropped >= 64 ? 0 : q >> dropped;
    const bool half = dropped - 1 < 64 && ((q >> (dropped - 1)) & 1) != 0;
    const bool below = sticky || (dropped - 1 >= 64 ? q != 0 : (q & ((1ull << (dropped - 1)) - 1)) != 0);
    if (half && (below || (kept & 1) != 0)) ++kept;
    if (kept == 1ull << (kDoubleFormat.mantissaBits + 1)) {
        kept >>= 1;
        ++lowest;
    }
    if (kept < 1ull << kDoubleFormat.mantissaBits) return kept;  // subnormal (or zero)
    const int biased = lowest + kDoubleFormat.mantissaBits + kDoubleFormat.Bias();
    if (biased >= kDoubleFormat.MaxBiasedExponent()) return kDoubleFormat.ExponentMask();
    return (static_cast<uint64_t>(biased) << kDoubleFormat.mantissaBits) |
           (kept & kDoubleFormat.MantissaMask());
}

// Significant digits beyond this many only matter as "something non-zero follows": a 1 stands
// for them (the longest exact double needs 767 significant digits).
constexpr std::size_t kMaxSignificantDigits = 800;
// Beyond these decimal magnitudes the result is infinity or zero whatever the digits.
constexpr int64_t kOverflowMagnitude = 311;    // value >= 10^310
constexpr int64_t kUnderflowMagnitude = -325;  // value < 10^-325
constexpr int64_t kExponentClamp = 100000;

double BitsToDouble(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The correctly rounded double of digits x 10^exponent (digits without leading zeros, not empty).
uint64_t DecimalToDoubleBits(const std::vector<uint8_t>& digits, int64_t exponent) {
    const int64_t magnitude = static_cast<int64_t>(digits.size()) + exponent;
    if (magnitude >= kOverflowMagnitude) return kDoubleFormat.ExponentMask();
    if (magnitude <= kUnderflowMagnitude) return 0;

    BigNumber numerator;
    for (uint8_t digit : digits) numerator.MultiplyAdd(10, digit);
    BigNumber denominator(1);
    if (exponent >= 0) {
        numerator.MultiplyByPowerOfTen(static_cast<int>(exponent));
    } else {
        denominator.MultiplyByPowerOfTen(static_cast<int>(-exponent));
    }
    // Scale so that the quotient has exactly 64 bits: 2^63 <= num / den < 2^64.
    int shift = 63 + denominator.BitLength() - numerator.BitLength();
    if (shift >= 0) {
        numerator.ShiftLeft(shift);
    } else {
        denominator.ShiftLeft(-shift);
    }
    BigNumber probe = denominator;
    probe.ShiftLeft(63);
    if (numerator.Compare(probe) < 0) {
        numerator.ShiftLeft(1);  // the quotient was just below 2^63
        ++shift;
    }
    uint64_t quotient = 0;
    for (int bit = 63; bit >= 0; --bit) {
        if (numerator.Compare(probe) >= 0) {
            numerator.Subtract(probe);
            quotient |= 1ull << bit;
        }
        probe.ShiftRight(1);
    }
    return RoundToDoubleBits(quotient, -shift, !numerator.IsZero());
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
    number->exponent = digits.empty()                      ? 0
                       : exponent > kDecimalExponentClamp  ? kDecimalExponentClamp
                       : exponent < -kDecimalExponentClamp ? -kDecimalExponentClamp
                                                           : exponent;
    return true;
}

// A decimal number as its digits are read: value = digits x 10^exponent.
struct OldDecimalNumber {
    std::vector<uint8_t> digits;  // significant digits, no leading zeros
    int64_t exponent = 0;
    bool anyDigit = false;
    bool tailNonZero = false;  // digits dropped beyond kMaxSignificantDigits

    void Take(char c, bool fraction) {
        anyDigit = true;
        if (digits.empty() && c == '0') {
            if (fraction) --exponent;
            return;
        }
        if (digits.size() < kMaxSignificantDigits) {
            digits.push_back(static_cast<uint8_t>(c - '0'));
            if (fraction) --exponent;
        } else {
            tailNonZero = tailNonZero || c != '0';
            if (!fraction) ++exponent;
        }
    }

    // The bits of the correctly rounded positive double (zero without significant digits).
    uint64_t Bits() {
        if (digits.empty()) return 0;
        if (tailNonZero) {
            digits.push_back(1);
            --exponent;
        }
        return DecimalToDoubleBits(digits, exponent);
    }
};

// The exponent that follows the digits ("e", "E", "d" or "D", an optional sign, digits), clamped
// far beyond any double; 0 when there is none. A letter without digits is not part of the number.
int64_t ExponentAfter(const char* p) {
    if (*p != 'e' && *p != 'E' && *p != 'd' && *p != 'D') return 0;
    const char* q = p + 1;
    bool negative = false;
    if (*q == '+' || *q == '-') negative = *q++ == '-';
    int64_t value = 0;
    for (; IsDigit(*q); ++q) {
        if (value < kExponentClamp) value = value * 10 + (*q - '0');
    }
    return negative ? -value : value;
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

double TextToDoubleByLongDivision(const char* text) {
    const char* p = SkipWhiteSpace(text);
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    OldDecimalNumber number;
    for (; IsDigit(*p); ++p) number.Take(*p, false);
    if (*p == '.') {
        for (++p; IsDigit(*p); ++p) number.Take(*p, true);
    }
    if (!number.anyDigit) return 0.0;  // no number at all: +0.0 even after a "-"
    number.exponent += ExponentAfter(p);
    uint64_t bits = number.Bits();
    if (negative) bits |= kDoubleFormat.SignMask();
    return BitsToDouble(bits);
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

uint32_t RoundToSingleBits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const uint64_t sign = (bits & kDoubleFormat.SignMask()) != 0 ? kSingleFormat.SignMask() : 0u;
    const int biased = static_cast<int>((bits & kDoubleFormat.ExponentMask()) >> kDoubleFormat.mantissaBits);
    const uint64_t fraction = bits & kDoubleFormat.MantissaMask();
    const int fractionDrop = kDoubleFormat.mantissaBits - kSingleFormat.mantissaBits;
    uint64_t single = sign;
    if (biased == kDoubleFormat.MaxBiasedExponent()) {
        // Infinity stays infinity; a NaN keeps its top fraction bits and stays a NaN.
        single |= kSingleFormat.ExponentMask();
        if (fraction != 0) single |= kSingleFormat.QuietBit() | (fraction >> fractionDrop);
        return static_cast<uint32_t>(single);
    }
    // Zero, or a double subnormal: far below half the least single.
    if (biased == 0) return static_cast<uint32_t>(sign);
    const int exponent = biased - kDoubleFormat.Bias();  // value = mantissa x 2^(exponent - 52)
    const uint64_t mantissa = fraction | kDoubleFormat.HiddenBit();
    int dropped = fractionDrop;
    if (exponent < kSingleFormat.MinNormalExponent()) dropped += kSingleFormat.MinNormalExponent() - exponent;
    if (dropped > 60) return static_cast<uint32_t>(sign);
    uint64_t kept = mantissa >> dropped;
    const uint64_t half = 1ull << (dropped - 1);
    const uint64_t rest = mantissa & ((1ull << dropped) - 1);
    if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;
    if (exponent < kSingleFormat.MinNormalExponent()) {
        // Subnormal: the bits are the count of least units; 2^23 of them is the least normal.
        return static_cast<uint32_t>(sign | kept);
    }
    int singleBiased = exponent + kSingleFormat.Bias();
    if (kept == kSingleFormat.HiddenBit() << 1) {
        kept >>= 1;
        ++singleBiased;
    }
    if (singleBiased >= kSingleFormat.MaxBiasedExponent())
        return static_cast<uint32_t>(sign | kSingleFormat.ExponentMask());
    single |= (static_cast<uint64_t>(singleBiased) << kSingleFormat.mantissaBits) |
              (kept & kSingleFormat.MantissaMask());
    return static_cast<uint32_t>(single);
}

}  // namespace cv
