// Decimal numbers into the small layouts by every rounding mode, against a reference written here
// from the layouts' rules alone: every finite value of the target, decoded from its own bias and NaN
// rules, sorted as exact dyadics m * 2^e; a finite f32 or f64 source is a dyadic too, so its
// bracketing pair and their midpoint are compared exactly in 64-bit integers, and the mode, the
// overflow rule, after-rounding tininess, fnuz's +0 and e8m0fnu's powers of two decide the result.
// The path under test is the one a user's text takes: the source's exact decimal, parsed, converted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "number/binary_float.h"
#include "number/float_parse.h"
#include "number/format_rules.h"

namespace {

using cv::BinaryFormat;
using cv::LayoutKind;
using cv::RoundingMode;

constexpr int kValuesPerLayout = 10000;

// value = significand * 2^power; a zero significand is zero.
struct Dyadic {
    uint64_t significand = 0;
    int power = 0;
};

int BitLength(uint64_t value) {
    int length = 0;
    for (; value != 0; value >>= 1) ++length;
    return length;
}

int Compare(const Dyadic& a, const Dyadic& b) {
    if (a.significand == 0 || b.significand == 0) {
        return static_cast<int>(a.significand != 0) - static_cast<int>(b.significand != 0);
    }
    const int aTop = a.power + BitLength(a.significand);
    const int bTop = b.power + BitLength(b.significand);
    if (aTop != bTop) return aTop < bTop ? -1 : 1;
    const uint64_t aAligned = a.significand << (64 - BitLength(a.significand));
    const uint64_t bAligned = b.significand << (64 - BitLength(b.significand));
    return aAligned < bAligned ? -1 : aAligned > bAligned ? 1 : 0;
}

int Bias(const BinaryFormat& f) {
    return f.kind == LayoutKind::kUnsignedZero ? 1 << (f.exponentBits - 1) : (1 << (f.exponentBits - 1)) - 1;
}

// The magnitude of a finite pattern of the positive half (IEEE rules for the sources), or false.
bool DecodeMagnitudeRule(const BinaryFormat& f, uint64_t bits, Dyadic* value) {
    const uint64_t allOnes = (uint64_t{1} << f.exponentBits) - 1;
    const uint64_t exponent = bits >> f.mantissaBits;
    const uint64_t mantissa = bits & ((uint64_t{1} << f.mantissaBits) - 1);
    const int lowest = 1 - Bias(f) - f.mantissaBits;
    if (f.kind == LayoutKind::kPowerOfTwo) {
        *value = {1, static_cast<int>(exponent) - Bias(f)};
        return exponent != allOnes;
    }
    if (exponent == allOnes && f.kind == LayoutKind::kIeee) return false;
    if (exponent == allOnes && mantissa + 1 == uint64_t{1} << f.mantissaBits &&
        f.kind == LayoutKind::kFiniteNan)
        return false;
    *value = exponent == 0
                 ? Dyadic{mantissa, lowest}
                 : Dyadic{mantissa | uint64_t{1} << f.mantissaBits, lowest + static_cast<int>(exponent) - 1};
    return true;
}

// An IEEE source pattern of the value, low bits beyond the source's precision dropped; its binade
// must lie within the source's range.
uint64_t Encode(const BinaryFormat& f, Dyadic value) {
    if (value.significand == 0) return 0;
    const int length = BitLength(value.significand);
    const int top = value.power + length - 1;
    const int shift =
        top >= 1 - Bias(f) ? f.mantissaBits + 1 - length : value.power - (1 - Bias(f) - f.mantissaBits);
    const uint64_t significand = shift >= 0 ? value.significand << shift : value.significand >> -shift;
    if (top < 1 - Bias(f)) return significand;
    return static_cast<uint64_t>(top + Bias(f)) << f.mantissaBits |
           (significand & ((uint64_t{1} << f.mantissaBits) - 1));
}

// The mode as it acts on the magnitude.
enum class MagnitudeRule { kNearestEven, kNearestAway, kTruncate, kIncrease };

MagnitudeRule OnMagnitude(RoundingMode mode, bool negative) {
    switch (mode) {
        case RoundingMode::kEven: return MagnitudeRule::kNearestEven;
        case RoundingMode::kAway: return MagnitudeRule::kNearestAway;
        case RoundingMode::kZero: return MagnitudeRule::kTruncate;
        case RoundingMode::kUp: return negative ? MagnitudeRule::kTruncate : MagnitudeRule::kIncrease;
        case RoundingMode::kDown: return negative ? MagnitudeRule::kIncrease : MagnitudeRule::kTruncate;
    }
    return MagnitudeRule::kNearestEven;
}

// Rounded to `precision` significant bits with an unbounded exponent.
Dyadic RoundToPrecision(Dyadic x, int precision, MagnitudeRule rule) {
    const int shift = BitLength(x.significand) - precision;
    if (shift <= 0) return x;
    const uint64_t kept = x.significand >> shift;
    const uint64_t rest = x.significand & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    const bool up = rule == MagnitudeRule::kIncrease      ? rest != 0
                    : rule == MagnitudeRule::kNearestAway ? rest >= half
                    : rule == MagnitudeRule::kNearestEven ? rest > half || (rest == half && (kept & 1) != 0)
                                                          : false;
    return {kept + (up ? 1 : 0), x.power + shift};
}

struct Entry {
    Dyadic value;
    uint64_t bits;
};

struct Layout {
    const char* name;
    BinaryFormat format;
    std::vector<Entry> values;  // the finite non-negative ones, ascending
};

struct Outcome {
    uint64_t bits = 0;
    bool inexact = false, overflow = false, underflow = false, invalid = false;
};

bool operator==(const Outcome& a, const Outcome& b) {
    return a.bits == b.bits && a.inexact == b.inexact && a.overflow == b.overflow &&
           a.underflow == b.underflow && a.invalid == b.invalid;
}

std::string Describe(const Outcome& o) {
    char text[96];
    std::snprintf(text, sizeof text, "0x%llX%s%s%s%s", static_cast<unsigned long long>(o.bits),
                  o.inexact ? " inexact" : "", o.overflow ? " overflow" : "", o.underflow ? " underflow" : "",
                  o.invalid ? " invalid" : "");
    return text;
}

Outcome Reference(const Layout& layout, bool negative, Dyadic x, RoundingMode mode) {
    const BinaryFormat& f = layout.format;
    const bool powerOfTwo = f.kind == LayoutKind::kPowerOfTwo;
    const uint64_t sign =
        negative && powerOfTwo ? 0 : uint64_t{negative} << (f.exponentBits + f.mantissaBits);
    // fnuz's and e8m0fnu's one NaN (unused elsewhere).
    const uint64_t lonelyNan = powerOfTwo ? 0xFF
                               : f.kind == LayoutKind::kUnsignedZero
                                   ? uint64_t{1} << (f.exponentBits + f.mantissaBits)
                                   : 0;
    Outcome out;
    if (powerOfTwo && (negative || x.significand == 0)) {
        out.bits = lonelyNan;
        out.invalid = true;
        return out;
    }
    const MagnitudeRule rule = OnMagnitude(mode, negative);
    const std::vector<Entry>& values = layout.values;
    const auto above = std::upper_bound(values.begin(), values.end(), x, [](const Dyadic& a, const Entry& b) {
        return Compare(a, b.value) < 0;
    });
    const Entry& largest = values.back();
    const Dyadic rounded = RoundToPrecision(x, f.mantissaBits + 1, rule);
    Entry chosen;
    if (above != values.begin() && Compare((above - 1)->value, x) == 0) {
        chosen = *(above - 1);
    } else if (above == values.begin()) {  // below e8m0fnu's smallest
        chosen = values.front();
        out.underflow = out.inexact = true;
    } else if (above == values.end()) {
        out.inexact = true;
        chosen = largest;
        if (Compare(rounded, largest.value) > 0) {
            out.overflow = true;
            if (rule != MagnitudeRule::kTruncate) {  // where IEEE gives an infinity
                chosen.bits = f.kind == LayoutKind::kIeee
                                  ? uint64_t{(1u << f.exponentBits) - 1} << f.mantissaBits
                              : f.kind == LayoutKind::kFiniteNan
                                  ? (uint64_t{1} << (f.exponentBits + f.mantissaBits)) - 1
                              : f.kind == LayoutKind::kAllFinite ? largest.bits
                                                                 : lonelyNan;
            }
        }
    } else {
        const Entry& low = *(above - 1);
        const Entry& high = *above;
        out.inexact = true;
        const int q =
            low.value.significand == 0 ? high.value.power : std::min(low.value.power, high.value.power);
        const Dyadic middle{(low.value.significand << (low.value.power - q)) +
                                (high.value.significand << (high.value.power - q)),
                            q - 1};
        const int side = Compare(x, middle);
        const bool tieUp = rule == MagnitudeRule::kNearestAway || powerOfTwo || (low.bits & 1) != 0;
        const bool up = rule == MagnitudeRule::kIncrease ||
                        (rule != MagnitudeRule::kTruncate && (side > 0 || (side == 0 && tieUp)));
        chosen = up ? high : low;
        const Dyadic smallestNormal{1, 1 - Bias(f)};
        out.underflow = !powerOfTwo && Compare(rounded, smallestNormal) < 0;
    }
    // The sign goes on, except onto fnuz's zero and NaN (both unsigned there).
    const bool unsignedResult =
        f.kind == LayoutKind::kUnsignedZero && (chosen.bits == 0 || chosen.bits == lonelyNan);
    out.bits = chosen.bits | (unsignedResult ? 0 : sign);
    return out;
}

Layout Make(const char* name, const BinaryFormat& format) {
    Layout layout{name, format, {}};
    const uint64_t half = uint64_t{1} << (format.exponentBits + format.mantissaBits);
    for (uint64_t bits = 0; bits < half; ++bits) {
        Dyadic value;
        if (DecodeMagnitudeRule(format, bits, &value)) layout.values.push_back({value, bits});
    }
    std::sort(layout.values.begin(), layout.values.end(),
              [](const Entry& a, const Entry& b) { return Compare(a.value, b.value) < 0; });
    return layout;
}

int Binade(const Dyadic& value) {
    return value.power + BitLength(value.significand) - 1;
}

// A source value: mostly near the target's range (random mantissas, the target's values and
// midpoints on its subnormal and its unbounded-exponent grids, and their neighbours), some random
// bit patterns.
uint64_t Draw(std::mt19937_64& random, const Layout& target, const BinaryFormat& source) {
    const uint64_t signBit = uint64_t{1} << (source.exponentBits + source.mantissaBits);
    const uint64_t sign = (random() & 1) != 0 ? signBit : 0;
    Dyadic probe;
    const int choice = static_cast<int>(random() % 10);
    if (choice < 2) {
        for (;;) {
            const uint64_t bits = random() & (signBit - 1);
            if (DecodeMagnitudeRule(source, bits, &probe)) return bits | sign;
        }
    }
    const BinaryFormat& f = target.format;
    const int smallest = Binade(target.values[target.values.front().value.significand == 0 ? 1 : 0].value);
    const int lowest = std::max(smallest - 3, 1 - Bias(source) - source.mantissaBits);
    const int top = Binade(target.values.back().value);
    const int highest = std::min(top + 2, Bias(source));
    int binade = lowest + static_cast<int>(random() % static_cast<uint64_t>(highest - lowest + 1));
    if (random() % 4 == 0) {                           // the binades where tininess and overflow are decided
        const int edges[] = {-Bias(f), top, top + 1};  // -Bias(f): just below the smallest normal
        binade = std::clamp(edges[random() % 3], lowest, highest);
    }
    if (choice < 4) return Encode(source, {random() | uint64_t{1} << 63, binade - 63}) | sign;
    const int m = f.mantissaBits;
    const bool normalGrid = binade >= 1 - Bias(f) || m == 0 || (random() & 1) != 0;
    const uint64_t count = uint64_t{1} << m;  // of steps in the grid's binade
    uint64_t step = random() % 4 == 0 ? count - 1 : random() % count;
    if (normalGrid) step += count;
    const int power = (normalGrid ? binade : 1 - Bias(f)) - m - 1;
    uint64_t bits = Encode(source, {2 * step + (random() & 1), power});
    const int neighbour = static_cast<int>(random() % 3) - 1;
    if (bits != 0 || neighbour > 0) bits += static_cast<uint64_t>(static_cast<int64_t>(neighbour));
    return bits | sign;
}

const char* const kModeNames[] = {"even", "away", "zero", "up", "down"};

TEST(LayoutConversionDifferential, EveryLayoutEveryModeAgainstTheReference) {
    std::vector<Layout> layouts = {
        Make("e4m3fn", cv::kE4M3FnFormat),   Make("e4m3fnuz", cv::kE4M3FnuzFormat),
        Make("e5m2", cv::kE5M2Format),       Make("e5m2fnuz", cv::kE5M2FnuzFormat),
        Make("e2m3fn", cv::kE2M3FnFormat),   Make("e3m2fn", cv::kE3M2FnFormat),
        Make("e2m1fn", cv::kE2M1FnFormat),   Make("tf32", cv::kTensorFloatFormat),
        Make("e8m0fnu", cv::kE8M0FnuFormat), Make("fp:4:3", BinaryFormat{4, 3}),
    };
    std::mt19937_64 random(20260416);
    std::string text;
    for (const Layout& layout : layouts) {
        int mismatches[5] = {};
        for (int i = 0; i < kValuesPerLayout; ++i) {
            const BinaryFormat& source = i % 2 ? cv::kDoubleFormat : cv::kSingleFormat;
            const uint64_t bits = Draw(random, layout, source);
            const uint64_t signBit = uint64_t{1} << (source.exponentBits + source.mantissaBits);
            Dyadic x;
            ASSERT_TRUE(DecodeMagnitudeRule(source, bits & (signBit - 1), &x));
            text.clear();
            cv::AppendExactValue(source, bits, &text);
            cv::DecimalNumber number;
            ASSERT_TRUE(cv::ParseDecimal(text.data(), text.size(), &number)) << text;
            for (int m = 0; m < 5; ++m) {
                const RoundingMode mode = static_cast<RoundingMode>(m);
                const Outcome expected = Reference(layout, (bits & signBit) != 0, x, mode);
                // The source's exact decimal, and the source's bits themselves, by the same rules.
                const cv::LayoutConversion conversions[] = {
                    cv::ConvertDecimalToLayout(layout.format, number, mode),
                    cv::ConvertBetweenLayouts(layout.format, source, bits, mode)};
                for (const cv::LayoutConversion& c : conversions) {
                    Outcome got;
                    got.bits = c.bits;
                    got.inexact = c.inexact;
                    got.overflow = c.overflow;
                    got.underflow = c.underflow;
                    got.invalid = c.invalid;
                    if (expected == got && !c.noNan) continue;
                    if (++mismatches[m] <= 3) {
                        ADD_FAILURE() << layout.name << " " << kModeNames[m] << " from "
                                      << (source.mantissaBits == 23 ? "f32 0x" : "f64 0x") << std::hex << bits
                                      << " (" << text << "): expected " << Describe(expected) << ", got "
                                      << Describe(got);
                    }
                }
            }
        }
        for (int m = 0; m < 5; ++m) {
            EXPECT_EQ(mismatches[m], 0) << layout.name << " " << kModeNames[m] << " of " << kValuesPerLayout;
        }
    }
}

}  // namespace
