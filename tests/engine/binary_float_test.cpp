// Every IEEE layout that corvane-cli explains: tables of exact cases (decimal in; bits, exact value,
// shortest text, flags, error out) and of classes and neighbours.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "number/binary_float.h"
#include "number/float_parse.h"

namespace {

using cv::BinaryFormat;

constexpr BinaryFormat kMini{4, 3};  // fp:4:3

struct ConversionCase {
    BinaryFormat format;
    const char* input;
    uint64_t bits;
    const char* exact;  // nullptr: not checked here (long)
    const char* shortest;
    const char* flags;  // "" when exact
};

const ConversionCase kConversions[] = {
    {cv::kHalfFormat, "0", 0x0000, "0", "0", ""},
    {cv::kHalfFormat, "-0", 0x8000, "-0", "-0", ""},
    {cv::kHalfFormat, "1", 0x3C00, "1", "1", ""},
    {cv::kHalfFormat, "65504", 0x7BFF, "65504", "65500", ""},
    {cv::kHalfFormat, "65519.99", 0x7BFF, "65504", "65500", "inexact"},
    {cv::kHalfFormat, "65520", 0x7C00, "inf", "inf", "inexact overflow"},
    {cv::kHalfFormat, "-1e400", 0xFC00, "-inf", "-inf", "inexact overflow"},
    {cv::kHalfFormat, "0.1", 0x2E66, "0.0999755859375", "0.1", "inexact"},
    {cv::kHalfFormat, "2049", 0x6800, "2048", "2048", "inexact"},  // ties to even: down
    {cv::kHalfFormat, "2051", 0x6802, "2052", "2052", "inexact"},  // and up
    {cv::kHalfFormat, "3e-8", 0x0001, "0.000000059604644775390625", "6e-8", "inexact underflow"},
    {cv::kHalfFormat, "1e-8", 0x0000, "0", "0", "inexact underflow"},
    {cv::kHalfFormat, "0.000060975551605224609375", 0x03FF, "0.000060975551605224609375", "6.1e-5", ""},
    {cv::kHalfFormat, "6.1035e-5", 0x0400, "0.00006103515625", "6.104e-5", "inexact"},
    {cv::kHalfFormat, "inf", 0x7C00, "inf", "inf", ""},
    {cv::kHalfFormat, "-nan", 0xFE00, "nan", "-nan", ""},
    {cv::kBrainFormat, "0.333333333333333333333", 0x3EAB, "0.333984375", "0.334", "inexact"},
    {cv::kBrainFormat, "3.3961775e38", 0x7F7F, "338953138925153547590470800371487866880", "3.39e38",
     "inexact"},
    {cv::kBrainFormat, "3.40e38", 0x7F80, "inf", "inf", "inexact overflow"},
    {kMini, "0.5", 0x30, "0.5", "0.5", ""},
    {kMini, "240", 0x77, "240", "240", ""},
    {kMini, "248", 0x78, "inf", "inf", "inexact overflow"},  // the tie goes to the even infinity
    {kMini, "0.001953125", 0x01, "0.001953125", "0.002", ""},
    {kMini, "0.0029296875", 0x02, "0.00390625", "0.004", "inexact underflow"},  // tie to even
    {kMini, "0.015625", 0x08, "0.015625", "0.016", ""},
    {cv::kSingleFormat, "0.1", 0x3DCCCCCD, "0.100000001490116119384765625", "0.1", "inexact"},
    {cv::kSingleFormat, "16777217", 0x4B800000, "16777216", "16777216", "inexact"},
    {cv::kSingleFormat, "16777219", 0x4B800002, "16777220", "16777220", "inexact"},
    {cv::kSingleFormat, "3.4028235e38", 0x7F7FFFFF, "340282346638528859811704183484516925440", "3.4028235e38",
     "inexact"},
    {cv::kSingleFormat, "3.4028236e38", 0x7F800000, "inf", "inf", "inexact overflow"},
    {cv::kSingleFormat, "1e-46", 0x00000000, "0", "0", "inexact underflow"},
    {cv::kSingleFormat, "1e-40", 0x000116C2, nullptr, "1e-40", "inexact underflow"},
    // Below the smallest normal, but rounds to it: not tiny after rounding, so no underflow.
    {cv::kSingleFormat, "1.1754943508222875e-38", 0x00800000, nullptr, "1.1754944e-38", "inexact"},
    {cv::kSingleFormat,
     "0."
     "0000000000000000000000000000000000000000000014012984643248170709237295832899161312802619418765157717570"
     "6828388979108268586060148663818836212158203125",
     0x00000001, nullptr, "1e-45", ""},
    {cv::kSingleFormat,
     "1."
     "1754942106924410754870294448492873488270524287458933338571745305715888704756189042655023513361811637878"
     "4179687e-38",
     0x007FFFFF, nullptr, "1.1754942e-38", "inexact underflow"},
    {cv::kDoubleFormat, "0.1", 0x3FB999999999999A,
     "0.1000000000000000055511151231257827021181583404541015625", "0.1", "inexact"},
    {cv::kDoubleFormat, "9007199254740993", 0x4340000000000000, "9007199254740992", "9007199254740992",
     "inexact"},
    {cv::kDoubleFormat, "9007199254740995", 0x4340000000000002, "9007199254740996", "9007199254740996",
     "inexact"},
    {cv::kDoubleFormat, "1.7976931348623157e308", 0x7FEFFFFFFFFFFFFF, nullptr, "1.7976931348623157e308",
     "inexact"},
    {cv::kDoubleFormat, "1.7976931348623159e308", 0x7FF0000000000000, "inf", "inf", "inexact overflow"},
    {cv::kDoubleFormat, "2.2250738585072014e-308", 0x0010000000000000, nullptr, "2.2250738585072014e-308",
     "inexact"},
    {cv::kDoubleFormat, "4.9406564584124654e-324", 0x0000000000000001, nullptr, "5e-324",
     "inexact underflow"},
    {cv::kDoubleFormat, "2.4703282292062327e-324", 0x0000000000000000, "0", "0", "inexact underflow"},
    {cv::kDoubleFormat, "2.4703282292062328e-324", 0x0000000000000001, nullptr, "5e-324",
     "inexact underflow"},
    {cv::kDoubleFormat, "1e400", 0x7FF0000000000000, "inf", "inf", "inexact overflow"},
    {cv::kDoubleFormat, "123456789e-5", 0x40934A4584F4C6E7, nullptr, "1234.56789", "inexact"},
};

std::string Flags(const cv::FloatConversion& conversion) {
    std::string flags;
    if (conversion.inexact) flags += "inexact ";
    if (conversion.overflow) flags += "overflow ";
    if (conversion.underflow) flags += "underflow ";
    if (!flags.empty()) flags.pop_back();
    return flags;
}

TEST(BinaryFloat, ConvertsAndWritesTheTableExactly) {
    for (const ConversionCase& c : kConversions) {
        SCOPED_TRACE(c.input);
        cv::DecimalNumber number;
        ASSERT_TRUE(cv::ParseDecimal(c.input, std::strlen(c.input), &number));
        const cv::FloatConversion conversion = cv::ConvertDecimal(c.format, number);
        EXPECT_EQ(conversion.bits, c.bits);
        EXPECT_EQ(Flags(conversion), c.flags);
        std::string exact, shortest;
        cv::AppendExactValue(c.format, c.bits, &exact);
        cv::AppendShortest(c.format, c.bits, &shortest);
        if (c.exact != nullptr) {
            EXPECT_EQ(exact, c.exact);
        }
        EXPECT_EQ(shortest, c.shortest);
    }
}

struct ClassCase {
    BinaryFormat format;
    uint64_t bits;
    cv::FloatClass floatClass;
    const char* shortest;
    const char* previous;
    const char* next;
    const char* ulp;  // "" for infinity and NaN
};

const ClassCase kClasses[] = {
    {cv::kHalfFormat, 0x0000, cv::FloatClass::kZero, "0", "-0.000000059604644775390625",
     "0.000000059604644775390625", "0.000000059604644775390625"},
    {cv::kHalfFormat, 0x8000, cv::FloatClass::kZero, "-0", "-0.000000059604644775390625",
     "0.000000059604644775390625", "0.000000059604644775390625"},
    {cv::kHalfFormat, 0x8001, cv::FloatClass::kSubnormal, "-6e-8", "-0.00000011920928955078125", "-0",
     "0.000000059604644775390625"},
    {cv::kHalfFormat, 0x0400, cv::FloatClass::kNormal, "6.104e-5", "0.000060975551605224609375",
     "0.000061094760894775390625", "0.000000059604644775390625"},
    {cv::kHalfFormat, 0x3C00, cv::FloatClass::kNormal, "1", "0.99951171875", "1.0009765625", "0.0009765625"},
    {cv::kHalfFormat, 0x7BFF, cv::FloatClass::kNormal, "65500", "65472", "inf", "32"},
    {cv::kHalfFormat, 0x7C00, cv::FloatClass::kInfinity, "inf", "65504", "inf", ""},
    {cv::kHalfFormat, 0xFC00, cv::FloatClass::kInfinity, "-inf", "-inf", "-65504", ""},
    {cv::kHalfFormat, 0x7E00, cv::FloatClass::kQuietNan, "nan", "", "", ""},
    {cv::kHalfFormat, 0x7E01, cv::FloatClass::kQuietNan, "0x7E01", "", "", ""},
    {cv::kHalfFormat, 0x7C01, cv::FloatClass::kSignalingNan, "0x7C01", "", "", ""},
    {kMini, 0x77, cv::FloatClass::kNormal, "240", "224", "inf", "16"},
    {kMini, 0x07, cv::FloatClass::kSubnormal, "0.014", "0.01171875", "0.015625", "0.001953125"},
    {cv::kSingleFormat, 0x7F7FFFFF, cv::FloatClass::kNormal, "3.4028235e38",
     "340282326356119256160033759537265639424", "inf", "20282409603651670423947251286016"},
    {cv::kDoubleFormat, 0x3FF0000000000000, cv::FloatClass::kNormal, "1",
     "0.99999999999999988897769753748434595763683319091796875",
     "1.0000000000000002220446049250313080847263336181640625",
     "0.0000000000000002220446049250313080847263336181640625"},
    {cv::kDoubleFormat, 0xFFF0000000000000, cv::FloatClass::kInfinity, "-inf", "-inf",
     "-179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632766878171"
     "5404589535143824642343213268894641827684675467035375169860499105765512820762454900903893289440758685084"
     "5513394230458323690322294816580855933212334827479782620414472316873817718091929988125040402618412485836"
     "8",
     ""},
};

TEST(BinaryFloat, ClassifiesAndFindsTheNeighbours) {
    for (const ClassCase& c : kClasses) {
        SCOPED_TRACE(c.shortest);
        const cv::FloatFields fields = cv::DecodeFloat(c.format, c.bits);
        EXPECT_EQ(static_cast<int>(fields.floatClass), static_cast<int>(c.floatClass));
        std::string shortest, previous, next, ulp;
        cv::AppendShortest(c.format, c.bits, &shortest);
        EXPECT_EQ(shortest, c.shortest);
        if (*c.previous == '\0') continue;
        cv::AppendExactValue(c.format, cv::NextDown(c.format, c.bits), &previous);
        cv::AppendExactValue(c.format, cv::NextUp(c.format, c.bits), &next);
        EXPECT_EQ(previous, c.previous);
        EXPECT_EQ(next, c.next);
        if (*c.ulp == '\0') continue;
        cv::AppendUlp(c.format, c.bits, &ulp);
        EXPECT_EQ(ulp, c.ulp);
    }
}

struct ErrorCase {
    BinaryFormat format;
    const char* input;
    const char* error;
};

const ErrorCase kErrors[] = {
    {cv::kSingleFormat, "0.1", "0.000000001490116119384765625"},
    {cv::kSingleFormat, "-0.1", "-0.000000001490116119384765625"},
    {cv::kHalfFormat, "65520", "inf"},
    {cv::kHalfFormat, "-65520", "-inf"},
    {cv::kHalfFormat, "1e-8", "-0.00000001"},
    {cv::kHalfFormat, "2049.0000", "-1"},
    {cv::kDoubleFormat, "1e-99999", "-1e-99999"},  // stored 0: the exact error in exponent form
};

TEST(BinaryFloat, WritesTheConversionErrorExactly) {
    for (const ErrorCase& c : kErrors) {
        cv::DecimalNumber number;
        ASSERT_TRUE(cv::ParseDecimal(c.input, std::strlen(c.input), &number));
        std::string error;
        cv::AppendConversionError(c.format, number, cv::ConvertDecimal(c.format, number).bits, &error);
        EXPECT_EQ(error, c.error) << c.input;
    }
}

// The parser clamps exponents far past every layout's range; the error still names the exponent the
// text wrote, however long, with its point, zeros and sign taken into account.
const ErrorCase kErrorsPastTheExponentClamp[] = {
    {cv::kDoubleFormat, "1e-99999999999999999999", "-1e-99999999999999999999"},
    {cv::kDoubleFormat, "0.5e-1000000000000", "-5e-1000000000001"},
    {cv::kDoubleFormat, "1e-1000000000000", "-1e-1000000000000"},
    {cv::kDoubleFormat, "-1e-1000000000001", "1e-1000000000001"},
    {cv::kDoubleFormat, "0.1e-9999999999999999", "-1e-10000000000000000"},
    {cv::kDoubleFormat, "10e-10000000000000000", "-1e-9999999999999999"},
    {cv::kDoubleFormat, "12.340e-99999999999999999999999", "-1.234e-99999999999999999999998"},
    {cv::kDoubleFormat, "1e-0000000000000000000000000000000099999", "-1e-99999"},
    {cv::kDoubleFormat, "7e-0000000000000000000000001000000000000000000000", "-7e-1000000000000000000000"},
    {cv::kSingleFormat, "1e+99999999999999999999", "inf"},
    {cv::kSingleFormat, "-1E99999999999999999999", "-inf"},
    {cv::kSingleFormat, "0.000e-99999999999999999999", "0"},
};

TEST(BinaryFloat, ConversionErrorWrongPastTheExponentClamp) {
    for (const ErrorCase& c : kErrorsPastTheExponentClamp) {
        cv::DecimalNumber number;
        ASSERT_TRUE(cv::ParseDecimal(c.input, std::strlen(c.input), &number));
        std::string error;
        cv::AppendConversionError(c.format, number, cv::ConvertDecimal(c.format, number).bits, &error);
        EXPECT_EQ(error, c.error) << c.input;
    }
}

TEST(BinaryFloat, RefusesMalformedDecimals) {
    for (const char* text :
         {"", "-", ".", "1e", "1e+", "1.2.3", "0x1p3", "1 ", "infinit", "--1", "e5", "1,5"}) {
        cv::DecimalNumber number;
        EXPECT_FALSE(cv::ParseDecimal(text, std::strlen(text), &number)) << text;
    }
}

}  // namespace

struct ModeCase {
    const char* input;
    cv::RoundingMode mode;
    uint64_t bits;  // f32
    const char* flags;
};

const ModeCase kModeCases[] = {
    // 1 + 2^-24 is a tie between 1 and its successor: only ties away from zero goes up.
    {"1.000000059604644775390625", cv::RoundingMode::kEven, 0x3F800000, "inexact"},
    {"1.000000059604644775390625", cv::RoundingMode::kAway, 0x3F800001, "inexact"},
    {"-1.000000059604644775390625", cv::RoundingMode::kAway, 0xBF800001, "inexact"},
    {"1.000000178813934326171875", cv::RoundingMode::kEven, 0x3F800002, "inexact"},
    {"0.1", cv::RoundingMode::kZero, 0x3DCCCCCC, "inexact"},
    {"-0.1", cv::RoundingMode::kZero, 0xBDCCCCCC, "inexact"},
    {"0.1", cv::RoundingMode::kUp, 0x3DCCCCCD, "inexact"},
    {"-0.1", cv::RoundingMode::kUp, 0xBDCCCCCC, "inexact"},
    {"0.1", cv::RoundingMode::kDown, 0x3DCCCCCC, "inexact"},
    {"-0.1", cv::RoundingMode::kDown, 0xBDCCCCCD, "inexact"},
    {"1.5", cv::RoundingMode::kZero, 0x3FC00000, ""},
    {"1e39", cv::RoundingMode::kAway, 0x7F800000, "inexact overflow"},
    {"1e39", cv::RoundingMode::kZero, 0x7F7FFFFF, "inexact overflow"},
    {"1e39", cv::RoundingMode::kUp, 0x7F800000, "inexact overflow"},
    {"1e39", cv::RoundingMode::kDown, 0x7F7FFFFF, "inexact overflow"},
    {"-1e39", cv::RoundingMode::kUp, 0xFF7FFFFF, "inexact overflow"},
    {"-1e39", cv::RoundingMode::kDown, 0xFF800000, "inexact overflow"},
    {"-1e39", cv::RoundingMode::kZero, 0xFF7FFFFF, "inexact overflow"},
    {"1e400", cv::RoundingMode::kZero, 0x7F7FFFFF, "inexact overflow"},
    // Just above the largest finite value, below its rounding boundary: up overflows, nearest not.
    {"3.40282347e38", cv::RoundingMode::kEven, 0x7F7FFFFF, "inexact"},
    {"3.40282347e38", cv::RoundingMode::kUp, 0x7F800000, "inexact overflow"},
    {"1e-50", cv::RoundingMode::kUp, 0x00000001, "inexact underflow"},
    {"1e-50", cv::RoundingMode::kDown, 0x00000000, "inexact underflow"},
    {"-1e-50", cv::RoundingMode::kDown, 0x80000001, "inexact underflow"},
    {"-1e-50", cv::RoundingMode::kAway, 0x80000000, "inexact underflow"},
    {"1e-40", cv::RoundingMode::kUp, 0x000116C3, "inexact underflow"},
    {"1e-40", cv::RoundingMode::kZero, 0x000116C2, "inexact underflow"},
};

TEST(BinaryFloat, RoundsByEveryMode) {
    for (const ModeCase& c : kModeCases) {
        SCOPED_TRACE(std::string(c.input) + " mode " + std::to_string(static_cast<int>(c.mode)));
        cv::DecimalNumber number;
        ASSERT_TRUE(cv::ParseDecimal(c.input, std::strlen(c.input), &number));
        const cv::FloatConversion conversion = cv::ConvertDecimal(cv::kSingleFormat, number, c.mode);
        EXPECT_EQ(conversion.bits, c.bits);
        EXPECT_EQ(Flags(conversion), c.flags);
    }
}
