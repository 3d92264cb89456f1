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
    // Far past every range: as far-out decimals round, not refused.
    {cv::kDoubleFormat, "0x1p40001", 0x7FF0000000000000, true, true, false},
    {cv::kDoubleFormat, "-0x1p-99999999999999999999", 0x8000000000000000, true, false, true},
    {cv::kDoubleFormat, "0x0.00001p-40000", 0, true, false, true},
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
    EXPECT_EQ(cv::ParseHexFloat("0x0p-99999999999999999999", 25, &number), cv::HexFloatResult::kAccepted);
}

// A hex float lying far out or with many digits was refused; digit by digit its mantissa also took
// time growing with the square of its length.
TEST(HexFloat, FarOutOrLongValuesWereRefused) {
    const std::string ones = "0x1." + std::string(10001, 'f') + "p0";  // just below 2
    const std::string one = "0x1" + std::string(100000, '0') + "p-400000";
    const struct {
        std::string text;
        uint64_t bits;
        const char* error;
    } kCases[] = {
        {"0x1p-40005", 0, "-0x1p-40005"},
        {"-0x3.0p-99999999999999999", 0x8000000000000000, "0x3p-99999999999999999"},
        {ones, 0x4000000000000000, nullptr},
        {one, 0x3FF0000000000000, "0"},
    };
    for (const auto& c : kCases) {
        cv::DecimalNumber number;
        ASSERT_EQ(cv::ParseHexFloat(c.text.data(), c.text.size(), &number), cv::HexFloatResult::kAccepted)
            << c.text.substr(0, 20);
        const cv::LayoutConversion result = cv::ConvertDecimalToLayout(cv::kDoubleFormat, number);
        EXPECT_EQ(result.bits, c.bits) << c.text.substr(0, 20);
        if (c.error == nullptr) continue;
        std::string error;
        cv::AppendConversionError(cv::kDoubleFormat, number, result.bits, &error);
        EXPECT_EQ(error, c.error) << c.text.substr(0, 20);
    }
    const std::string tooLong = "0x" + std::string(cv::kMostHexFloatDigits + 1, '1') + "p0";
    cv::DecimalNumber number;
    EXPECT_EQ(cv::ParseHexFloat(tooLong.data(), tooLong.size(), &number), cv::HexFloatResult::kTooManyDigits);
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
