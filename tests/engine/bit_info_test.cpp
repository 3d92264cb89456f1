#include "engine/bit_info.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "number/format_real.h"
#include "tests/engine/alert_recorder.h"

namespace cv {
namespace {

struct InfoCase {
    uint32_t dataType;
    uint32_t byteCount;
    uint64_t value;
    uint32_t cellWord;
    const char* expected;
};

std::string RunInfoBox(uint32_t dataType, uint32_t byteCount, uint64_t value, uint32_t cellWord) {
    ResetState();
    DataType = dataType;
    ByteCount = byteCount;
    SetValue64(value);
    EXPECT_EQ(0, InfoBox(nullptr, cellWord, cellWord >> 31));
    EXPECT_EQ(value, Value64()) << "InfoBox must not change the bits";
    return MessageText;
}

#define EXP_LINES(weight, e, bias, x, point)                                                   \
    "Exponent value when set:  2**" weight "\r\nTrue binary exponent:     " e "-" bias " = " x \
    "\r\nDecimal point:\r\n  " point " of the hidden bit"

const InfoCase kInfoCases[] = {
    // Reals of 4 bytes: 1.0 and its sign, exponent and mantissa bits.
    {IDM_REAL, 4, 0x3F800000, 31, "Bit number 31 is not set.\r\n\r\nValue when set:  Sign bit (Negative)"},
    {IDM_REAL, 4, 0x3F800000, 30,
     "Bit number 30 is not set.\r\n\r\n" EXP_LINES("7 = 128", "127", "127", "0", "0 places right")},
    {IDM_REAL, 4, 0x3F800000, 23 | kCellSetFlag,
     "Bit number 23 is set.\r\n\r\n" EXP_LINES("0 = 1", "127", "127", "0", "0 places right")},
    {IDM_REAL, 4, 0x3F800000, 22, "Bit number 22 is not set.\r\n\r\nValue when set: 2**-1 = 0.5"},
    {IDM_REAL, 4, 0x3F800000, 0,
     "Bit number 00 is not set.\r\n\r\nValue when set: 2**-23 = 1.1920928955078125e-007"},
    // The decimal-point line for x = -2, -1 and 2.
    {IDM_REAL, 4, 0x3EC00000, 23 | kCellSetFlag,
     "Bit number 23 is set.\r\n\r\n" EXP_LINES("0 = 1", "125", "127", "-2", "1 place left")},
    {IDM_REAL, 4, 0x3F400000, 24 | kCellSetFlag,
     "Bit number 24 is set.\r\n\r\n" EXP_LINES("1 = 2", "126", "127", "-1", "0 places left")},
    {IDM_REAL, 4, 0x40C00000, 30 | kCellSetFlag,
     "Bit number 30 is set.\r\n\r\n" EXP_LINES("7 = 128", "129", "127", "2", "2 places right")},
    // The smallest and largest powers a single's mantissa bit can add.
    {IDM_REAL, 4, 0x00800000, 0,
     "Bit number 00 is not set.\r\n\r\nValue when set: 2**-149 = 1.4012984643248171e-045"},
    {IDM_REAL, 4, 0x7F000000, 22,
     "Bit number 22 is not set.\r\n\r\nValue when set: 2**126 = 8.5070591730234616e+037"},
    // Reals of 8 bytes.
    {IDM_REAL, 8, 0x3FF0000000000000, 62,
     "Bit number 62 is not set.\r\n\r\n" EXP_LINES("10 = 1024", "1023", "1023", "0", "0 places right")},
    {IDM_REAL, 8, 0x3FF0000000000000, 52 | kCellSetFlag,
     "Bit number 52 is set.\r\n\r\n" EXP_LINES("0 = 1", "1023", "1023", "0", "0 places right")},
    {IDM_REAL, 8, 0x3FF0000000000000, 51, "Bit number 51 is not set.\r\n\r\nValue when set: 2**-1 = 0.5"},
    {IDM_REAL, 8, 0x3FF0000000000000, 63,
     "Bit number 63 is not set.\r\n\r\nValue when set:  Sign bit (Negative)"},
    {IDM_REAL, 8, 0xC000000000000000, 63 | kCellSetFlag,
     "Bit number 63 is set.\r\n\r\nValue when set:  Sign bit (Negative)"},
    {IDM_REAL, 8, 0x7FE0000000000000, 61 | kCellSetFlag,
     "Bit number 61 is set.\r\n\r\n" EXP_LINES("9 = 512", "2046", "1023", "1023", "1023 places right")},
    {IDM_REAL, 8, 0x0010000000000000, 52 | kCellSetFlag,
     "Bit number 52 is set.\r\n\r\n" EXP_LINES("0 = 1", "1", "1023", "-1022", "1021 places left")},
    // Mantissa bits of a double with the smallest normal exponent: subnormal powers of two.
    {IDM_REAL, 8, 0x0010000000000000, 0,
     "Bit number 00 is not set.\r\n\r\nValue when set: 2**-1074 = 4.9406564584124654e-324"},
    {IDM_REAL, 8, 0x0010000000000000, 51,
     "Bit number 51 is not set.\r\n\r\nValue when set: 2**-1023 = 1.1125369292536007e-308"},
    {IDM_REAL, 8, 0x7FE0000000000000, 51,
     "Bit number 51 is not set.\r\n\r\nValue when set: 2**1022 = 4.4942328371557898e+307"},
    // Special reals: the same text for every bit.
    {IDM_REAL, 4, 0x00000000, 5, "Bit number 05 is not set.\r\n\r\n+0.0"},
    {IDM_REAL, 4, 0x80000000, 31 | kCellSetFlag, "Bit number 31 is set.\r\n\r\n-0.0"},
    {IDM_REAL, 4, 0x00000001, 0 | kCellSetFlag, "Bit number 00 is set.\r\n\r\n+Denormalized Number"},
    {IDM_REAL, 4, 0xFF800000, 27 | kCellSetFlag, "Bit number 27 is set.\r\n\r\n-Infinity"},
    {IDM_REAL, 4, 0x7FC00000, 1, "Bit number 01 is not set.\r\n\r\n+Not a Number"},
    {IDM_REAL, 8, 0x0000000000000001, 40, "Bit number 40 is not set.\r\n\r\n+Denormalized Number"},
    {IDM_REAL, 8, 0xFFF0000000000001, 63 | kCellSetFlag, "Bit number 63 is set.\r\n\r\n-Not a Number"},
    // Integers and characters.
    {IDM_SIGNED, 1, 0, 7, "Bit number 07 is not set.\r\n\r\nValue when set:  Sign bit (Negative)"},
    {IDM_SIGNED, 1, 0, 6, "Bit number 06 is not set.\r\n\r\nInteger value when set:  2**6 = 64"},
    {IDM_SIGNED, 2, 0x8000, 15 | kCellSetFlag,
     "Bit number 15 is set.\r\n\r\nValue when set:  Sign bit (Negative)"},
    {IDM_SIGNED, 4, 0, 30, "Bit number 30 is not set.\r\n\r\nInteger value when set:  2**30 = 1073741824"},
    {IDM_SIGNED, 4, 0, 31, "Bit number 31 is not set.\r\n\r\nValue when set:  Sign bit (Negative)"},
    {IDM_UNSIGNED, 4, 0, 31, "Bit number 31 is not set.\r\n\r\nInteger value when set:  2**31 = 2147483648"},
    {IDM_UNSIGNED, 1, 0xFF, 7 | kCellSetFlag,
     "Bit number 07 is set.\r\n\r\nInteger value when set:  2**7 = 128"},
    {IDM_UNSIGNED, 2, 0, 0, "Bit number 00 is not set.\r\n\r\nInteger value when set:  2**0 = 1"},
    {IDM_ANSI, 2, 0, 9, "Bit number 09 is not set.\r\n\r\nByte value when set:  2**1 = 2"},
    {IDM_OEM, 8, 0, 63, "Bit number 63 is not set.\r\n\r\nByte value when set:  2**7 = 128"},
    {IDM_ANSI, 1, 1, 0 | kCellSetFlag, "Bit number 00 is set.\r\n\r\nByte value when set:  2**0 = 1"},
    // Bits above the view (the focus bit can stay there after a size change): no weight at all.
    {IDM_SIGNED, 4, 0, 40, "Bit number 40 is not set.\r\n\r\nBit 40 lies outside the current 4-byte value."},
    {IDM_SIGNED, 1, 0x100, 8 | kCellSetFlag,
     "Bit number 08 is set.\r\n\r\nBit 08 lies outside the current 1-byte value."},
    {IDM_UNSIGNED, 4, 0, 32,
     "Bit number 32 is not set.\r\n\r\nBit 32 lies outside the current 4-byte value."},
    {IDM_UNSIGNED, 2, 0, 63,
     "Bit number 63 is not set.\r\n\r\nBit 63 lies outside the current 2-byte value."},
    {IDM_OEM, 2, 0, 16, "Bit number 16 is not set.\r\n\r\nBit 16 lies outside the current 2-byte value."},
    {IDM_REAL, 4, 0x3F800000, 52,
     "Bit number 52 is not set.\r\n\r\nBit 52 lies outside the current 4-byte value."},
    {IDM_REAL, 4, 0x00000000, 32,
     "Bit number 32 is not set.\r\n\r\nBit 32 lies outside the current 4-byte value."},
    // Numbers no cell has: only the low 16 bits count, taken as signed.
    {IDM_UNSIGNED, 4, 0, 64,
     "Bit number 64 is not set.\r\n\r\nBit 64 lies outside the current 4-byte value."},
    {IDM_ANSI, 8, 0, 0x7FFF,
     "Bit number 32767 is not set.\r\n\r\nBit 32767 lies outside the current 8-byte value."},
    {IDM_SIGNED, 4, 0, 0xFFFF,
     "Bit number -1 is not set.\r\n\r\nBit -1 lies outside the current 4-byte value."},
    {IDM_REAL, 8, 0x3FF0000000000000, 0x7FFF0000u | 62,
     "Bit number 62 is not set.\r\n\r\n" EXP_LINES("10 = 1024", "1023", "1023", "0", "0 places right")},
};

TEST(InfoBox, ComposesTheTextOfEveryRole) {
    AlertRecorder alerts;
    for (const InfoCase& c : kInfoCases) {
        EXPECT_EQ(c.expected, RunInfoBox(c.dataType, c.byteCount, c.value, c.cellWord))
            << "type " << c.dataType << " size " << c.byteCount << " value " << std::hex << c.value
            << " cell word " << c.cellWord;
    }
    EXPECT_EQ("", alerts.Log());
}

TEST(InfoBox, WorkedExampleHasSixLines) {
    const std::string text = RunInfoBox(IDM_REAL, 4, 0x3F800000, 30);
    EXPECT_EQ(
        "Bit number 30 is not set.\r\n"
        "\r\n"
        "Exponent value when set:  2**7 = 128\r\n"
        "True binary exponent:     127-127 = 0\r\n"
        "Decimal point:\r\n"
        "  0 places right of the hidden bit",
        text);
}

// Every mantissa bit of every normal double exponent adds exactly 2**p, subnormal powers included.
TEST(InfoBox, MantissaPowerIsExactForEveryDoubleExponent) {
    char expected[kWorkTextSize];
    for (int e = 1; e <= 2046; ++e) {
        // Bits 0 and 51 of every exponent reach every power from 2**-1074 to 2**1022; all bits of
        // the exponents at the ends.
        const bool allBits = e <= 2 || e == 1023 || e >= 2045;
        for (int n = 0; n < 52; ++n) {
            if (!allBits && n != 0 && n != 51) continue;
            const int p = e - 1023 + n - 52;
            FormatReal(std::ldexp(1.0, p), 20, expected, sizeof expected);
            const std::string want = "Value when set: 2**" + std::to_string(p) + " = " + expected;
            const std::string text = RunInfoBox(IDM_REAL, 8, static_cast<uint64_t>(e) << 52, n);
            ASSERT_EQ(want, text.substr(text.find("\r\n\r\n") + 4)) << "e " << e << " n " << n;
        }
    }
}

TEST(InfoBox, MantissaPowerIsExactForEverySingleExponent) {
    char expected[kWorkTextSize];
    for (int e = 1; e <= 254; ++e) {
        for (int n = 0; n < 23; ++n) {
            const int p = e - 127 + n - 23;
            FormatReal(std::ldexp(1.0, p), 20, expected, sizeof expected);
            const std::string want = "Value when set: 2**" + std::to_string(p) + " = " + expected;
            const std::string text = RunInfoBox(IDM_REAL, 4, static_cast<uint64_t>(e) << 23, n);
            ASSERT_EQ(want, text.substr(text.find("\r\n\r\n") + 4)) << "e " << e << " n " << n;
        }
    }
}

// The texts of every cell, of every type and size, stay within MessageText.
TEST(InfoBox, EveryCellFitsMessageText) {
    const uint64_t values[] = {0, ~0ull, 0x7FEFFFFFFFFFFFFF, 0x0010000000000000, 0xFF7FFFFF, 0x80800000};
    const uint32_t types[] = {IDM_ANSI, IDM_OEM, IDM_SIGNED, IDM_UNSIGNED, IDM_REAL};
    const uint32_t sizes[] = {1, 2, 4, 8};
    for (uint32_t type : types) {
        for (uint32_t size : sizes) {
            if (!TypeAllowsSize(type, size)) continue;
            for (uint64_t value : values) {
                for (uint32_t n = 0; n < 64; ++n) {
                    const std::string text = RunInfoBox(type, size, value, n);
                    ASSERT_LT(text.size(), kMessageTextSize);
                    ASSERT_EQ(0u, text.find("Bit number ")) << text;
                    ASSERT_EQ(std::string::npos, text.find("2**32 ")) << text;
                }
            }
        }
    }
}

TEST(InfoBox, UnexpectedDataTypeIsAnInternalError) {
    AlertRecorder alerts;
    RunInfoBox(0, 4, 0, 3);
    EXPECT_STREQ("Unexpected Data Type in InfoBox", MessageText);
    EXPECT_EQ("beep;beep;beep;box[Corvane Internal Error|Unexpected Data Type in InfoBox|64];", alerts.Log());
}

// A real of a size no real has: the classification reports it, and no stale WorkText is shown.
TEST(InfoBox, RealOfUnexpectedSizeShowsTheErrorText) {
    AlertRecorder alerts;
    ResetState();
    CopyText(WorkText, "stale");
    DataType = IDM_REAL;
    ByteCount = 2;
    SetValue64(0x3C00);
    InfoBox(nullptr, 3, 0);
    EXPECT_EQ(0, std::strncmp(MessageText, "Unexpected Byte Count in ", 25)) << MessageText;
    EXPECT_EQ(nullptr, std::strstr(MessageText, "stale"));
    EXPECT_NE(std::string::npos, alerts.Log().find("Corvane Internal Error"));
}

TEST(ComposeReport, ComposesCaptionValueHexAndBits) {
    struct ReportCase {
        uint32_t byteCount;
        uint64_t value;
        const char* caption;
        const char* valueText;
        const char* hexText;
        const char* expected;
    };
    const ReportCase cases[] = {
        {2, 4660, "Corvane - Unsigned Integer", "4660", "1234",
         "Corvane - Unsigned Integer\r\n\r\nValue:\t4660\r\nHex:\t1234\r\n\r\nBinary:\t0001001000110100"},
        {1, 0xFFFFFF81, "Corvane - Signed Integer", "-127", "81",
         "Corvane - Signed Integer\r\n\r\nValue:\t-127\r\nHex:\t81\r\n\r\nBinary:\t10000001"},
        {4, 0x3F800000, "Corvane - Floating-Point Real", "1.", "3F800000",
         "Corvane - Floating-Point Real\r\n\r\nValue:\t1.\r\nHex:\t3F800000\r\n\r\n"
         "Binary:\t00111111100000000000000000000000"},
        // Eight bytes: the low half first, as the upper row of cells.
        {8, 0x0000000180000000, "Corvane - ANSI Character", "       ", "0000000180000000",
         "Corvane - ANSI Character\r\n\r\nValue:\t       \r\nHex:\t0000000180000000\r\n\r\n"
         "Binary:\t10000000000000000000000000000000\r\n\t00000000000000000000000000000001"},
        // Longer inputs are cut to 39, 31 and 16 characters.
        {1, 0, "0123456789012345678901234567890123456789ABC", "0123456789012345678901234567890123",
         "0123456789ABCDEF01",
         "012345678901234567890123456789012345678\r\n\r\nValue:\t0123456789012345678901234567890\r\n"
         "Hex:\t0123456789ABCDEF\r\n\r\nBinary:\t00000000"},
        {4, 0, "", "", "", "\r\n\r\nValue:\t\r\nHex:\t\r\n\r\nBinary:\t00000000000000000000000000000000"},
    };
    for (const ReportCase& c : cases) {
        ResetState();
        ByteCount = c.byteCount;
        SetValue64(c.value);
        char out[kReportSize];
        ComposeReport(c.caption, c.valueText, c.hexText, out);
        EXPECT_STREQ(c.expected, out);
    }
}

TEST(ComposeReport, LongestReportFits) {
    ResetState();
    ByteCount = 8;
    SetValue64(~0ull);
    const std::string longText(300, 'W');
    char out[kReportSize + 8];
    std::memset(out, '#', sizeof out);
    ComposeReport(longText.c_str(), longText.c_str(), longText.c_str(), out);
    EXPECT_EQ(39u + 11 + 31 + 7 + 16 + 12 + 64 + 3, std::strlen(out));
    for (std::size_t i = kReportSize; i < sizeof out; ++i) EXPECT_EQ('#', out[i]);
}

}  // namespace
}  // namespace cv
