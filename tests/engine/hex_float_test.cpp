// Hexadecimal floating text: read into the exact value the one rounding core takes, and written
// back from bits as %a writes it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "number/binary_float.h"
#include "number/float_parse.h"
#include "number/format_rules.h"
#include "number/hex_float.h"

namespace {

using cv::BinaryFormat;

struct ParseCase {
    BinaryFormat format;
    const char* input;
    uint64_t bits;
    bool inexact;
    bool overflow;
    bool underflow;
};

const ParseCase kParseCases[] = {
    {cv::kDoubleFormat, "0x1.8p3", 0x4028000000000000, false, false, false},
    {cv::kDoubleFormat, "-0x1p-1074", 0x8000000000000001, false, false, false},
    {cv::kSingleFormat, "0X1.FFFFFEP+127", 0x7F7FFFFF, false, false, false},
    {cv::kDoubleFormat, "0x1p-1075", 0, true, false, true},  // the tie goes to the even zero
    {cv::kDoubleFormat, "0x1.fffffffffffff8p1023", 0x7FF0000000000000, true, true, false},
    {cv::kDoubleFormat, "0x.8p1", 0x3FF0000000000000, false, false, false},
    {cv::kDoubleFormat, "+0x10.p-4", 0x3FF0000000000000, false, false, false},
    {cv::kDoubleFormat, "-0x0p0", 0x8000000000000000, false, false, false},
    {cv::kSingleFormat, "0x1.000001p0", 0x3F800000, true, false, false},
};

TEST(HexFloat, ParsedValuesRoundAsDecimalsDo) {
    for (const ParseCase& c : kParseCases) {
        cv::DecimalNumber number;
        ASSERT_EQ(cv::ParseHexFloat(c.input, std::strlen(c.input), &number), cv::HexFloatResult::kAccepted)
            << c.input;
        const cv::LayoutConversion result = cv::ConvertDecimalToLayout(c.format, number);
        EXPECT_EQ(result.bits, c.bits) << c.input;
        EXPECT_EQ(result.inexact, c.inexact) << c.input;
        EXPECT_EQ(result.overflow, c.overflow) << c.input;
        EXPECT_EQ(result.underflow, c.underflow) << c.input;
    }
}

TEST(HexFloat, TextsOfOtherFormsAreNotHexFloats) {
    const char* const kTexts[] = {"0x1",     "0x3FF0000000000000", "0x.p1",    "0x1p",    "0x1p+", "1p3",
                                  "0x1.8e3", "0x1.8p3.5",          "0x1..8p3", "--0x1p0", "0x1p0x"};
    for (const char* text : kTexts) {
        cv::DecimalNumber number;
        EXPECT_EQ(cv::ParseHexFloat(text, std::strlen(text), &number), cv::HexFloatResult::kNotHexFloat)
            << text;
    }
    cv::DecimalNumber number;
    EXPECT_EQ(cv::ParseHexFloat("0x1p-99999", 10, &number), cv::HexFloatResult::kExponentOutOfRange);
    EXPECT_EQ(cv::ParseHexFloat("0x0p-99999999999999999999", 25, &number), cv::HexFloatResult::kAccepted);
}

struct WriteCase {
    BinaryFormat format;
    uint64_t bits;
    const char* text;  // "" for none
};

const WriteCase kWriteCases[] = {
    {cv::kDoubleFormat, 0x3FF0000000000000, "0x1p+0"},
    {cv::kDoubleFormat, 0x3FB999999999999A, "0x1.999999999999ap-4"},  // 0.1
    {cv::kDoubleFormat, 0x0000000000000001, "0x0.0000000000001p-1022"},
    {cv::kDoubleFormat, 0x8000000000000000, "-0x0p+0"},
    {cv::kDoubleFormat, 0x0000000000000000, "0x0p+0"},
    {cv::kDoubleFormat, 0x7FF0000000000000, ""},
    {cv::kDoubleFormat, 0x7FF8000000000000, ""},
    {cv::kSingleFormat, 0x7F7FFFFF, "0x1.fffffep+127"},
    {cv::kHalfFormat, 0x7BFF, "0x1.ffcp+15"},  // ten bits left-aligned in three hex digits
    {cv::kHalfFormat, 0x0001, "0x0.004p-14"},
    {BinaryFormat{4, 3}, 0x3C, "0x1.8p+0"},  // 1.5
    {BinaryFormat{4, 3}, 0x01, "0x0.2p-6"},
    {cv::kE8M0FnuFormat, 0x00, "0x1p-127"},
    {cv::kE8M0FnuFormat, 0xFF, ""},
};

TEST(HexFloat, WrittenAsPercentAWritesThem) {
    for (const WriteCase& c : kWriteCases) {
        std::string text;
        EXPECT_EQ(cv::AppendHexFloat(c.format, c.bits, &text), c.text[0] != '\0') << c.text;
        EXPECT_EQ(text, c.text);
    }
}

}  // namespace
