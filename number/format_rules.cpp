#include "number/format_rules.h"

#include <string>

#include "number/big_number.h"
#include "number/binary_float.h"

namespace cv {

namespace {

LayoutConversion FromFloatConversion(const FloatConversion& conversion) {
    LayoutConversion result;
    result.bits = conversion.bits;
    result.inexact = conversion.inexact;
    result.overflow = conversion.overflow;
    result.underflow = conversion.underflow;
    return result;
}

// What an infinity of the sign becomes in the layout: itself, else the NaN (of that sign where
// there are two), else (no NaN either) the largest finite value of that sign; saturation gives the
// largest finite value wherever an infinity or a NaN would stand.
void PlaceInfinity(const BinaryFormat& format, bool negative, bool saturate, LayoutConversion* result) {
    if (!format.HasNan()) {
        result->bits = LargestFiniteBits(format, negative);
    } else if (saturate) {
        result->bits = LargestFiniteBits(format, negative);
        result->saturated = true;
    } else {
        result->bits = format.HasInfinity() ? InfinityBits(format, negative) : QuietNanBits(format, negative);
    }
}

}  // namespace

LayoutConversion OverflowToLayout(const BinaryFormat& format, bool negative, Rounding rounding) {
    LayoutConversion result;
    if (OverflowGivesInfinity(rounding.mode, negative)) {
        PlaceInfinity(format, negative, rounding.saturate, &result);
    } else {
        result.bits = LargestFiniteBits(format, negative);
    }
    result.overflow = result.inexact = true;
    return result;
}

namespace {

LayoutConversion NotANumberOfPowers() {
    LayoutConversion result;
    result.bits = QuietNanBits(kE8M0FnuFormat, false);
    result.invalid = true;
    return result;
}

// A wide layout of three significant bits: rounding toward zero into it gives a value's binade, the
// two bits below its leading one and (inexact) whether anything lies further below, for any value
// e8m0fnu can tell apart from its ends.
constexpr BinaryFormat kBinadeProbeFormat{12, 2};

// The value's magnitude times 2^shift, rounded by the mode into an IEEE layout, with its sign:
// how each kind of exact value (a decimal, a rational) offers itself to the layout rules below.
// round(layout, shift, mode) -> FloatConversion.

// e8m0fnu: the powers of two by the mode, as rounding to a one-bit significand would give them
// (so that in both nearest modes 1.5 x 2^k goes up); below the smallest one, the smallest.
template <typename Round>
LayoutConversion ConvertPowerOfTwo(const BinaryFormat& format, Rounding rounding, const Round& round) {
    const FloatConversion probe = round(kBinadeProbeFormat, 0, RoundingMode::kZero);
    if (probe.overflow) return OverflowToLayout(format, false, rounding);
    const FloatFields fields = DecodeFloat(kBinadeProbeFormat, probe.bits);
    const int binade = fields.power + kBinadeProbeFormat.mantissaBits;
    LayoutConversion result;
    if (fields.floatClass != FloatClass::kNormal || binade < format.MinNormalExponent()) {
        result.bits = 0;
        result.underflow = result.inexact = true;
        return result;
    }
    const bool half = (fields.significand & 2u) != 0;
    const bool below = (fields.significand & 1u) != 0 || probe.inexact;
    const int power = binade + (RoundsUp(rounding.mode, false, half, below, true) ? 1 : 0);
    if (power > format.MaxExponent()) return OverflowToLayout(format, false, rounding);
    result.bits = static_cast<uint64_t>(power - format.MinNormalExponent());
    result.inexact = half || below;
    return result;
}

// fn, fnuz, finite: below the exponent field's all-ones value the patterns are those of the IEEE
// layout of the same widths, read one binade lower in fnuz (its bias is one larger), so the IEEE
// rounding (its subnormals included) carries over bit for bit. The all-ones exponent is one more
// binade on top: half the value, rounded in the IEEE layout's top binade, one exponent step up.
template <typename Round>
LayoutConversion ConvertWithTopBinade(const BinaryFormat& format, bool negative, Rounding rounding,
                                      const Round& round) {
    const BinaryFormat ieee{format.exponentBits, format.mantissaBits};
    const bool halved = format.Bias() != ieee.Bias();
    const FloatConversion below = round(ieee, halved ? 1 : 0, rounding.mode);
    if (!below.overflow) {
        LayoutConversion result = FromFloatConversion(below);
        if (result.bits == format.SignMask() && !format.HasNegativeZero()) result.bits = 0;
        return result;
    }
    const FloatConversion top = round(ieee, halved ? 0 : -1, rounding.mode);
    const uint64_t bits = top.bits + format.HiddenBit();
    if (top.overflow || (bits & ~format.SignMask()) > LargestFiniteBits(format, false)) {
        return OverflowToLayout(format, negative, rounding);
    }
    LayoutConversion result;
    result.bits = bits;
    result.inexact = top.inexact;
    return result;
}

// A finite value, zero included, in any layout.
template <typename Round>
LayoutConversion ConvertFinite(const BinaryFormat& format, bool negative, bool zero, Rounding rounding,
                               const Round& round) {
    if (format.kind == LayoutKind::kPowerOfTwo) {
        return zero || negative ? NotANumberOfPowers() : ConvertPowerOfTwo(format, rounding, round);
    }
    if (zero) {
        LayoutConversion result;
        result.bits = negative && format.HasNegativeZero() ? format.SignMask() : 0u;
        return result;
    }
    if (format.kind != LayoutKind::kIeee) return ConvertWithTopBinade(format, negative, rounding, round);
    LayoutConversion result = FromFloatConversion(round(format, 0, rounding.mode));
    if (rounding.saturate && DecodeFloat(format, result.bits).floatClass == FloatClass::kInfinity) {
        result.bits = LargestFiniteBits(format, negative);
        result.saturated = true;
    }
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

// Payload bits aligned at the top of the mantissa: cut or padded with zeros at the bottom.
uint64_t AlignedMantissa(uint64_t mantissa, int fromBits, int toBits) {
    return toBits >= fromBits ? mantissa << (toBits - fromBits) : mantissa >> (fromBits - toBits);
}

}  // namespace

void AppendLayoutConversionError(const BinaryFormat& format, const DecimalNumber& number, uint64_t bits,
                                 std::string* text) {
    const FloatFields stored = DecodeFloat(format, bits);
    if (IsNan(stored)) {
        *text += "nan";
        return;
    }
    if (IsFinite(stored) && stored.significand != 0 && LiesFarOut(number)) {
        std::string storedText;
        AppendExactValue(format, bits, &storedText);
        AppendFarDifference(storedText, number, text);
        return;
    }
    AppendConversionError(format, number, bits, text);
}

LayoutConversion ConvertDecimalToLayout(const BinaryFormat& format, const DecimalNumber& number,
                                        Rounding rounding) {
    if (number.kind == DecimalNumber::Kind::kNan) {
        LayoutConversion result;
        result.noNan = !format.HasNan();
        result.bits = QuietNanBits(format, number.negative);
        return result;
    }
    if (number.kind == DecimalNumber::Kind::kInfinity)
        return InfinityToLayout(format, number.negative, rounding);
    const auto round = [&number](const BinaryFormat& ieee, int shift, RoundingMode mode) {
        if (shift == 0) return ConvertDecimal(ieee, number, mode);
        return ConvertDecimal(ieee, shift > 0 ? Scaled(number, 2, 0) : Scaled(number, 5, -1), mode);
    };
    return ConvertFinite(format, number.negative, number.digits.empty(), rounding, round);
}

LayoutConversion ConvertRationalToLayout(const BinaryFormat& format, bool negative, BigNumber* num,
                                         BigNumber* den, int power, Rounding rounding) {
    // The layout rules may round twice (below and in the top binade): each rounding gets a copy.
    const auto round = [&](const BinaryFormat& ieee, int shift, RoundingMode mode) {
        BigNumber numerator = *num;
        BigNumber denominator = *den;
        return RoundRational(ieee, negative, &numerator, &denominator, power + shift, mode);
    };
    return ConvertFinite(format, negative, num->IsZero(), rounding, round);
}

LayoutConversion InfinityToLayout(const BinaryFormat& format, bool negative, Rounding rounding) {
    LayoutConversion result;
    if (format.kind == LayoutKind::kPowerOfTwo && negative) {  // no negative value to saturate to
        result.bits = QuietNanBits(format, false);
        return result;
    }
    PlaceInfinity(format, negative, rounding.saturate, &result);
    return result;
}

LayoutConversion ConvertBetweenLayouts(const BinaryFormat& target, const BinaryFormat& source, uint64_t bits,
                                       Rounding rounding) {
    const FloatFields fields = DecodeFloat(source, bits);
    if (fields.floatClass == FloatClass::kInfinity)
        return InfinityToLayout(target, fields.negative, rounding);
    if (IsNan(fields)) {
        LayoutConversion result;
        result.noNan = !target.HasNan();
        result.invalid = fields.floatClass == FloatClass::kSignalingNan;
        result.bits = QuietNanBits(target, fields.negative);
        if (target.NanHasPayload() && source.NanHasPayload()) {
            result.bits |= AlignedMantissa(fields.mantissa, source.mantissaBits, target.mantissaBits) &
                           target.MantissaMask();
        }
        return result;
    }
    BigNumber num(fields.significand);
    BigNumber den(1);
    return ConvertRationalToLayout(target, fields.negative, &num, &den, fields.power, rounding);
}

}  // namespace cv
