#include "number/write_decimal.h"
#include "number/digits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace cv {
namespace {

// Across the nine-digit groups, with padding, the sign counted in the width, and cut to the size.
TEST(WriteDecimal, NumbersAsPrintfWritesThem) {
    const struct {
        int64_t value;
        int minDigits;
        std::size_t size;
        const char* text;
    } cases[] = {
        {0, 1, 24, "0"},
        {7, 3, 24, "007"},
        {-7, 2, 24, "-7"},
        {-7, 3, 24, "-07"},
        {999999999, 1, 24, "999999999"},
        {1000000000, 1, 24, "1000000000"},
        {99999999999999999, 17, 24, "99999999999999999"},
        {1000000000000000000, 1, 24, "1000000000000000000"},
        {INT64_MAX, 1, 24, "9223372036854775807"},
        {INT64_MIN, 1, 24, "-9223372036854775808"},
        {-2147483648LL, 1, 24, "-2147483648"},
        {123456, 1, 4, "123"},
    };
    for (const auto& c : cases) {
        char out[24];
        FormatDecimal(c.value, c.minDigits, out, c.size);
        EXPECT_EQ(std::string(out), c.text) << c.value;
    }
    char out[kMaxDecimalDigits + 1];
    *WriteDecimal(UINT64_MAX, 1, out) = '\0';
    EXPECT_EQ(std::string(out), "18446744073709551615");
    *WriteDecimal(42, 25, out) = '\0';
    EXPECT_EQ(std::string(out), "00000000000000000042") << "at most kMaxDecimalDigits";
}

// The fixed-point digits against division, at every power of ten's edges and a stride through the
// rest (the whole range was checked once when the method was chosen).
TEST(WriteNineDigits, EveryGroupAsDivisionWritesIt) {
    auto byDivision = [](uint32_t group) {
        std::string text(9, '0');
        for (int i = 8; i >= 0; --i, group /= 10)
            text[static_cast<std::size_t>(i)] = static_cast<char>('0' + group % 10);
        return text;
    };
    std::vector<uint32_t> groups = {999999999u, 123456789u, 900000000u, 99999999u, 100000001u};
    for (uint32_t power = 1; power <= 100000000u; power *= 10) {
        for (uint32_t digit = 1; digit <= 9; ++digit) {
            groups.push_back(digit * power);
            groups.push_back(digit * power - 1);
        }
    }
    for (uint32_t group = 0; group < kTenToTheNine; group += 997) groups.push_back(group);
    for (uint32_t group : groups) {
        char out[9];
        ASSERT_EQ(WriteNineDigits(group, out), out + 9);
        ASSERT_EQ(std::string(out, 9), byDivision(group)) << group;
    }
}

// Any number of leading zeros is read; a number past the limit reads as limit + 1 however long.
TEST(ReadBoundedDecimal, LeadingZerosRefusedPastNineDigits) {
    const std::string kZeros(100, '0');
    const struct {
        std::string text;
        bool read;
        int number;
        std::size_t end;
    } cases[] = {
        {"63", true, 63, 2},
        {"0000000063", true, 63, 10},
        {kZeros + "8", true, 8, 101},
        {kZeros, true, 0, 100},
        {"64", true, 64, 2},
        {"65", true, 65, 2},
        {"99999999999999999999999999", true, 65, 26},
        {kZeros + "1" + kZeros, true, 65, 201},
        {"4:3", true, 4, 1},
        {"", false, 0, 0},
        {":3", false, 0, 0},
        {"+8", false, 0, 0},
    };
    for (const auto& c : cases) {
        std::size_t at = 0;
        int number = -1;
        EXPECT_EQ(ReadBoundedDecimal(c.text, &at, 64, &number), c.read) << c.text;
        EXPECT_EQ(number, c.number) << c.text;
        EXPECT_EQ(at, c.end) << c.text;
    }
}

}  // namespace
}  // namespace cv
