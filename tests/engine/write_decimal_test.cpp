#include "number/write_decimal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

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

}  // namespace
}  // namespace cv
