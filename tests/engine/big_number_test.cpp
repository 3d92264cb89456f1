// cv::BigNumber: each case builds a number with the operations exact conversions use, then checks
// its decimal text and bit length against values computed independently.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <utility>

#include "number/big_number.h"

namespace {

using cv::BigNumber;

BigNumber PowerOfTwo(int exponent) {
    BigNumber number(1);
    number.ShiftLeft(exponent);
    return number;
}

struct BigCase {
    const char* what;
    std::function<BigNumber()> build;
    const char* decimal;
    int bitLength;
};

const BigCase kCases[] = {
    {"2^200", [] { return PowerOfTwo(200); }, "1606938044258990275541962092341162602522202993782792835301376",
     201},
    {"10^30 - 1",
     [] {
         BigNumber n(1);
         n.MultiplyByPowerOfTen(30);
         n.Subtract(BigNumber(1));
         return n;
     },
     "999999999999999999999999999999", 100},
    {"(2^64 - 1)(2^64 + 1)",
     [] {
         BigNumber n(~uint64_t{0});
         BigNumber m = PowerOfTwo(64);
         m.Add(BigNumber(1));
         n.Multiply(m);
         return n;
     },
     "340282366920938463463374607431768211455", 128},
    {"7 * 5^40 + 3",
     [] {
         BigNumber n(7);
         n.MultiplyByPowerOfFive(40);
         n.Add(BigNumber(3));
         return n;
     },
     "63664629124104976654052734378", 96},
    {"10^25 >> 13",
     [] {
         BigNumber n(1);
         n.MultiplyByPowerOfTen(25);
         n.ShiftRight(13);
         return n;
     },
     "1220703125000000000000", 71},
    {"3^100 - 2^150",
     [] {
         BigNumber n(1);
         for (int i = 0; i < 100; ++i) n.MultiplyAdd(3, 0);
         n.Subtract(PowerOfTwo(150));
         return n;
     },
     "513950273039305371155402843796171777565724775377", 159},
    {"(2^96 - 1)^2",
     [] {
         BigNumber n = PowerOfTwo(96);
         n.Subtract(BigNumber(1));
         BigNumber m = n;
         n.Multiply(m);
         return n;
     },
     "6277101735386680763835789423049210091073826769276946612225", 192},
    {"2^70 >> 70",
     [] {
         BigNumber n = PowerOfTwo(70);
         n.ShiftRight(70);
         return n;
     },
     "1", 1},
    {"2^40 - 2^40",
     [] {
         BigNumber n = PowerOfTwo(40);
         n.Subtract(PowerOfTwo(40));
         return n;
     },
     "0", 0},
};

TEST(BigNumber, BuildsExactValues) {
    for (const BigCase& c : kCases) {
        const BigNumber n = c.build();
        EXPECT_EQ(n.ToDecimal(), c.decimal) << c.what;
        EXPECT_EQ(n.BitLength(), c.bitLength) << c.what;
    }
}

TEST(BigNumber, ComparesByValue) {
    const BigNumber small = PowerOfTwo(95);
    BigNumber large = PowerOfTwo(96);
    large.Subtract(BigNumber(1));
    EXPECT_EQ(small.Compare(large), -1);
    EXPECT_EQ(large.Compare(small), 1);
    EXPECT_EQ(large.Compare(large), 0);
    EXPECT_TRUE(large.Bit(94) && !small.Bit(94) && small.Bit(95));
    EXPECT_EQ(large.Low64(), ~uint64_t{0});
}

// Long division: quotient times divisor plus remainder gives the dividend back, the remainder below
// the divisor, over dividends and divisors of every size up to 12 and 6 limbs (with zero limbs and
// limbs near 2^32, where the quotient limb's estimate needs correcting).
TEST(BigNumber, DividesWithRemainder) {
    std::mt19937_64 random(5);
    const auto draw = [&random](int limbs) {
        BigNumber n;
        for (int i = 0; i < limbs; ++i) {
            n.ShiftLeft(32);
            n.Add(BigNumber(random() >> (random() % 33)));
        }
        return n;
    };
    for (int i = 0; i < 20000; ++i) {
        const BigNumber dividend = draw(1 + static_cast<int>(random() % 12));
        const BigNumber divisor = draw(1 + static_cast<int>(random() % 6));
        if (divisor.IsZero()) continue;
        BigNumber remainder = dividend;
        BigNumber quotient;
        remainder.DivideModulo(divisor, &quotient);
        BigNumber back = quotient;
        back.Multiply(divisor);
        back.Add(remainder);
        ASSERT_EQ(back.Compare(dividend), 0) << dividend.ToDecimal() << " / " << divisor.ToDecimal();
        ASSERT_LT(remainder.Compare(divisor), 0) << dividend.ToDecimal() << " / " << divisor.ToDecimal();
    }
}

TEST(BigNumber, TellsWhetherItsLowBitsAreZero) {
    BigNumber n = PowerOfTwo(70);
    n.Add(PowerOfTwo(33));
    const struct {
        int count;
        bool zero;
    } cases[] = {{-1, true}, {0, true}, {32, true}, {33, true}, {34, false}, {64, false}, {500, false}};
    for (const auto& c : cases) EXPECT_EQ(n.LowBitsZero(c.count), c.zero) << c.count;
    EXPECT_TRUE(BigNumber().LowBitsZero(100));
}

// Numbers of either side of the limbs kept in place (and across it) copied, moved and shifted by
// whole limbs: each keeps its value, and a moved-from one is zero.
TEST(BigNumber, KeepsValuesAcrossTheInlineLimbs) {
    for (int bits = 1; bits <= 700; bits += 31) {
        BigNumber n = PowerOfTwo(bits);
        n.Add(BigNumber(12345));
        const std::string text = n.ToDecimal();
        BigNumber copy = n;
        BigNumber moved = std::move(copy);
        EXPECT_TRUE(copy.IsZero()) << bits;
        BigNumber assigned = PowerOfTwo(700 - bits);
        assigned = moved;
        moved = PowerOfTwo(bits % 300);
        moved = std::move(assigned);
        moved.ShiftLeft(32 * 9);
        moved.ShiftRight(32 * 9);
        EXPECT_EQ(moved.ToDecimal(), text) << bits;
        EXPECT_EQ(n.ToDecimal(), text) << bits;
    }
}

}  // namespace
