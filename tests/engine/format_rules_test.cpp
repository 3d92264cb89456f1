// The layouts without infinities: decimal numbers into them (by every rounding mode, saturating),
// conversions between layouts, integers rounded and saturated, their classes and neighbours, and
// every pattern of every layout of 8 bits or fewer read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "number/binary_float.h"
#include "number/float_parse.h"
#include "number/format_rules.h"
#include "number/integer_rules.h"

namespace {

using cv::BinaryFormat;
using cv::LayoutKind;

struct RuleCase {
    BinaryFormat format;
    const char* input;
    uint64_t bits;
    const char* flags;  // "" when exact; "refused" for a NaN into a layout without one
};

const RuleCase kRules[] = {
    {cv::kE4M3FnFormat, "0", 0x00, ""},
    {cv::kE4M3FnFormat, "-0", 0x80, ""},
    {cv::kE4M3FnFormat, "0.001953125", 0x01, ""},  // smallest subnormal
    {cv::kE4M3FnFormat, "0.015625", 0x08, ""},     // smallest normal
    {cv::kE4M3FnFormat, "1", 0x38, ""},
    {cv::kE4M3FnFormat, "256", 0x78, ""},  // the exponent all ones is a binade of numbers
    {cv::kE4M3FnFormat, "448", 0x7E, ""},
    {cv::kE4M3FnFormat, "464", 0x7E, "inexact"},  // the tie goes to the even 448
    {cv::kE4M3FnFormat, "465", 0x7F, "inexact overflow"},
    {cv::kE4M3FnFormat, "-465", 0xFF, "inexact overflow"},
    {cv::kE4M3FnFormat, "1e400", 0x7F, "inexact overflow"},
    {cv::kE4M3FnFormat, "nan", 0x7F, ""},
    {cv::kE4M3FnFormat, "-nan", 0xFF, ""},
    {cv::kE4M3FnFormat, "inf", 0x7F, ""},
    {cv::kE4M3FnFormat, "-inf", 0xFF, ""},
    {cv::kE4M3FnuzFormat, "0", 0x00, ""},
    {cv::kE4M3FnuzFormat, "-0", 0x00, ""},
    {cv::kE4M3FnuzFormat, "0.0009765625", 0x01, ""},
    {cv::kE4M3FnuzFormat, "0.0078125", 0x08, ""},
    {cv::kE4M3FnuzFormat, "1", 0x40, ""},
    {cv::kE4M3FnuzFormat, "240", 0x7F, ""},
    {cv::kE4M3FnuzFormat, "-240", 0xFF, ""},
    {cv::kE4M3FnuzFormat, "248", 0x80, "inexact overflow"},  // the tie goes to the odd-free 256
    {cv::kE4M3FnuzFormat, "-1e-9", 0x00, "inexact underflow"},
    {cv::kE4M3FnuzFormat, "nan", 0x80, ""},
    {cv::kE4M3FnuzFormat, "-nan", 0x80, ""},
    {cv::kE4M3FnuzFormat, "-inf", 0x80, ""},
    {cv::kE5M2Format, "0.0000152587890625", 0x01, ""},
    {cv::kE5M2Format, "1", 0x3C, ""},
    {cv::kE5M2Format, "57344", 0x7B, ""},
    {cv::kE5M2Format, "61439", 0x7B, "inexact"},
    {cv::kE5M2Format, "61440", 0x7C, "inexact overflow"},
    {cv::kE5M2Format, "nan", 0x7E, ""},
    {cv::kE5M2FnuzFormat, "0.00000762939453125", 0x01, ""},
    {cv::kE5M2FnuzFormat, "1", 0x40, ""},
    {cv::kE5M2FnuzFormat, "57344", 0x7F, ""},
    {cv::kE5M2FnuzFormat, "61440", 0x80, "inexact overflow"},
    {cv::kE5M2FnuzFormat, "-0.000001", 0x00, "inexact underflow"},
    {cv::kE2M3FnFormat, "0.125", 0x01, ""},
    {cv::kE2M3FnFormat, "1", 0x08, ""},
    {cv::kE2M3FnFormat, "7.5", 0x1F, ""},
    {cv::kE2M3FnFormat, "7.7", 0x1F, "inexact"},
    {cv::kE2M3FnFormat, "7.75", 0x1F, "inexact overflow"},
    {cv::kE2M3FnFormat, "-0", 0x20, ""},
    {cv::kE2M3FnFormat, "-inf", 0x3F, ""},
    {cv::kE2M3FnFormat, "nan", 0, "refused"},
    {cv::kE3M2FnFormat, "0.0625", 0x01, ""},
    {cv::kE3M2FnFormat, "0.25", 0x04, ""},
    {cv::kE3M2FnFormat, "1", 0x0C, ""},
    {cv::kE3M2FnFormat, "28", 0x1F, ""},
    {cv::kE3M2FnFormat, "30", 0x1F, "inexact overflow"},
    {cv::kE2M1FnFormat, "0.5", 0x1, ""},
    {cv::kE2M1FnFormat, "1", 0x2, ""},
    {cv::kE2M1FnFormat, "5", 0x6, "inexact"},  // the tie goes to the even 4
    {cv::kE2M1FnFormat, "6", 0x7, ""},
    {cv::kE2M1FnFormat, "7", 0x7, "inexact overflow"},
    {cv::kE2M1FnFormat, "-7", 0xF, "inexact overflow"},
    {cv::kE2M1FnFormat, "-0", 0x8, ""},
    {cv::kE2M1FnFormat, "inf", 0x7, ""},
    {cv::kE2M1FnFormat, "-nan", 0, "refused"},
    {cv::kTensorFloatFormat, "1", 0x1FC00, ""},
    {cv::kTensorFloatFormat, "1e39", 0x3FC00, "inexact overflow"},
    {cv::kE8M0FnuFormat, "1", 0x7F, ""},
    {cv::kE8M0FnuFormat, "1.5", 0x80, "inexact"},  // a tie goes up
    {cv::kE8M0FnuFormat, "1.4999", 0x7F, "inexact"},
    {cv::kE8M0FnuFormat, "3", 0x81, "inexact"},
    {cv::kE8M0FnuFormat, "0", 0xFF, "invalid"},
    {cv::kE8M0FnuFormat, "-0", 0xFF, "invalid"},
    {cv::kE8M0FnuFormat, "-1", 0xFF, "invalid"},
    {cv::kE8M0FnuFormat, "1e-400", 0x00, "inexact underflow"},
    {cv::kE8M0FnuFormat, "170141183460469231731687303715884105728", 0xFE, ""},  // 2^127
    {cv::kE8M0FnuFormat, "255211775190703847597530955573826158591", 0xFE, "inexact"},
    {cv::kE8M0FnuFormat, "255211775190703847597530955573826158592", 0xFF, "inexact overflow"},  // 1.5 x 2^127
    {cv::kE8M0FnuFormat, "nan", 0xFF, ""},
    {cv::kE8M0FnuFormat, "inf", 0xFF, ""},
    {cv::kE8M0FnuFormat, "-inf", 0xFF, ""},
};

std::string Flags(const cv::LayoutConversion& conversion) {
    if (conversion.noNan) return "refused";
    std::string flags;
    if (conversion.inexact) flags += "inexact ";
    if (conversion.overflow) flags += "overflow ";
    if (conversion.underflow) flags += "underflow ";
    if (conversion.invalid) flags += "invalid ";
    if (conversion.saturated) flags += "saturated ";
    if (!flags.empty()) flags.pop_back();
    return flags;
}

cv::LayoutConversion Convert(const BinaryFormat& format, const std::string& text) {
    cv::DecimalNumber number;
    EXPECT_TRUE(cv::ParseDecimal(text.data(), text.size(), &number)) << text;
    return cv::ConvertDecimalToLayout(format, number);
}

TEST(FormatRules, RoundsTheTableExactly) {
    for (const RuleCase& c : kRules) {
        SCOPED_TRACE(c.input);
        const cv::LayoutConversion conversion = Convert(c.format, c.input);
        EXPECT_EQ(Flags(conversion), c.flags);
        if (!conversion.noNan) {
            EXPECT_EQ(conversion.bits, c.bits);
        }
    }
}

std::string ExactDouble(uint64_t bits) {
    std::string text;
    cv::AppendExactValue(cv::kDoubleFormat, bits, &text);
    return text;
}

TEST(FormatRules, PowerOfTwoBelowTheSmallestGivesTheSmallest) {
    const uint64_t twoToMinus130 = uint64_t{1023 - 130} << 52;
    const uint64_t twoToMinus127 = uint64_t{1023 - 127} << 52;
    EXPECT_EQ(Flags(Convert(cv::kE8M0FnuFormat, ExactDouble(twoToMinus130))), "inexact underflow");
    EXPECT_EQ(Convert(cv::kE8M0FnuFormat, ExactDouble(twoToMinus130)).bits, 0x00u);
    EXPECT_EQ(Flags(Convert(cv::kE8M0FnuFormat, ExactDouble(twoToMinus127))), "");
    // Just below 2^-127: the nearest power, yet below the smallest, so an underflow.
    EXPECT_EQ(Flags(Convert(cv::kE8M0FnuFormat, ExactDouble(twoToMinus127 - 1))), "inexact underflow");
    EXPECT_EQ(Convert(cv::kE8M0FnuFormat, ExactDouble(twoToMinus127 + 1)).bits, 0x00u);
}

struct ErrorCase {
    BinaryFormat format;
    const char* input;
    const char* error;
};

const ErrorCase kErrors[] = {
    {cv::kE2M1FnFormat, "7", "-1"},
    {cv::kE2M1FnFormat, "-1e3", "994"},
    {cv::kE4M3FnFormat, "465", "nan"},
    {cv::kE8M0FnuFormat, "0", "nan"},
    {cv::kE8M0FnuFormat, "1.5", "0.5"},
    // The plain difference would have a trillion digits.
    {cv::kE2M1FnFormat, "1e999999999999", "6 - 1e999999999999"},
    {cv::kE2M1FnFormat, "-25e99999999999999999", "-6 + 25e99999999999999999"},
    {cv::kE8M0FnuFormat, "5e-900000597",
     "0."
     "0000000000000000000000000000000000000058774717541114375398436826861112283890933277838604376075437585313"
     "920"
     "862972736358642578125 - 5e-900000597"},
};

TEST(FormatRules, OverflowErrorOfAFiniteLayoutStaysShort) {
    for (const ErrorCase& c : kErrors) {
        SCOPED_TRACE(c.input);
        cv::DecimalNumber number;
        ASSERT_TRUE(cv::ParseDecimal(c.input, std::strlen(c.input), &number));
        const cv::LayoutConversion conversion = cv::ConvertDecimalToLayout(c.format, number);
        std::string error;
        cv::AppendLayoutConversionError(c.format, number, conversion.bits, &error);
        EXPECT_EQ(error, c.error);
    }
}

struct NeighbourCase {
    BinaryFormat format;
    uint64_t bits;
    cv::FloatClass floatClass;
    const char* shortest;
    const char* previous;  // nullptr: none
    const char* next;      // nullptr: none
};

const NeighbourCase kNeighbours[] = {
    {cv::kE4M3FnFormat, 0x7E, cv::FloatClass::kNormal, "450", "416", nullptr},
    {cv::kE4M3FnFormat, 0xFE, cv::FloatClass::kNormal, "-450", nullptr, "-416"},
    {cv::kE4M3FnFormat, 0x7F, cv::FloatClass::kNan, "nan", "", ""},
    {cv::kE4M3FnFormat, 0xFF, cv::FloatClass::kNan, "-nan", "", ""},
    {cv::kE4M3FnFormat, 0x80, cv::FloatClass::kZero, "-0", "-0.001953125", "0.001953125"},
    {cv::kE4M3FnuzFormat, 0x80, cv::FloatClass::kNan, "nan", "", ""},
    {cv::kE4M3FnuzFormat, 0x00, cv::FloatClass::kZero, "0", "-0.0009765625", "0.0009765625"},
    {cv::kE4M3FnuzFormat, 0x81, cv::FloatClass::kSubnormal, "-0.001", "-0.001953125", "0"},
    {cv::kE4M3FnuzFormat, 0x01, cv::FloatClass::kSubnormal, "0.001", "0", "0.001953125"},
    {cv::kE4M3FnuzFormat, 0x7F, cv::FloatClass::kNormal, "240", "224", nullptr},
    {cv::kE4M3FnuzFormat, 0xFF, cv::FloatClass::kNormal, "-240", nullptr, "-224"},
    {cv::kE5M2Format, 0x7B, cv::FloatClass::kNormal, "60000", "49152", "inf"},
    {cv::kE2M1FnFormat, 0x7, cv::FloatClass::kNormal, "6", "4", nullptr},
    {cv::kE2M1FnFormat, 0xF, cv::FloatClass::kNormal, "-6", nullptr, "-4"},
    {cv::kE2M1FnFormat, 0x8, cv::FloatClass::kZero, "-0", "-0.5", "0.5"},
    // A finite layout's largest magnitude: every number past it reads back to it (saturation), so
    // its shortest text was too long when the search stopped at the midpoint above.
    {cv::kE3M2FnFormat, 0x1F, cv::FloatClass::kNormal, "30", "24", nullptr},
    {cv::kE2M3FnFormat, 0x3F, cv::FloatClass::kNormal, "-8", nullptr, "-7"},
    {cv::BinaryFormat{5, 10, cv::LayoutKind::kAllFinite}, 0x7FFF, cv::FloatClass::kNormal, "200000", "130944",
     nullptr},
    {cv::kE8M0FnuFormat, 0x7F, cv::FloatClass::kNormal, "1", "0.5", "2"},
    {cv::kE8M0FnuFormat, 0x00, cv::FloatClass::kNormal, "6e-39", nullptr,
     "0."
     "0000000000000000000000000000000000000117549435082228750796873653722224567781866555677208752150875170627"
     "84"
     "172594547271728515625"},
    {cv::kE8M0FnuFormat, 0xFE, cv::FloatClass::kNormal, "2e38", "85070591730234615865843651857942052864",
     nullptr},
    {cv::kE8M0FnuFormat, 0xFF, cv::FloatClass::kNan, "nan", "", ""},
};

TEST(FormatRules, ClassifiesAndFindsTheNeighbours) {
    for (const NeighbourCase& c : kNeighbours) {
        SCOPED_TRACE(c.shortest);
        EXPECT_EQ(static_cast<int>(cv::DecodeFloat(c.format, c.bits).floatClass),
                  static_cast<int>(c.floatClass));
        std::string shortest;
        cv::AppendShortest(c.format, c.bits, &shortest);
        EXPECT_EQ(shortest, c.shortest);
        if (c.previous != nullptr && *c.previous == '\0') continue;  // a NaN
        const uint64_t previous = cv::NextDown(c.format, c.bits);
        const uint64_t next = cv::NextUp(c.format, c.bits);
        std::string text;
        if (c.previous == nullptr) {
            EXPECT_EQ(previous, c.bits);
        } else {
            cv::AppendExactValue(c.format, previous, &text);
            EXPECT_EQ(text, c.previous);
        }
        text.clear();
        if (c.next == nullptr) {
            EXPECT_EQ(next, c.bits);
        } else {
            cv::AppendExactValue(c.format, next, &text);
            EXPECT_EQ(text, c.next);
        }
    }
}

std::vector<BinaryFormat> LayoutsOfAtMostEightBits() {
    std::vector<BinaryFormat> layouts = {cv::kE8M0FnuFormat};
    const LayoutKind kinds[] = {LayoutKind::kIeee, LayoutKind::kFiniteNan, LayoutKind::kUnsignedZero,
                                LayoutKind::kAllFinite};
    for (LayoutKind kind : kinds) {
        for (int e = 2; e <= 6; ++e) {
            for (int m = 1; 1 + e + m <= 8; ++m) layouts.push_back(BinaryFormat{e, m, kind});
        }
    }
    return layouts;
}

// Every pattern's exact value reads back exactly to it, and its shortest text to it too (a NaN's
// "nan" or "-nan" as well; IEEE NaNs with a payload have no decimal text).
TEST(FormatRules, EveryPatternOfEightBitsOrFewerReadsBack) {
    for (const BinaryFormat& format : LayoutsOfAtMostEightBits()) {
        for (uint64_t bits = 0; bits < (uint64_t{1} << format.TotalBits()); ++bits) {
            SCOPED_TRACE(std::to_string(format.exponentBits) + ":" + std::to_string(format.mantissaBits) +
                         ":" + std::to_string(static_cast<int>(format.kind)) + " bits " +
                         std::to_string(bits));
            const cv::FloatFields fields = cv::DecodeFloat(format, bits);
            std::string shortest;
            cv::AppendShortest(format, bits, &shortest);
            if (shortest.compare(0, 2, "0x") == 0) continue;
            EXPECT_EQ(Convert(format, shortest).bits, bits) << shortest;
            if (!cv::IsFinite(fields)) continue;
            std::string exact;
            cv::AppendExactValue(format, bits, &exact);
            const cv::LayoutConversion conversion = Convert(format, exact);
            EXPECT_EQ(conversion.bits, bits) << exact;
            EXPECT_EQ(Flags(conversion), "") << exact;
        }
    }
}

// A reference for rounding written with doubles (every value of these layouts, and every midpoint
// between two of them, is exact in a double): the positive values in order; each midpoint, and the
// doubles just below and above it, must round to the neighbour the rules name; past the largest
// value, half its spacing decides the overflow. Negative numbers mirror the positive ones.
struct Expected {
    double value;
    uint64_t bits;
};

uint64_t Mirrored(const BinaryFormat& format, uint64_t bits) {
    if (bits == 0 && !format.HasNegativeZero()) return 0;
    return bits | format.SignMask();
}

void CheckRounding(const BinaryFormat& format, double value, uint64_t bits) {
    uint64_t doubleBits = 0;
    std::memcpy(&doubleBits, &value, sizeof value);
    std::string text;
    cv::AppendExactValue(cv::kDoubleFormat, doubleBits, &text);
    EXPECT_EQ(Convert(format, text).bits, bits) << text;
    if (!format.HasSign()) return;
    EXPECT_EQ(Convert(format, "-" + text).bits, Mirrored(format, bits)) << "-" << text;
}

TEST(FormatRules, RoundsLikeTheReferenceAtEveryMidpoint) {
    const double kInfinity = std::numeric_limits<double>::infinity();
    for (const BinaryFormat& format : LayoutsOfAtMostEightBits()) {
        SCOPED_TRACE(std::to_string(format.exponentBits) + ":" + std::to_string(format.mantissaBits) + ":" +
                     std::to_string(static_cast<int>(format.kind)));
        std::vector<Expected> values;
        for (uint64_t bits = 0; bits < (uint64_t{1} << format.TotalBits()); ++bits) {
            const cv::FloatFields fields = cv::DecodeFloat(format, bits);
            if (!cv::IsFinite(fields) || fields.negative) continue;
            values.push_back({std::ldexp(static_cast<double>(fields.significand), fields.power), bits});
        }
        std::sort(values.begin(), values.end(),
                  [](const Expected& a, const Expected& b) { return a.value < b.value; });
        const bool tiesUp = format.kind == LayoutKind::kPowerOfTwo;
        for (std::size_t i = 0; i + 1 < values.size(); ++i) {
            const Expected& low = values[i];
            const Expected& high = values[i + 1];
            const double middle = (low.value + high.value) / 2;
            CheckRounding(format, std::nextafter(middle, 0.0), low.bits);
            CheckRounding(format, middle, tiesUp || (low.bits & 1) != 0 ? high.bits : low.bits);
            CheckRounding(format, std::nextafter(middle, kInfinity), high.bits);
        }
        const Expected& largest = values.back();
        const uint64_t overflowBits = format.HasInfinity() ? cv::InfinityBits(format, false)
                                      : format.HasNan()    ? cv::QuietNanBits(format, false)
                                                           : largest.bits;
        const double spacing = std::ldexp(1.0, cv::DecodeFloat(format, largest.bits).power);
        const double threshold = largest.value + spacing / 2;
        CheckRounding(format, std::nextafter(threshold, 0.0), largest.bits);
        CheckRounding(format, threshold, !tiesUp && (largest.bits & 1) == 0 ? largest.bits : overflowBits);
        CheckRounding(format, std::nextafter(threshold, kInfinity), overflowBits);
    }
}

}  // namespace

struct ModeRuleCase {
    BinaryFormat format;
    const char* input;
    cv::RoundingMode mode;
    uint64_t bits;
    const char* flags;
    bool saturate = false;
};

const ModeRuleCase kModeRules[] = {
    // Rounded toward zero 465 is 448, not above the largest finite value: no overflow.
    {cv::kE4M3FnFormat, "465", cv::RoundingMode::kZero, 0x7E, "inexact"},
    {cv::kE4M3FnFormat, "1000", cv::RoundingMode::kZero, 0x7E, "inexact overflow"},
    {cv::kE4M3FnFormat, "450", cv::RoundingMode::kUp, 0x7F, "inexact overflow"},
    {cv::kE4M3FnFormat, "-450", cv::RoundingMode::kUp, 0xFE, "inexact"},
    {cv::kE4M3FnFormat, "-450", cv::RoundingMode::kDown, 0xFF, "inexact overflow"},
    {cv::kE4M3FnFormat, "464", cv::RoundingMode::kAway, 0x7F, "inexact overflow"},
    {cv::kE4M3FnFormat, "1.0625", cv::RoundingMode::kAway, 0x39, "inexact"},  // a tie
    {cv::kE4M3FnFormat, "1.0625", cv::RoundingMode::kEven, 0x38, "inexact"},
    {cv::kE4M3FnFormat, "1.1", cv::RoundingMode::kDown, 0x38, "inexact"},
    {cv::kE4M3FnFormat, "-1.1", cv::RoundingMode::kDown, 0xB9, "inexact"},
    {cv::kE2M1FnFormat, "7", cv::RoundingMode::kAway, 0x7, "inexact overflow"},
    {cv::kE2M1FnFormat, "5", cv::RoundingMode::kUp, 0x7, "inexact"},
    {cv::kE2M1FnFormat, "-5", cv::RoundingMode::kZero, 0xE, "inexact"},
    {cv::kE4M3FnuzFormat, "-1e-9", cv::RoundingMode::kZero, 0x00, "inexact underflow"},
    {cv::kE4M3FnuzFormat, "-1e-9", cv::RoundingMode::kDown, 0x81, "inexact underflow"},
    {cv::kE4M3FnuzFormat, "241", cv::RoundingMode::kZero, 0x7F, "inexact"},
    {cv::kE4M3FnuzFormat, "241", cv::RoundingMode::kUp, 0x80, "inexact overflow"},
    {cv::kE5M2Format, "61440", cv::RoundingMode::kEven, 0x7C, "inexact overflow"},
    // e8m0fnu rounds among its powers of two as a one-bit significand would.
    {cv::kE8M0FnuFormat, "1.5", cv::RoundingMode::kZero, 0x7F, "inexact"},
    {cv::kE8M0FnuFormat, "1.1", cv::RoundingMode::kUp, 0x80, "inexact"},
    {cv::kE8M0FnuFormat, "1.9", cv::RoundingMode::kDown, 0x7F, "inexact"},
    {cv::kE8M0FnuFormat, "7.3e-40", cv::RoundingMode::kUp, 0x00, "inexact underflow"},  // about 2^-130
    {cv::kE8M0FnuFormat, "3e38", cv::RoundingMode::kZero, 0xFE, "inexact"},
    {cv::kE8M0FnuFormat, "4e38", cv::RoundingMode::kZero, 0xFE, "inexact overflow"},
    // Saturation: the largest finite value wherever an infinity (or its NaN) was due.
    {cv::kE4M3FnFormat, "465", cv::RoundingMode::kEven, 0x7E, "inexact overflow saturated", true},
    {cv::kE4M3FnFormat, "-inf", cv::RoundingMode::kEven, 0xFE, "saturated", true},
    {cv::kE4M3FnFormat, "nan", cv::RoundingMode::kEven, 0x7F, "", true},
    {cv::kHalfFormat, "1e6", cv::RoundingMode::kAway, 0x7BFF, "inexact overflow saturated", true},
    {cv::kHalfFormat, "-inf", cv::RoundingMode::kEven, 0xFBFF, "saturated", true},
    {cv::kE8M0FnuFormat, "1e50", cv::RoundingMode::kUp, 0xFE, "inexact overflow saturated", true},
    {cv::kE8M0FnuFormat, "inf", cv::RoundingMode::kEven, 0xFE, "saturated", true},
    {cv::kE8M0FnuFormat, "-inf", cv::RoundingMode::kEven, 0xFF, "", true},
    {cv::kE2M1FnFormat, "7", cv::RoundingMode::kEven, 0x7, "inexact overflow", true},  // already finite
};

TEST(FormatRules, RoundsByEveryMode) {
    for (const ModeRuleCase& c : kModeRules) {
        SCOPED_TRACE(std::string(c.input) + " mode " + std::to_string(static_cast<int>(c.mode)));
        cv::DecimalNumber number;
        ASSERT_TRUE(cv::ParseDecimal(c.input, std::strlen(c.input), &number));
        const cv::LayoutConversion conversion =
            cv::ConvertDecimalToLayout(c.format, number, cv::Rounding(c.mode, c.saturate));
        EXPECT_EQ(conversion.bits, c.bits);
        EXPECT_EQ(Flags(conversion), c.flags);
    }
}

struct BetweenCase {
    BinaryFormat target;
    BinaryFormat source;
    uint64_t sourceBits;
    uint64_t bits;
    const char* flags;
};

// NaNs keep their sign and payload, aligned at the top of the mantissa; a signalling one is
// quieted and raises invalid.
const BetweenCase kBetween[] = {
    {cv::kBrainFormat, cv::kSingleFormat, 0x3DCCCCCD, 0x3DCD, "inexact"},
    {cv::kHalfFormat, cv::kDoubleFormat, 0x7FF4000000000001, 0x7F00, "invalid"},
    {cv::kDoubleFormat, cv::kSingleFormat, 0x7FC00001, 0x7FF8000020000000, ""},
    {cv::kDoubleFormat, cv::kSingleFormat, 0xFF800001, 0xFFF8000020000000, "invalid"},
    {cv::kSingleFormat, cv::kE4M3FnFormat, 0xFF, 0xFFC00000, ""},
    {cv::kE4M3FnuzFormat, cv::kSingleFormat, 0x7FC00000, 0x80, ""},
    {cv::kE2M1FnFormat, cv::kSingleFormat, 0x7FC00000, 0, "refused"},
    {cv::kE4M3FnFormat, cv::kSingleFormat, 0xFF800000, 0xFF, ""},
    {cv::kSingleFormat, cv::kE8M0FnuFormat, 0x00, 0x00400000, ""},  // 2^-127, a subnormal
    {cv::kE4M3FnFormat, cv::kHalfFormat, 0x8001, 0x80, "inexact underflow"},
};

TEST(FormatRules, ConvertsBetweenLayouts) {
    for (const BetweenCase& c : kBetween) {
        SCOPED_TRACE(std::to_string(c.sourceBits));
        const cv::LayoutConversion conversion = cv::ConvertBetweenLayouts(c.target, c.source, c.sourceBits);
        EXPECT_EQ(Flags(conversion), c.flags);
        if (!conversion.noNan) {
            EXPECT_EQ(conversion.bits, c.bits);
        }
    }
}

struct IntegerCase {
    cv::IntegerLayout layout;
    const char* input;
    bool round;
    cv::Rounding rounding;
    uint64_t bits;
    const char* flags;  // or "not whole", "out of range", "nan" for a refusal
};

constexpr cv::IntegerLayout kI8{true, 8};
constexpr cv::IntegerLayout kU8{false, 8};
constexpr cv::IntegerLayout kI64{true, 64};

const IntegerCase kIntegers[] = {
    {kI8, "2.5", false, cv::RoundingMode::kEven, 0, "not whole"},
    {kI8, "2.5", true, cv::RoundingMode::kEven, 0x02, "inexact"},
    {kI8, "2.5", true, cv::RoundingMode::kAway, 0x03, "inexact"},
    {kI8, "-2.5", true, cv::RoundingMode::kDown, 0xFD, "inexact"},
    {kI8, "-2.9", true, cv::RoundingMode::kZero, 0xFE, "inexact"},
    {kI8, "0.05", true, cv::RoundingMode::kUp, 0x01, "inexact"},
    {kI8, "127.5", true, cv::RoundingMode::kEven, 0, "out of range"},
    {kI8, "127.5", true, cv::Rounding(cv::RoundingMode::kEven, true), 0x7F, "inexact invalid saturated"},
    {kI8, "-1e300", false, cv::Rounding(cv::RoundingMode::kEven, true), 0x80, "invalid saturated"},
    {kU8, "-0.3", true, cv::RoundingMode::kUp, 0x00, "inexact"},
    {kU8, "-1", false, cv::Rounding(cv::RoundingMode::kEven, true), 0x00, "invalid saturated"},
    {kU8, "inf", false, cv::Rounding(cv::RoundingMode::kEven, true), 0xFF, "invalid saturated"},
    {kU8, "nan", true, cv::Rounding(cv::RoundingMode::kEven, true), 0, "nan"},
    {kI64, "9223372036854775807.5", true, cv::RoundingMode::kEven, 0, "out of range"},
    {kI64, "-9223372036854775808.5", true, cv::RoundingMode::kZero, 0x8000000000000000, "inexact"},
    // Saturating a fraction past the last digit the whole part can hold lost inexact.
    {kI64, "29718093101215819638.5", true, cv::Rounding(cv::RoundingMode::kZero, true), 0x7FFFFFFFFFFFFFFF,
     "inexact invalid saturated"},
};

TEST(IntegerRules, RoundsAndSaturatesTheTable) {
    for (const IntegerCase& c : kIntegers) {
        SCOPED_TRACE(c.input);
        cv::DecimalNumber number;
        ASSERT_TRUE(cv::ParseDecimal(c.input, std::strlen(c.input), &number));
        const cv::IntegerConversion conversion =
            cv::ConvertDecimalToInteger(c.layout, number, c.round, c.rounding);
        switch (conversion.refusal) {
            case cv::IntegerRefusal::kNotWhole: EXPECT_STREQ(c.flags, "not whole"); break;
            case cv::IntegerRefusal::kOutOfRange: EXPECT_STREQ(c.flags, "out of range"); break;
            case cv::IntegerRefusal::kNan: EXPECT_STREQ(c.flags, "nan"); break;
            case cv::IntegerRefusal::kNone:
                EXPECT_EQ(Flags(conversion.flags), c.flags);
                EXPECT_EQ(conversion.bits, c.bits);
                break;
        }
    }
}
