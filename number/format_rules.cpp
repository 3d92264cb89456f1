#include "number/format_rules.h"

#include <string>

#include "number/big_number.h"
#include "number/binary_float.h"

namespace cv {

namespace {

constexpr int64_t kPlainErrorDigits = 20000;  // longer errors as an exact difference

LayoutConversion FromFloatConversion(const FloatConversion& conversion) {
    LayoutConversion result;
    result.bits = conversion.bits;
    result.inexact = conversion.inexact;
    result.overflow = conversion.overflow;
    result.underflow = conversion.underflow;
    return result;
}

// What an infinity becomes in the layout, by the default mode: itself, else the NaN (of that sign
// where there are two), else (no NaN either) the largest finite value of that sign.
uint64_t InfinityInLayout(const BinaryFormat& format, bool negative) {
    if (format.HasInfinity()) return InfinityBits(format, negative);
    if (format.HasNan()) return QuietNanBits(format, negative);
    return LargestFiniteBits(format, negative);
}

LayoutConversion Overflow(const BinaryFormat& format, bool negative,
                          RoundingMode mode = RoundingMode::kEven) {
    LayoutConversion result;
    result.bits = OverflowGivesInfinity(mode, negative) ? InfinityInLayout(format, negative)
                                                        : LargestFiniteBits(format, negative);
    result.overflow = result.inexact = true;
    return result;
}

// The number times factor (2 or 5) and times 10^exponentStep, exactly: doubling, or halving as
// times 5 / 10.
DecimalNumber Scaled(const DecimalNumber& number, int factor, int exponentStep) {
    DecimalNumber scaled = number;
    std::string& digits = scaled.digits;
    int carry = 0;
    for (std::size_t i = digits.size(); i-- > 0;) {
        const int product = (digits[i] - '0') * factor + carry;
        digits[i] = static_cast<char>('0' + product % 10);
        carry = product / 10;
    }
    if (carry != 0) digits.insert(digits.begin(), static_cast<char>('0' + carry));
    std::size_t end = digits.size();
    while (end > 0 && digits[end - 1] == '0') --end;
    scaled.exponent += static_cast<int64_t>(digits.size() - end) + exponentStep;
    digits.resize(end);
    return scaled;
}

// fn, fnuz, finite: below the exponent field's all-ones value the patterns are those of the IEEE
// layout of the same widths, read one binade lower in fnuz (its bias is one larger), so the IEEE
// rounding (its subnormals included) carries over bit for bit. The all-ones exponent is one more
// binade on top: half the value, rounded in the IEEE layout's top binade, one exponent step up.
LayoutConversion ConvertWithTopBinade(const BinaryFormat& format, const DecimalNumber& number,
                                      RoundingMode mode) {
    const BinaryFormat ieee{format.exponentBits, format.mantissaBits};
    const bool halved = format.Bias() != ieee.Bias();
    const FloatConversion below = ConvertDecimal(ieee, halved ? Scaled(number, 2, 0) : number, mode);
    if (!below.overflow) {
        LayoutConversion result = FromFloatConversion(below);
        if (result.bits == format.SignMask() && !format.HasNegativeZero()) result.bits = 0;
        return result;
    }
    const FloatConversion top = ConvertDecimal(ieee, halved ? number : Scaled(number, 5, -1), mode);
    const uint64_t bits = top.bits + format.HiddenBit();
    if (top.overflow || (bits & ~format.SignMask()) > LargestFiniteBits(format, false)) {
        return Overflow(format, number.negative, mode);
    }
    LayoutConversion result;
    result.bits = bits;
    result.inexact = top.inexact;
    return result;
}

// -1, 0 or 1 as the finite positive number is below, equal to or above significand * 2^power; the
// number's exponent must be of a size the layouts reach.
int CompareWithBinary(const DecimalNumber& number, uint64_t significand, int power) {
    BigNumber given;
    for (char digit : number.digits) given.MultiplyAdd(10, static_cast<uint32_t>(digit - '0'));
    BigNumber binary(significand);
    const int exponent = static_cast<int>(number.exponent);
    if (exponent >= 0) {
        given.MultiplyByPowerOfTen(exponent);
    } else {
        binary.MultiplyByPowerOfTen(-exponent);
    }
    if (power >= 0) {
        binary.ShiftLeft(power);
    } else {
        given.ShiftLeft(-power);
    }
    return given.Compare(binary);
}

int BitLength(uint64_t value) {
    int length = 0;
    for (; value != 0; value >>= 1) ++length;
    return length;
}

// e8m0fnu: the nearest power of two by value, 1.5 x 2^k going up; below the smallest one, the
// smallest. A double places the number within a binade first (and settles what lies far out).
LayoutConversion ConvertPowerOfTwo(const BinaryFormat& format, const DecimalNumber& number) {
    LayoutConversion result;
    if (number.digits.empty() || number.negative) {
        result.bits = QuietNanBits(format, false);
        result.invalid = true;
        return result;
    }
    const FloatConversion nearest = ConvertDecimal(kDoubleFormat, number);
    if (nearest.overflow) return Overflow(format, false);
    const FloatFields fields = DecodeFloat(kDoubleFormat, nearest.bits);
    const int binade = fields.power + BitLength(fields.significand) - 1;
    if (fields.significand == 0 || (binade <= format.MinNormalExponent() &&
                                    CompareWithBinary(number, 1, format.MinNormalExponent()) < 0)) {
        result.bits = 0;
        result.underflow = result.inexact = true;
        return result;
    }
    const int power = CompareWithBinary(number, 3, binade - 1) >= 0 ? binade + 1 : binade;
    if (power > format.MaxExponent()) return Overflow(format, false);
    result.bits = static_cast<uint64_t>(power - format.MinNormalExponent());
    result.inexact = CompareWithBinary(number, 1, power) != 0;
    return result;
}

}  // namespace

void AppendLayoutConversionError(const BinaryFormat& format, const DecimalNumber& number, uint64_t bits,
                                 std::string* text) {
    const FloatFields stored = DecodeFloat(format, bits);
    if (IsNan(stored)) {
        *text += "nan";
        return;
    }
    // The given number's leading digit lies at 10^(top - 1): far past every layout's range, the
    // plain difference to a stored non-zero value would have about |top| digits.
    const int64_t top = static_cast<int64_t>(number.digits.size()) + number.exponent;
    if (IsFinite(stored) && stored.significand != 0 &&
        (top > kPlainErrorDigits || top < -kPlainErrorDigits)) {
        AppendExactValue(format, bits, text);
        *text += number.negative ? " + " : " - ";
        *text += number.digits;
        *text += 'e';
        *text += number.exactExponent.empty() ? std::to_string(number.exponent) : number.exactExponent;
        return;
    }
    AppendConversionError(format, number, bits, text);
}

LayoutConversion ConvertDecimalToLayout(const BinaryFormat& format, const DecimalNumber& number,
                                        RoundingMode mode) {
    if (format.kind == LayoutKind::kIeee) return FromFloatConversion(ConvertDecimal(format, number, mode));
    LayoutConversion result;
    if (number.kind == DecimalNumber::Kind::kNan) {
        result.noNan = !format.HasNan();
        result.bits = QuietNanBits(format, number.negative);
        return result;
    }
    if (number.kind == DecimalNumber::Kind::kInfinity) {
        result.bits = InfinityInLayout(format, number.negative);
        return result;
    }
    if (format.kind == LayoutKind::kPowerOfTwo) return ConvertPowerOfTwo(format, number);
    return ConvertWithTopBinade(format, number, mode);
}

}  // namespace cv
