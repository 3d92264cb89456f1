// Exact and shortest decimal texts of IEEE values against a slow reference written here (exact
// rational arithmetic in base-10^4 digits): random f32 and f64 bit patterns, every f16 and bf16 and
// every value of a few small custom layouts.
// Both texts must also read back to the same bits, through the engine's parser and, for f32 and
// f64, through the C library's.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "number/binary_float.h"
#include "number/float_parse.h"

namespace {

using cv::BinaryFormat;

constexpr int kRandomValues = 100000;
constexpr uint32_t kRefBase = 10000;

// value = 0.digits * 10^point; digits without leading or trailing zeros, empty for zero.
struct RefDecimal {
    std::string digits;
    int point = 0;
};

using RefLimbs = std::vector<uint32_t>;  // base 10^4, least significant first

const RefLimbs& RefPower(uint32_t base, int exponent) {
    static std::map<uint32_t, std::vector<RefLimbs>> tables;
    std::vector<RefLimbs>& table = tables[base];
    if (table.empty()) table.push_back(RefLimbs{1});
    while (static_cast<int>(table.size()) <= exponent) {
        RefLimbs next = table.back();
        uint32_t carry = 0;
        for (uint32_t& limb : next) {
            const uint32_t product = limb * base + carry;
            limb = product % kRefBase;
            carry = product / kRefBase;
        }
        if (carry != 0) next.push_back(carry);
        table.push_back(next);
    }
    return table[static_cast<std::size_t>(exponent)];
}

RefDecimal Normalize(std::string digits, int point) {
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return RefDecimal();
    point -= static_cast<int>(first);
    digits.erase(0, first);
    digits.erase(digits.find_last_not_of('0') + 1);
    return RefDecimal{digits, point};
}

// x * 2^q exactly.
RefDecimal RefExpand(uint64_t x, int q) {
    const RefLimbs& power = q < 0 ? RefPower(5, -q) : RefPower(2, q);
    std::vector<uint64_t> sum(power.size() + 6, 0);
    for (std::size_t j = 0; x != 0; ++j, x /= kRefBase) {
        for (std::size_t i = 0; i < power.size(); ++i) sum[i + j] += power[i] * (x % kRefBase);
    }
    std::string digits(4 * sum.size(), '0');
    char* out = &digits[0] + digits.size();  // filled from the least significant digit
    uint64_t carry = 0;
    for (uint64_t& limb : sum) {
        limb += carry;
        carry = limb / kRefBase;
        for (uint64_t rest = limb % kRefBase, k = 0; k < 4; ++k, rest /= 10)
            *--out = static_cast<char>('0' + rest % 10);
    }
    const int fraction = q < 0 ? -q : 0;
    return Normalize(digits, static_cast<int>(digits.size()) - fraction);
}

int Compare(const RefDecimal& a, const RefDecimal& b) {
    if (a.digits.empty() || b.digits.empty()) return a.digits.empty() ? (b.digits.empty() ? 0 : -1) : 1;
    if (a.point != b.point) return a.point < b.point ? -1 : 1;
    const int order = a.digits.compare(b.digits);  // a prefix is the smaller: trailing zeros are gone
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

// n significant digits of a, to nearest, ties to even; step -1 or +1 then moves one unit.
RefDecimal RoundDigits(const RefDecimal& a, std::size_t n, int step) {
    std::string d = a.digits.substr(0, n);
    d.append(n - d.size(), '0');
    if (step == 0 && a.digits.size() > n) {
        const char next = a.digits[n];
        const bool rest = a.digits.find_first_not_of('0', n + 1) != std::string::npos;
        step = (next > '5' || (next == '5' && (rest || (d.back() - '0') % 2 == 1))) ? 1 : 0;
    }
    int i = static_cast<int>(n) - 1;
    for (; step > 0 && i >= 0 && d[static_cast<std::size_t>(i)] == '9'; --i)
        d[static_cast<std::size_t>(i)] = '0';
    for (; step < 0 && i >= 0 && d[static_cast<std::size_t>(i)] == '0'; --i)
        d[static_cast<std::size_t>(i)] = '9';
    if (step != 0 && i < 0) return step > 0 ? Normalize("1" + d, a.point + 1) : RefDecimal();
    if (step != 0) d[static_cast<std::size_t>(i)] = static_cast<char>(d[static_cast<std::size_t>(i)] + step);
    return Normalize(d, a.point);
}

std::string RefPlain(bool negative, const RefDecimal& a) {
    std::string text = negative ? "-" : "";
    const int n = static_cast<int>(a.digits.size());
    if (n == 0) return text + "0";
    if (a.point <= 0) return text + "0." + std::string(static_cast<std::size_t>(-a.point), '0') + a.digits;
    if (n <= a.point) return text + a.digits + std::string(static_cast<std::size_t>(a.point - n), '0');
    return text + a.digits.substr(0, static_cast<std::size_t>(a.point)) + "." +
           a.digits.substr(static_cast<std::size_t>(a.point));
}

struct RefValue {
    RefDecimal exact;
    RefDecimal shortest;
};

// The shortest decimal inside the rounding interval (ends only for an even significand), the
// closest to the value among those as short.
RefValue Reference(const BinaryFormat& format, uint64_t bits) {
    const cv::FloatFields f = cv::DecodeFloat(format, bits);
    RefValue ref;
    ref.exact = RefExpand(f.significand, f.power);
    if (f.significand == 0) return ref;
    const bool lowerNearer = f.mantissa == 0 && f.biasedExponent > 1;
    const RefDecimal low = RefExpand(4 * f.significand - (lowerNearer ? 1 : 2), f.power - 2);
    const RefDecimal high = RefExpand(4 * f.significand + 2, f.power - 2);
    const bool even = f.significand % 2 == 0;
    auto inside = [&](const RefDecimal& d) {
        const int above = Compare(d, low);
        const int below = Compare(high, d);
        return even ? above >= 0 && below >= 0 : above > 0 && below > 0;
    };
    for (std::size_t n = 1;; ++n) {
        for (int step : {0, -1, 1}) {
            const RefDecimal candidate = RoundDigits(ref.exact, n, step);
            if (!candidate.digits.empty() && inside(candidate)) {
                ref.shortest = candidate;
                return ref;
            }
        }
    }
}

uint64_t ReadBack(const BinaryFormat& format, const std::string& text) {
    cv::DecimalNumber number;
    if (!cv::ParseDecimal(text.data(), text.size(), &number)) return ~uint64_t{0};
    return cv::ConvertDecimal(format, number).bits;
}

// Checks one finite value; returns false (after reporting) on the first difference.
bool CheckValue(const BinaryFormat& format, uint64_t bits) {
    const cv::FloatFields fields = cv::DecodeFloat(format, bits);
    const RefValue ref = Reference(format, bits);
    std::string exact, shortestText;
    cv::AppendExactValue(format, bits, &exact);
    cv::AppendShortest(format, bits, &shortestText);
    cv::ShortestDecimal shortest;
    cv::FindShortest(format, bits, &shortest);
    EXPECT_EQ(exact, RefPlain(fields.negative, ref.exact)) << std::hex << bits;
    EXPECT_EQ(shortest.digits, ref.shortest.digits) << std::hex << bits;
    EXPECT_EQ(shortest.point, ref.shortest.point) << std::hex << bits;
    EXPECT_EQ(ReadBack(format, exact), bits) << exact;
    EXPECT_EQ(ReadBack(format, shortestText), bits) << shortestText;
    if (format.TotalBits() == 64) {
        double value;
        std::memcpy(&value, &bits, sizeof value);
        EXPECT_EQ(std::strtod(shortestText.c_str(), nullptr), value) << shortestText;
        EXPECT_EQ(std::strtod(exact.c_str(), nullptr), value) << exact;
    } else if (format.TotalBits() == 32) {
        float value;
        const uint32_t narrow = static_cast<uint32_t>(bits);
        std::memcpy(&value, &narrow, sizeof value);
        EXPECT_EQ(std::strtof(shortestText.c_str(), nullptr), value) << shortestText;
        EXPECT_EQ(std::strtof(exact.c_str(), nullptr), value) << exact;
    }
    return !::testing::Test::HasFailure();
}

bool IsFiniteBits(const BinaryFormat& format, uint64_t bits) {
    return (bits & format.ExponentMask()) != format.ExponentMask();
}

TEST(BinaryFloatDifferential, RandomSinglesAndDoubles) {
    std::mt19937_64 random(20261209);
    for (const BinaryFormat& format : {cv::kSingleFormat, cv::kDoubleFormat}) {
        const uint64_t mask = format.SignMask() | (format.SignMask() - 1);
        for (int i = 0; i < kRandomValues; ++i) {
            const uint64_t bits = random() & mask;
            if (IsFiniteBits(format, bits) && !CheckValue(format, bits)) return;
        }
    }
}

TEST(BinaryFloatDifferential, EveryHalfBrainAndSmallCustomFloat) {
    // The small custom layouts have so few digits that rounding intervals often hold a power of ten.
    for (const BinaryFormat& format :
         {cv::kHalfFormat, cv::kBrainFormat, BinaryFormat{2, 1}, BinaryFormat{3, 4}, BinaryFormat{4, 3},
          BinaryFormat{5, 2}, BinaryFormat{6, 9}}) {
        const uint64_t last = format.SignMask() | (format.SignMask() - 1);
        for (uint64_t bits = 0; bits <= last; ++bits) {
            if (IsFiniteBits(format, bits) && !CheckValue(format, bits)) return;
        }
    }
}

}  // namespace
