#include "number/integer_rules.h"

#include "number/write_decimal.h"

namespace cv {

namespace {

constexpr int kMaxWidth = 64;

uint64_t WidthMask(int width) {
    return width >= kMaxWidth ? ~uint64_t{0} : (uint64_t{1} << width) - 1;
}

// The largest magnitude of the sign the layout holds.
uint64_t Limit(IntegerLayout layout, bool negative) {
    if (!layout.isSigned) return negative ? 0 : WidthMask(layout.width);
    return WidthMask(layout.width - 1) + (negative ? 1u : 0u);
}

uint64_t Stored(IntegerLayout layout, bool negative, uint64_t magnitude) {
    return (negative ? 0 - magnitude : magnitude) & WidthMask(layout.width);
}

int64_t SignedReading(IntegerLayout layout, uint64_t bits) {
    const int shift = kMaxWidth - layout.width;
    return static_cast<int64_t>(bits << shift) >> shift;
}

}  // namespace

IntegerConversion ConvertDecimalToInteger(IntegerLayout layout, const DecimalNumber& number, bool round,
                                          Rounding rounding) {
    IntegerConversion result;
    if (number.kind == DecimalNumber::Kind::kNan) {
        result.refusal = IntegerRefusal::kNan;
        return result;
    }
    const bool negative = number.negative;
    bool outOfRange = number.kind == DecimalNumber::Kind::kInfinity;
    const bool whole = outOfRange || number.exponent >= 0;
    uint64_t magnitude = 0;
    if (!outOfRange) {
        // The whole part's digits (the number's own, then zeros) and whether a fraction follows.
        const int64_t wholeDigits = static_cast<int64_t>(number.digits.size()) + number.exponent;
        if (!whole && !round) {
            result.refusal = IntegerRefusal::kNotWhole;
            return result;
        }
        outOfRange = wholeDigits > kMaxDecimalDigits;
        for (int64_t i = 0; !outOfRange && i < wholeDigits; ++i) {
            const uint64_t digit = i < static_cast<int64_t>(number.digits.size())
                                       ? static_cast<uint64_t>(number.digits[i] - '0')
                                       : 0u;
            outOfRange = magnitude > (~uint64_t{0} - digit) / 10;
            magnitude = magnitude * 10 + digit;
        }
        if (!whole && !outOfRange) {
            // The fraction's first digit decides half; anything after it (or a first digit other
            // than 0 and 5) lies below or above that half.
            const char first = wholeDigits >= 0 ? number.digits[static_cast<std::size_t>(wholeDigits)] : '0';
            const bool half = first >= '5';
            const bool below =
                half ? first > '5' || static_cast<int64_t>(number.digits.size()) > wholeDigits + 1 : true;
            result.flags.inexact = true;
            if (RoundsUp(rounding.mode, negative, half, below, (magnitude & 1u) != 0)) {
                outOfRange = magnitude == ~uint64_t{0};
                ++magnitude;
            }
        }
        outOfRange = outOfRange || magnitude > Limit(layout, negative);
    }
    if (outOfRange) {
        if (!rounding.saturate) {
            result.refusal = IntegerRefusal::kOutOfRange;
            return result;
        }
        result.flags.invalid = result.flags.saturated = true;
        result.flags.inexact = !whole;  // a fraction beyond the range is lost too
        magnitude = Limit(layout, negative);
    }
    result.bits = Stored(layout, negative && magnitude != 0, magnitude);
    return result;
}

void AppendIntegerConversionError(IntegerLayout layout, uint64_t bits, const DecimalNumber& number,
                                  std::string* text) {
    const bool negative = layout.isSigned && SignedReading(layout, bits) < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(SignedReading(layout, bits)) : bits;
    if (magnitude != 0 && LiesFarOut(number)) {
        std::string stored;
        if (negative) stored += '-';
        AppendDecimal(magnitude, &stored);
        AppendFarDifference(stored, number, text);
        return;
    }
    AppendBinaryMinusDecimal(magnitude, 0, number, text);
}

}  // namespace cv
