#include "number/format_real.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "number/decimal_digits.h"
#include "tests/engine/format_real_reference.h"

namespace cv {
namespace {

double DoubleFromBits(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double WidenedFloat(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint64_t BitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::string Format(double value, int digits) {
    char text[kFormatRealMaxText];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(FormatReal(value, digits, text, sizeof text), text);
    return text;
}

// A value as a bit pattern: a 4-byte real (widened) or an 8-byte real.
struct RealCase {
    bool single;
    uint64_t bits;
    int digits;
    const char* text;
};

double ValueOf(const RealCase& c) {
    return c.single ? WidenedFloat(static_cast<uint32_t>(c.bits)) : DoubleFromBits(c.bits);
}

void ExpectTexts(const RealCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const RealCase& c = cases[i];
        EXPECT_EQ(Format(ValueOf(c), c.digits), c.text)
            << std::hex << c.bits << (c.single ? " (4 bytes)" : " (8 bytes)") << std::dec << " digits "
            << c.digits;
    }
}

TEST(FormatReal, WorkedExamples) {
    const RealCase cases[] = {
        {true, 0x3F800000, 12, "1."},
        {true, 0x3F000000, 12, "0.5"},
        {true, 0xC0200000, 12, "-2.5"},
        {true, 0x42C80000, 12, "100."},
        {true, 0x3DCCCCCD, 12, "0.10000000149"},
        {true, 0x3C23D70A, 12, "9.99999977648e-003"},
        {true, 0x35800000, 12, "9.53674316406e-007"},
        {true, 0x51E5F4C9, 12, "123456790528"},
        {true, 0x551184E7, 12, "9.99999982797e+012"},
        {true, 0x7F7FFFFF, 12, "3.40282346639e+038"},
        {false, 0x3FB999999999999A, 20, "0.10000000000000001"},
        {false, 0x3FD5555555555555, 20, "0.33333333333333331"},
        {false, 0x3F847AE147AE147B, 20, "1.e-002"},
        {false, 0x46293E5939A08CEA, 20, "1.e+030"},
        {false, 0x4090000000000000, 20, "1024."},
        {false, 0x3F50000000000000, 20, "9.765625e-004"},
        {false, 0x4450000000000000, 20, "1.1805916207174113e+021"},
    };
    ExpectTexts(cases, sizeof cases / sizeof cases[0]);
}

// The form follows the exponent of the 17-digit value, before the rounding to the digit count: a
// value just below 10^P that rounds up stays fixed, one just below 0.1 that rounds up stays
// exponential.
TEST(FormatReal, FormIsChosenBeforeRounding) {
    const RealCase cases[] = {
        {false, 0x426D1A94A1FFFCCD, 12, "1000000000000"},       // 999999999999.9
        {false, 0x426D1A94A1FFFCCD, 20, "999999999999.90002"},  // F = 8
        {false, 0x426D1A94A1FFECCD, 12, "999999999999"},        // 999999999999.4
        {false, 0x426D1A94A2000000, 12, "1.e+012"},
        {false, 0x426D1A94A2000000, 20, "1000000000000."},
        {false, 0x42374876E7FFFFFF, 12, "100000000000."},  // 99999999999.999985
        {false, 0x42374876E7FFFFFF, 20, "99999999999.999985"},
        {false, 0x3FB9999999999999, 12, "1.e-001"},  // just below 0.1
        {false, 0x3FB9999999999999, 20, "9.9999999999999992e-002"},
        {false, 0x3FEFFFFFFFFFFFFF, 12, "1."},  // just below 1: 0.999... with F = 12 carries
        {false, 0x3FEFFFFFFFFFFFFF, 20, "0.99999999999999989"},
        {false, 0x43E158E460913D00, 12, "1.e+019"},
        {false, 0x43E158E460913D00, 20, "10000000000000000000"},  // E = P - 1: no point
        {false, 0x4415AF1D78B58C3F, 12, "1.e+020"},               // just below 10^20
        {false, 0x4415AF1D78B58C3F, 20, "99999999999999984000"},  // digits past the 17th are 0
        {false, 0x4415AF1D78B58C40, 20, "1.e+020"},
        {false, 0x4376345785D8A000, 20, "100000000000000000."},
        {false, 0x4340000000000000, 12, "9.00719925474e+015"},
        {false, 0x4340000000000000, 20, "9007199254740992."},
        {false, 0x3F1A36E2EB1C4309, 12, "1.e-004"},  // exponential carry: the exponent grows
        {false, 0x44B52D02C7E14AF6, 12, "1.e+023"},
        {false, 0x44B52D02C7E14AF6, 20, "9.9999999999999992e+022"},
    };
    ExpectTexts(cases, sizeof cases / sizeof cases[0]);
}

TEST(FormatReal, ExtremesAndSigns) {
    const RealCase cases[] = {
        {false, 0x7FEFFFFFFFFFFFFF, 12, "1.79769313486e+308"},  // DBL_MAX
        {false, 0x7FEFFFFFFFFFFFFF, 20, "1.7976931348623157e+308"},
        {false, 0xFFEFFFFFFFFFFFFF, 20, "-1.7976931348623157e+308"},
        {false, 0x0010000000000000, 12, "2.22507385851e-308"},  // DBL_MIN
        {false, 0x0010000000000000, 20, "2.2250738585072014e-308"},
        {false, 0x000FFFFFFFFFFFFF, 20, "2.2250738585072009e-308"},  // largest subnormal
        {false, 0x0000000000000001, 12, "4.94065645841e-324"},       // 2^-1074
        {false, 0x0000000000000001, 20, "4.9406564584124654e-324"},
        {false, 0x8000000000000001, 20, "-4.9406564584124654e-324"},
        {false, 0x3E7AD7F29ABCAF48, 20, "9.9999999999999995e-008"},
        {false, 0x405EDD2F1A9FBE77, 20, "123.456"},
        {false, 0x3FD3333333333333, 20, "0.29999999999999999"},
        {true, 0x4B800000, 12, "16777216."},
        {true, 0x00800000, 12, "1.17549435082e-038"},  // FLT_MIN
        {true, 0x00000001, 12, "1.40129846432e-045"},  // smallest 4-byte subnormal
        {true, 0x80000001, 12, "-1.40129846432e-045"},
        {true, 0x3F800001, 12, "1.00000011921"},
        {false, 0x0000000000000000, 12, "0."},
        {false, 0x8000000000000000, 12, "-0."},
        {false, 0x0000000000000000, 20, "0."},
        {false, 0x8000000000000000, 20, "-0."},
        {false, 0x7FF0000000000000, 20, "inf"},
        {false, 0xFFF0000000000000, 20, "-inf"},
        {false, 0x7FF8000000000000, 12, "nan"},
        {false, 0xFFFFFFFFFFFFFFFF, 12, "-nan"},
    };
    ExpectTexts(cases, sizeof cases / sizeof cases[0]);
}

// Exact ties at the 17th digit go to the even digit; the rounding to fewer digits then works on
// those 17 digits (half up), even where the exact value lies below the half.
TEST(FormatReal, RoundingOnTheSeventeenDigits) {
    const RealCase cases[] = {
        {false, 0x42D6BCC41E900008, 20, "100000000000000.12"},   // 100000000000000.125
        {false, 0x42D6BCC41E900018, 20, "100000000000000.38"},   // 100000000000000.375
        {false, 0xC2D6BCC41E900008, 20, "-100000000000000.12"},  // -100000000000000.125
        {false, 0x3FF3C0CA42B5B071, 12, "1.23456789073"},        // 1.2345678907249999...
        {false, 0x3FEE666666666666, 1, "0.9"},                   // 0.95 is 0.94999999999999996
        {false, 0x4023000000000000, 1, "10"},                    // 9.5, fixed with F = 0
        {false, 0x4024000000000000, 1, "1.e+001"},
        {false, 0x3FF0000000000000, 1, "1"},
        {false, 0x3FB999999999999A, 16, "0.1"},
        {false, 0x3FB999999999999A, 17, "0.10000000000000001"},
    };
    ExpectTexts(cases, sizeof cases / sizeof cases[0]);
}

TEST(FormatReal, DigitCountsOutsideTheRangeAreClamped) {
    const RealCase cases[] = {
        {false, 0x3FF0000000000000, 0, "1"},
        {false, 0x3FD5555555555555, -7, "0.3"},
        {false, 0x3FD5555555555555, 40, "0.33333333333333331"},
        {false, 0x4450000000000000, 41, "1180591620717411300000."},
        {false, 0x4450000000000000, 1000, "1180591620717411300000."},
        {false, 0x46293E5939A08CEA, 1000, "1000000000000000000000000000000."},
        {false, 0x483D6329F1C35CA5, 1000, "1.e+040"},
    };
    ExpectTexts(cases, sizeof cases / sizeof cases[0]);
}

// Every text fits the documented size: digits + 8 bytes, the count clamped to 1..40. The buffer is
// exactly that large on the heap, so that the address sanitizer sees any overrun.
TEST(FormatReal, TextFitsTheDocumentedBuffer) {
    const uint64_t patterns[] = {0xFFEFFFFFFFFFFFFF, 0x8000000000000001, 0xBFEFFFFFFFFFFFFF,
                                 0xC2D6BCC41E900008, 0xC3E158E460913D00, 0xFFF0000000000000,
                                 0xFFFFFFFFFFFFFFFF, 0x8000000000000000};
    for (uint64_t bits : patterns) {
        for (int digits = -3; digits <= 45; ++digits) {
            const int clamped = digits < 1 ? 1 : digits > 40 ? 40 : digits;
            std::vector<char> buffer(clamped + 8, 'x');
            FormatReal(DoubleFromBits(bits), digits, buffer.data(), buffer.size());
            EXPECT_EQ(buffer.data(), Format(DoubleFromBits(bits), digits))
                << std::hex << bits << std::dec << " " << digits;
            // A smaller buffer gets the start of the text, terminated within its size.
            std::vector<char> small(4, 'x');
            FormatReal(DoubleFromBits(bits), digits, small.data(), small.size());
            EXPECT_EQ(std::string(small.data()), Format(DoubleFromBits(bits), digits).substr(0, 3));
        }
    }
    std::vector<char> programBuffer(32);  // the program's 20 digits in the smallest buffer it promises
    FormatReal(DoubleFromBits(0xFFEFFFFFFFFFFFFF), 20, programBuffer.data(), programBuffer.size());
    EXPECT_STREQ(programBuffer.data(), "-1.7976931348623157e+308");
}

TEST(DecimalDigits17, DigitsAndPointPosition) {
    struct DigitCase {
        uint64_t bits;
        const char* digits;
        int point;
    };
    const DigitCase cases[] = {
        {0x3FF0000000000000, "10000000000000000", 1},     // 1.0
        {0x3FB999999999999A, "10000000000000001", 0},     // 0.1
        {0x3F50624DD2F1A9FC, "10000000000000000", -2},    // 0.001
        {0x0000000000000001, "49406564584124654", -323},  // 2^-1074
        {0x7FEFFFFFFFFFFFFF, "17976931348623157", 309},   // DBL_MAX
        {0x42D6BCC41E900008, "10000000000000012", 15},    // a tie, to even
        {0x42D6BCC41E900018, "10000000000000038", 15},    // a tie, to even
        {0xC3E158E460913D00, "10000000000000000", 20},    // -1e19: the sign plays no part
        {0x0000000000000000, "00000000000000000", 0},    {0x7FF0000000000000, "00000000000000000", 0},
    };
    for (const DigitCase& c : cases) {
        char digits[17];
        int point = 99999;
        DecimalDigits17(DoubleFromBits(c.bits), digits, &point);
        EXPECT_EQ(std::string(digits, 17), c.digits) << std::hex << c.bits;
        EXPECT_EQ(point, c.point) << std::hex << c.bits;
        detail::DecimalDigits17Exact(DoubleFromBits(c.bits), digits, &point);
        EXPECT_EQ(std::string(digits, 17), c.digits) << std::hex << c.bits;
        EXPECT_EQ(point, c.point) << std::hex << c.bits;
    }
}

// The scale table the fast digits rest on: each entry is 10^k truncated to 128 bits, that is
// S * 2^b <= 10^k < (S + 1) * 2^b with bit 127 of S set. Checked by exact decimal expansion.
TEST(DecimalDigits17, ScaleTableBracketsEveryPowerOfTen) {
    uint64_t high = 0, low = 0;
    int exponent = 0;
    EXPECT_FALSE(detail::PowerOfTenEntry(detail::kMinDecimalScale - 1, &high, &low, &exponent));
    EXPECT_FALSE(detail::PowerOfTenEntry(detail::kMaxDecimalScale + 1, &high, &low, &exponent));
    // value >= 10^k exactly when its point position is above k; 10^k itself is "1" and zeros.
    auto isPowerOfTen = [](const cvtest::ExactDecimal& d) {
        return d.lead[0] == '1' && std::strspn(d.lead + 1, "0") + 1 == static_cast<size_t>(d.leadLength) &&
               !d.restNonZero;
    };
    for (int k = detail::kMinDecimalScale; k <= detail::kMaxDecimalScale; ++k) {
        ASSERT_TRUE(detail::PowerOfTenEntry(k, &high, &low, &exponent));
        EXPECT_NE(high >> 63, 0u) << k;
        const cvtest::ExactDecimal below = cvtest::ExpandBinary(high, low, exponent);
        EXPECT_TRUE(below.point <= k || (below.point == k + 1 && isPowerOfTen(below))) << k;
        const uint64_t nextLow = low + 1;
        const cvtest::ExactDecimal above =
            cvtest::ExpandBinary(high + (nextLow == 0 ? 1 : 0), nextLow, exponent);
        EXPECT_TRUE(above.point >= k + 2 || (above.point == k + 1 && !isPowerOfTen(above))) << k;
    }
}

// ---- Differential test against the independent model (tests/engine/format_real_reference.*) ----

// splitmix64: the same numbers on every platform.
class Random {
public:
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint64_t Below(uint64_t bound) { return Next() % bound; }
    // 1..2^maxBits, spread evenly over the magnitudes.
    uint64_t LogUniform(int maxBits) { return (Next() >> (64 - 1 - Below(maxBits))) + 1; }

private:
    uint64_t state_ = 0x436F7276616E65ull;
};

class Differential {
public:
    // Compares the digits and the texts for 12 and 20 digits and for `otherDigits` (any int).
    void Check(double value, int otherDigits, bool exactPathToo) {
        ++cases_;
        const cvtest::ExactDecimal exact = cvtest::ExpandDouble(value);
        char reference[18];
        const int referencePoint = cvtest::RoundTo17(exact, reference);
        char digits[17];
        int point = 0;
        DecimalDigits17(value, digits, &point);
        if (std::memcmp(reference, digits, 17) != 0 || point != referencePoint) {
            Fail(value, "digits " + std::string(digits, 17) + " D " + std::to_string(point) + ", expected " +
                            std::string(reference) + " D " + std::to_string(referencePoint));
        }
        if (exactPathToo) {
            detail::DecimalDigits17Exact(value, digits, &point);
            if (std::memcmp(reference, digits, 17) != 0 || point != referencePoint) {
                Fail(value, "exact digits " + std::string(digits, 17) + " D " + std::to_string(point));
            }
        }
        const int counts[] = {12, 20, otherDigits};
        for (int count : counts) {
            const int clamped = count < 1 ? 1 : count > 40 ? 40 : count;
            const std::string expected =
                cvtest::ReferenceText(std::signbit(value), reference, referencePoint, clamped);
            char text[kFormatRealMaxText];
            FormatReal(value, count, text, sizeof text);
            if (expected != text) {
                Fail(value,
                     std::to_string(count) + " digits: \"" + text + "\", expected \"" + expected + "\"");
            }
        }
    }

    long Cases() const { return cases_; }

private:
    void Fail(double value, const std::string& what) {
        if (++failures_ <= 20) {
            char bits[20];
            std::snprintf(bits, sizeof bits, "%016llX", static_cast<unsigned long long>(BitsOf(value)));
            ADD_FAILURE() << bits << ": " << what;
        }
    }

    long cases_ = 0;
    int failures_ = 0;
};

// The bits of the least positive double (or float, widened) that is at least 10^n.
uint64_t FirstAtLeastPowerOfTen(int n, bool single) {
    auto atLeast = [n](double value) { return cvtest::ExpandDouble(value).point - 1 >= n; };
    if (single) {
        float estimate = static_cast<float>(std::pow(10.0, n));
        uint32_t bits;
        std::memcpy(&bits, &estimate, sizeof bits);
        while (bits > 1 && atLeast(WidenedFloat(bits - 1))) --bits;
        while (!atLeast(WidenedFloat(bits))) ++bits;
        return bits;
    }
    uint64_t bits = BitsOf(std::pow(10.0, n));
    while (bits > 1 && atLeast(DoubleFromBits(bits - 1))) --bits;
    while (!atLeast(DoubleFromBits(bits))) ++bits;
    return bits;
}

int RandomDigits(Random& random) {
    return static_cast<int>(random.Below(48)) - 3;
}  // -3..44

TEST(FormatRealDifferential, Doubles) {
    Random random;
    Differential check;
    constexpr uint64_t kExponentMask = 0x7FF0000000000000ull;
    constexpr uint64_t kMantissaMask = 0x000FFFFFFFFFFFFFull;
    // Any finite bit pattern.
    for (int i = 0; i < 600000; ++i) {
        uint64_t bits = random.Next();
        if ((bits & kExponentMask) == kExponentMask) bits ^= 1ull << 62;
        check.Check(DoubleFromBits(bits), RandomDigits(random), i % 16 == 0);
    }
    // Subnormals, with short and long mantissas.
    for (int i = 0; i < 100000; ++i) {
        const uint64_t mantissa = (random.Next() & kMantissaMask) >> random.Below(52);
        const uint64_t sign = random.Next() & (1ull << 63);
        check.Check(DoubleFromBits(sign | (mantissa == 0 ? 1 : mantissa)), RandomDigits(random), i % 16 == 0);
    }
    // Every power of two, normal and subnormal, and its neighbours.
    for (int exponent = 0; exponent <= 2046; ++exponent) {
        const uint64_t power = static_cast<uint64_t>(exponent) << 52;
        for (int step = -3; step <= 3; ++step) {
            if (power + step >= 1 && power + step < kExponentMask) {
                check.Check(DoubleFromBits(power + step), RandomDigits(random), true);
            }
        }
    }
    for (int bit = 0; bit < 52; ++bit) check.Check(DoubleFromBits(1ull << bit), RandomDigits(random), true);
    // Around every power of ten: the decade boundary, and the carries of values just below it.
    for (int n = -323; n <= 308; ++n) {
        const uint64_t first = FirstAtLeastPowerOfTen(n, false);
        for (int step = -64; step < 64; ++step) {
            if (first + step >= 1 && first + step < kExponentMask) {
                check.Check(DoubleFromBits(first + step), RandomDigits(random), step % 8 == 0);
            }
        }
        for (int i = 0; i < 100; ++i) {
            const uint64_t distance = random.LogUniform(24);
            if (first > distance) check.Check(DoubleFromBits(first - distance), RandomDigits(random), false);
            if (first + distance < kExponentMask) check.Check(-DoubleFromBits(first + distance), 12, false);
        }
    }
    // Exact ties at the 17th digit: m * 2^-j with m odd and m * 5^j of 18 digits ends in ...5.
    uint64_t fivePower = 1;
    for (int j = 1; j <= 25; ++j) {
        fivePower *= 5;
        const uint64_t low = (100000000000000000ull + fivePower - 1) / fivePower;
        uint64_t high = (1000000000000000000ull - 1) / fivePower + 1;
        if (high > (1ull << 53)) high = 1ull << 53;
        for (int i = 0; low < high && i < 4000; ++i) {
            const uint64_t m = (low + random.Below(high - low)) | 1;
            if (m < high) check.Check(std::ldexp(static_cast<double>(m), -j), RandomDigits(random), true);
        }
    }
    // Halves at the 13th digit: ...5 x 10^j, where the 12-digit rounding meets the 17-digit string.
    for (int i = 0; i < 50000; ++i) {
        const double halfway =
            static_cast<double>((1000000000000ull + random.Below(9000000000000ull)) * 10 + 5);
        const int j = static_cast<int>(random.Below(41)) - 20;
        const double scale = std::pow(10.0, std::abs(j));  // exact up to 10^22
        check.Check(j >= 0 ? halfway * scale : halfway / scale, 12, false);
    }
    EXPECT_GE(check.Cases(), 1000000);
}

TEST(FormatRealDifferential, Floats) {
    Random random;
    Differential check;
    constexpr uint32_t kExponentMask = 0x7F800000u;
    for (int i = 0; i < 850000; ++i) {
        uint32_t bits = static_cast<uint32_t>(random.Next() >> 32);
        if ((bits & kExponentMask) == kExponentMask) bits ^= 1u << 30;
        check.Check(WidenedFloat(bits), i % 2 == 0 ? 12 : RandomDigits(random), i % 16 == 0);
    }
    for (int i = 0; i < 100000; ++i) {
        const uint32_t mantissa = static_cast<uint32_t>(random.Next() & 0x7FFFFF) >> random.Below(23);
        const uint32_t sign = random.Next() & 1 ? 0x80000000u : 0;
        check.Check(WidenedFloat(sign | (mantissa == 0 ? 1 : mantissa)), RandomDigits(random), i % 16 == 0);
    }
    for (uint32_t exponent = 0; exponent <= 254; ++exponent) {
        for (int step = -3; step <= 3; ++step) {
            const int64_t bits = static_cast<int64_t>(exponent << 23) + step;
            if (bits >= 1 && bits < kExponentMask) {
                check.Check(WidenedFloat(static_cast<uint32_t>(bits)), RandomDigits(random), true);
            }
        }
    }
    for (int n = -45; n <= 38; ++n) {
        const uint32_t first = static_cast<uint32_t>(FirstAtLeastPowerOfTen(n, true));
        for (int step = -64; step < 64; ++step) {
            const int64_t bits = static_cast<int64_t>(first) + step;
            if (bits >= 1 && bits < kExponentMask)
                check.Check(WidenedFloat(static_cast<uint32_t>(bits)), 12, false);
        }
        for (int i = 0; i < 250; ++i) {
            const uint32_t distance = static_cast<uint32_t>(random.LogUniform(16));
            if (first > distance) check.Check(WidenedFloat(first - distance), RandomDigits(random), false);
            if (first + distance < kExponentMask) check.Check(WidenedFloat(first + distance), 12, false);
        }
    }
    EXPECT_GE(check.Cases(), 1000000);
}

}  // namespace
}  // namespace cv
