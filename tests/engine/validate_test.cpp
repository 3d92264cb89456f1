#include "engine/validate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "engine/box_edit.h"
#include "number/binary_float.h"
#include "number/decimal_digits.h"
#include "number/format_real.h"
#include "shell/resources/resource_ids.h"  // window ids that are no mode of ValidateInput
#include "engine/text_to_number.h"
#include "engine/value_text.h"
#include "tests/engine/alert_recorder.h"

namespace cv {
namespace {

uint64_t DoubleBits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

const char kOutOfRange[] =
    "beep;box[Corvane Input Error - Out of Range|The value that you are attempting to enter would exceed "
    "the allowable range for the current data type.|64];";
const char kInvalid[] =
    "beep;box[Corvane Input Error - Invalid Value|The value that you are attempting to enter is not an "
    "allowable representation for the current data type.|64];";

std::string InternalBox(const std::string& text) {
    return "beep;beep;beep;box[Corvane Internal Error|" + text + "|64];";
}

// ---------------------------------------------------------------------------------------------
// Conversions

TEST(TextToDouble, GrammarSignsAndLimits) {
    const struct {
        const char* text;
        uint64_t bits;
    } cases[] = {
        {"", 0},
        {"-", 0},  // no digit: +0.0 even after a sign
        {"-.", 0},
        {"-.e5", 0},
        {"-0", 0x8000000000000000ull},
        {"-0.000", 0x8000000000000000ull},
        {"1", 0x3FF0000000000000ull},
        {"  \t1.5", 0x3FF8000000000000ull},
        {"+1.5", 0x3FF8000000000000ull},
        {"1.5e", 0x3FF8000000000000ull},
        {"1.5e+", 0x3FF8000000000000ull},
        {"1.5d3", 0x4097700000000000ull},
        {"1.5D+3", 0x4097700000000000ull},
        {"1.5E3", 0x4097700000000000ull},
        {"1e5", 0x40F86A0000000000ull},  // the conversion reads it; the real grammar does not
        {".5", 0x3FE0000000000000ull},
        {"5.", 0x4014000000000000ull},
        {"12a", 0x4028000000000000ull},
        {"1,5", 0x3FF0000000000000ull},
        {"0x10", 0},
        {"inf", 0},
        {"-nan", 0},
        {"1.0e999", 0x7FF0000000000000ull},
        {"-1e400", 0xFFF0000000000000ull},
        {"1e99999999999999999999", 0x7FF0000000000000ull},
        {"1e-400", 0},
        {"-1e-400", 0x8000000000000000ull},
        {"0e999999", 0},
        {"0.1", 0x3FB999999999999Aull},
        {"3.40282346639e38", 0x47EFFFFFE00030B7ull},
        {"1.7976931348623157e308", 0x7FEFFFFFFFFFFFFFull},
        {"1.7976931348623158e308", 0x7FEFFFFFFFFFFFFFull},  // below the half-way point
        {"1.7976931348623159e308", 0x7FF0000000000000ull},
        {"2.2250738585072011e-308", 0x000FFFFFFFFFFFFFull},
        {"2.2250738585072012e-308", 0x0010000000000000ull},
        {"4.9406564584124654e-324", 0x0000000000000001ull},
        {"2.4703282292062327e-324", 0},  // just below half the least subnormal
        {"2.4703282292062328e-324", 0x0000000000000001ull},
        {"9007199254740993", 0x4340000000000000ull},  // a tie: to even
        {"9007199254740995", 0x4340000000000002ull},
        {"9007199254740993.0000000000000000000000000001", 0x4340000000000001ull},
        {"0.000000000000000000000000000000000000000000001e45", 0x3FF0000000000000ull},
        {"1000000000000000000000000000000000000000000000000e-48", 0x3FF0000000000000ull},
        {"123456789012345678901234567890", 0x45F8EE90FF6C373Eull},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DoubleBits(TextToDouble(c.text)), c.bits) << '"' << c.text << '"';
    }
}

TEST(TextToDouble, DigitsBeyondEightHundredStillDecideATie) {
    const std::string zeros(900, '0');
    EXPECT_EQ(DoubleBits(TextToDouble(("9007199254740993." + zeros).c_str())), 0x4340000000000000ull);
    EXPECT_EQ(DoubleBits(TextToDouble(("9007199254740993." + zeros + "1").c_str())), 0x4340000000000001ull);
    EXPECT_EQ(DoubleBits(TextToDouble(("9007199254740993" + zeros + "1e-901").c_str())),
              0x4340000000000001ull);
    EXPECT_EQ(DoubleBits(TextToDouble(("0." + zeros + "1e901").c_str())), 0x3FF0000000000000ull);
}

// Every double written with its correctly rounded 17 digits must read back to the same bits.
TEST(TextToDouble, SeventeenDigitsReadBackExactly) {
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 6000; ++i) {
        uint64_t bits = random();
        if (i % 4 == 1) bits &= 0x800FFFFFFFFFFFFFull;                                  // subnormals
        if (i % 4 == 2) bits = (bits & 0x000FFFFFFFFFFFFFull) | 0x7FE0000000000000ull;  // near the top
        if (((bits >> 52) & 0x7FF) == 0x7FF || (bits & 0x7FFFFFFFFFFFFFFFull) == 0) continue;
        double value;
        std::memcpy(&value, &bits, sizeof value);
        char digits[17];
        int point = 0;
        DecimalDigits17(value, digits, &point);
        const std::string text =
            std::string(value < 0 ? "-0." : "0.") + std::string(digits, 17) + "e" + std::to_string(point);
        ASSERT_EQ(DoubleBits(TextToDouble(text.c_str())), bits) << text;
    }
}

#ifdef __GLIBC__
// glibc's strtod is correctly rounded: random decimal texts must agree with it.
TEST(TextToDouble, AgreesWithACorrectlyRoundingLibrary) {
    std::mt19937 random(42);
    for (int i = 0; i < 6000; ++i) {
        std::string text;
        const int digits = 1 + static_cast<int>(random() % 40);
        for (int d = 0; d < digits; ++d) text += static_cast<char>('0' + random() % 10);
        text.insert(random() % (text.size() + 1), ".");
        text += "e" + std::to_string(static_cast<int>(random() % 700) - 350);
        ASSERT_EQ(DoubleBits(TextToDouble(text.c_str())), DoubleBits(std::strtod(text.c_str(), nullptr)))
            << text;
    }
}
#endif

TEST(TextToInteger, WrapsModuloTwoToTheThirtyTwo) {
    const struct {
        const char* text;
        uint32_t value;
    } cases[] = {
        {"", 0},
        {"-", 0},
        {"+", 0},
        {"0", 0},
        {"007", 7},
        {"  +12x", 12},
        {"\n-5", 0xFFFFFFFBu},
        {"-1", 0xFFFFFFFFu},
        {"2147483648", 0x80000000u},
        {"-2147483648", 0x80000000u},
        {"3000000000", 0xB2D05E00u},
        {"4294967295", 0xFFFFFFFFu},
        {"4294967296", 0},
        {"99999999999", 1215752191u},
        {"1e3", 1},
        {"--5", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(TextToInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(ReadHexNumber, ReadsAtMostTheGivenDigits) {
    const struct {
        const char* text;
        unsigned maxDigits;
        bool read;
        uint32_t value;
    } cases[] = {
        {"", 2, false, 0},         {"G1", 8, false, 0},        {"A", 2, true, 0xA},
        {"ab", 2, true, 0xAB},     {"ABC", 2, true, 0xAB},     {"1234", 4, true, 0x1234},
        {"fFfF", 4, true, 0xFFFF}, {"12345", 4, true, 0x1234}, {"DEADBEEF1", 8, true, 0xDEADBEEF},
        {"12G4", 8, true, 0x12},
    };
    for (const auto& c : cases) {
        uint32_t value = 0;
        EXPECT_EQ(ReadHexNumber(c.text, c.maxDigits, &value), c.read) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

// The exact value of each double, read as text straight to single precision.
TEST(TextToRealBits, SingleIsNearestTiesToEvenWithoutSpuriousOverflow) {
    const struct {
        double value;
        uint32_t bits;
    } cases[] = {
        {1.0, 0x3F800000u},
        {-2.5, 0xC0200000u},
        {0.1, 0x3DCCCCCDu},
        {100000.0, 0x47C35000u},
        {0.0, 0},
        {-0.0, 0x80000000u},
        {1.0 + std::ldexp(1.0, -24), 0x3F800000u},      // tie, even stays
        {1.0 + 3 * std::ldexp(1.0, -24), 0x3F800002u},  // tie, odd rounds up
        {1.0 + std::ldexp(1.0, -24) + std::ldexp(1.0, -50), 0x3F800001u},
        {3.4028234663852886e38, 0x7F7FFFFFu},
        {3.40282346639e38, 0x7F7FFFFFu},              // the typed limit gives the largest single
        {std::ldexp(0x1FFFFFFp0, 103), 0x7F800000u},  // half-way to 2^128: infinity
        {std::ldexp(0x1FFFFFFp0, 103) - std::ldexp(1.0, 75), 0x7F7FFFFFu},  // just below half-way
        {-3.40282346639e38, 0xFF7FFFFFu},
        {1e39, 0x7F800000u},
        {std::ldexp(1.0, -149), 0x00000001u},
        {std::ldexp(1.0, -150), 0},            // tie between 0 and the least: even
        {std::ldexp(3.0, -150), 0x00000002u},  // tie between 1 and 2 units: even
        {std::ldexp(1.0, -150) + std::ldexp(1.0, -170), 0x00000001u},
        {std::ldexp(1.0, -126) - std::ldexp(1.0, -151), 0x00800000u},  // rounds up to the least normal
        {std::ldexp(1.0, -126), 0x00800000u},
        {1e-320, 0},
        {HUGE_VAL, 0x7F800000u},
        {-HUGE_VAL, 0xFF800000u},
    };
    for (const auto& c : cases) {
        std::string text;
        if (std::isfinite(c.value)) {
            AppendExactValue(kDoubleFormat, DoubleBits(c.value), &text);
        } else {
            text = c.value < 0 ? "-1e999" : "1e999";  // the window reads no inf word
        }
        EXPECT_EQ(TextToRealBits(text.c_str(), kSingleFormat), c.bits) << text;
        if (std::isfinite(c.value) && std::fabs(c.value) <= 3.4028234663852886e38) {
            const float single = static_cast<float>(c.value);  // the hardware's own rounding agrees
            uint32_t bits;
            std::memcpy(&bits, &single, sizeof bits);
            EXPECT_EQ(TextToRealBits(text.c_str(), kSingleFormat), bits) << text;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// ValidateInput

enum Verdict { kAccept, kRange, kBad };

struct ValidateCase {
    uint32_t mode;
    uint32_t byteCount;
    const char* text;
    Verdict verdict;
};

const ValidateCase kValidateCases[] = {
    {IDM_SIGNED, 1, "-128", kAccept},
    {IDM_SIGNED, 1, "+127", kAccept},
    {IDM_SIGNED, 1, "", kAccept},
    {IDM_SIGNED, 1, "-", kAccept},
    {IDM_SIGNED, 1, "+", kAccept},
    {IDM_SIGNED, 1, "007", kAccept},
    {IDM_SIGNED, 1, "-129", kRange},
    {IDM_SIGNED, 1, "128", kRange},
    {IDM_SIGNED, 1, "1e3", kRange},  // the range test comes before the syntax
    {IDM_SIGNED, 1, "12a", kBad},
    {IDM_SIGNED, 1, " 5", kBad},
    {IDM_SIGNED, 1, "--5", kBad},
    {IDM_SIGNED, 1, "5-", kBad},
    {IDM_SIGNED, 1, "1.0", kBad},
    {IDM_SIGNED, 2, "-32768", kAccept},
    {IDM_SIGNED, 2, "32768", kRange},
    {IDM_SIGNED, 4, "-2147483648", kAccept},
    {IDM_SIGNED, 4, "2147483648", kRange},
    {IDM_SIGNED, 4, "-2147483649", kRange},
    {IDM_UNSIGNED, 1, "255", kAccept},
    {IDM_UNSIGNED, 1, "256", kRange},
    {IDM_UNSIGNED, 1, "", kAccept},
    {IDM_UNSIGNED, 1, "+", kBad},
    {IDM_UNSIGNED, 1, "+5", kBad},
    {IDM_UNSIGNED, 1, "-1", kBad},  // no lower limit: the syntax rejects it
    {IDM_UNSIGNED, 1, "-1e9", kBad},
    {IDM_UNSIGNED, 2, "65535", kAccept},
    {IDM_UNSIGNED, 2, "65536", kRange},
    {IDM_UNSIGNED, 4, "4294967295", kAccept},
    {IDM_UNSIGNED, 4, "3000000000", kAccept},
    {IDM_UNSIGNED, 4, "4294967296", kRange},
    {IDM_UNSIGNED, 4, "-1", kBad},
    {IDM_REAL, 4, "1.e5", kAccept},
    {IDM_REAL, 4, "1e5", kBad},
    {IDM_REAL, 4, "1.5e", kAccept},
    {IDM_REAL, 4, "1.5e+", kAccept},
    {IDM_REAL, 4, "1.5E-3", kAccept},
    {IDM_REAL, 4, ".5", kAccept},
    {IDM_REAL, 4, "5.", kAccept},
    {IDM_REAL, 4, "-", kAccept},
    {IDM_REAL, 4, "", kAccept},
    {IDM_REAL, 4, "-0", kAccept},
    {IDM_REAL, 4, ".", kBad},
    {IDM_REAL, 4, "-.", kBad},
    {IDM_REAL, 4, ".e5", kBad},
    {IDM_REAL, 4, "1.5d3", kBad},
    {IDM_REAL, 4, "1.5e3.", kBad},
    {IDM_REAL, 4, "1.5e+-3", kBad},
    {IDM_REAL, 4, "1..5", kBad},
    {IDM_REAL, 4, "+-1", kBad},
    {IDM_REAL, 4, " 1.5", kBad},
    {IDM_REAL, 4, "3.40282346639e+038", kAccept},
    {IDM_REAL, 4, "-3.40282346639e38", kAccept},
    {IDM_REAL, 4, "3.4028234664e38", kRange},
    {IDM_REAL, 4, "-3.4028234664e38", kRange},
    {IDM_REAL, 4, "1e39x", kRange},
    {IDM_REAL, 8, "1.5d3", kAccept},
    {IDM_REAL, 8, "1.5D-3", kAccept},
    {IDM_REAL, 8, "1.0e999", kAccept},  // no range test: +infinity
    {IDM_REAL, 8, "1.5x", kBad},
    {IDM_REAL, 8, "1.5f3", kBad},
    {IDM_HEXBOX, 4, "0123456789abcdefABCDEF", kAccept},
    {IDM_HEXBOX, 4, "", kAccept},
    {IDM_HEXBOX, 4, "12G4", kBad},
    {IDM_HEXBOX, 4, "1e999", kAccept},  // hex digits: no range test here
    {IDM_HEXBOX, 4, "-1", kBad},
    {0, 4, "1", kBad},  // any other mode is an invalid text
    {IDM_REPORT, 4, "", kBad},
    {IDM_VALUEBOX, 4, "1", kBad},
};

TEST(ValidateInput, RangeBeforeSyntaxInEveryMode) {
    for (const ValidateCase& c : kValidateCases) {
        ResetState();
        AlertRecorder recorder;
        ByteCount = c.byteCount;
        DataType = IDM_SIGNED;  // the mode decides, not DataType
        CopyText(WorkText, c.text);
        int owner = 0;
        const unsigned result = ValidateInput(c.mode, &owner);
        const std::string where =
            std::to_string(c.mode) + "/" + std::to_string(c.byteCount) + " \"" + c.text + "\"";
        EXPECT_EQ(result, c.verdict == kAccept ? 1u : 0u) << where;
        EXPECT_EQ(recorder.Log(), c.verdict == kAccept  ? ""
                                  : c.verdict == kRange ? kOutOfRange
                                                        : kInvalid)
            << where;
        if (c.verdict != kAccept) {
            EXPECT_EQ(recorder.LastOwner(), &owner) << where;
        }
        EXPECT_STREQ(WorkText, c.text) << where;  // judged, never changed
    }
}

TEST(ValidateInput, WithoutErrorBoxesOnlyBeeps) {
    for (const char* text : {"128", "12a"}) {
        ResetState();
        AlertRecorder recorder;
        ErrorBoxes = 0;
        ByteCount = 1;
        CopyText(MessageText, "untouched");
        CopyText(WorkText, text);
        EXPECT_EQ(ValidateInput(IDM_SIGNED, nullptr), 0u);
        EXPECT_EQ(recorder.Log(), "beep;");
        EXPECT_STREQ(MessageText, "untouched");
    }
}

TEST(ValidateInput, CharactersAreCutAndAlwaysAccepted) {
    const struct {
        uint32_t byteCount;
        const char* text;
        const char* cut;
    } cases[] = {
        {1, "AB", "A"}, {2, "ABC", "AB"}, {4, "1e999", "1e99"}, {8, "-.x\t", "-.x\t"}, {8, "", ""},
    };
    for (uint32_t mode : {static_cast<uint32_t>(IDM_ANSI), static_cast<uint32_t>(IDM_OEM)}) {
        for (const auto& c : cases) {
            ResetState();
            AlertRecorder recorder;
            ByteCount = c.byteCount;
            CopyText(WorkText, c.text);
            EXPECT_EQ(ValidateInput(mode, nullptr), 1u);
            EXPECT_STREQ(WorkText, c.cut);
            EXPECT_EQ(recorder.Log(), "");
        }
    }
}

TEST(ValidateInput, UnexpectedByteCountIsAnInternalErrorWithoutInputBeep) {
    const struct {
        uint32_t mode;
        uint32_t byteCount;
        const char* message;
    } cases[] = {
        {IDM_SIGNED, 8, "Unexpected Byte Count in ValidateInput/IDM_SIGNED"},
        {IDM_SIGNED, 3, "Unexpected Byte Count in ValidateInput/IDM_SIGNED"},
        {IDM_UNSIGNED, 8, "Unexpected Byte Count in ValidateInput/IDM_UNSIGNED"},
        {IDM_REAL, 2, "Unexpected Byte Count in ValidateInput/IDM_REAL"},
        {IDM_REAL, 1, "Unexpected Byte Count in ValidateInput/IDM_REAL"},
        {IDM_SHADE, 3, "Unexpected Byte Count in ValidateInput/IDM_SHADE"},
    };
    for (const auto& c : cases) {
        ResetState();
        AlertRecorder recorder;
        ByteCount = c.byteCount;
        CopyText(WorkText, "99999");  // out of every range: the size is judged first
        EXPECT_EQ(ValidateInput(c.mode, nullptr), 0u) << c.message;
        EXPECT_EQ(recorder.Log(), InternalBox(c.message));
    }
}

TEST(ValidateInput, ShadeModeClassifiesTheReal) {
    ResetState();
    ByteCount = 8;
    SetValue64(0xFFF0000000000000ull);
    CopyText(WorkText, "12a");
    EXPECT_EQ(ValidateInput(IDM_SHADE, nullptr), 0u);
    EXPECT_STREQ(WorkText, "-Infinity");
    SetValue64(0x3FF0000000000000ull);
    EXPECT_EQ(ValidateInput(IDM_SHADE, nullptr), 1u);
    EXPECT_STREQ(WorkText, "-Infinity");
}

// ---------------------------------------------------------------------------------------------
// The edit boxes

struct BoxCase {
    uint32_t dataType;
    uint32_t byteCount;
    uint64_t before;
    const char* lastText;
    const char* boxText;
    int caret;
    Verdict verdict;
    uint64_t after;
    const char* lastAfter;
    int caretAfter;
};

void ExpectBoxCase(const BoxCase& c, bool hexBox) {
    ResetState();
    AlertRecorder recorder;
    DataType = c.dataType;
    ByteCount = c.byteCount;
    SetValue64(c.before);
    if (hexBox) {
        CopyText(LastHexText, c.lastText);
    } else {
        CopyText(LastValueText, c.lastText);
    }
    const EditOutcome outcome =
        hexBox ? HexBoxEdited(c.boxText, c.caret, nullptr) : ValueBoxEdited(c.boxText, c.caret, nullptr);
    const std::string where = std::to_string(c.dataType) + "/" + std::to_string(c.byteCount) + " \"" +
                              c.lastText + "\" -> \"" + c.boxText + "\"";
    EXPECT_EQ(outcome.accepted, c.verdict == kAccept) << where;
    EXPECT_EQ(outcome.bitsChanged, c.after != c.before) << where;
    EXPECT_EQ(outcome.caret, c.caretAfter) << where;
    EXPECT_EQ(Value64(), c.after) << where << std::hex << " got " << Value64();
    EXPECT_STREQ(hexBox ? LastHexText : LastValueText, c.lastAfter) << where;
    EXPECT_EQ(recorder.Log(), c.verdict == kAccept  ? ""
                              : c.verdict == kRange ? kOutOfRange
                                                    : kInvalid)
        << where;
}

constexpr uint64_t kHigh = 0xA1B2C3D4E5F60718ull;  // bytes that must survive above the view

TEST(EditBoxes, ValueBoxStoresTheLowBytesOnly) {
    const BoxCase cases[] = {
        {IDM_SIGNED, 1, kHigh, "24", "-128", 4, kAccept, 0xA1B2C3D4E5F60780ull, "-128", 4},
        {IDM_SIGNED, 1, kHigh, "24", "007", 3, kAccept, 0xA1B2C3D4E5F60707ull, "007", 3},
        {IDM_SIGNED, 1, kHigh, "24", "24", 2, kAccept, kHigh, "24", 2},
        {IDM_SIGNED, 1, kHigh, "24", "024", 1, kAccept, kHigh, "024", 1},  // same bits
        {IDM_SIGNED, 2, kHigh, "", "-", 1, kAccept, 0xA1B2C3D4E5F60000ull, "-", 1},
        {IDM_SIGNED, 4, kHigh, "", "-2147483648", 11, kAccept, 0xA1B2C3D480000000ull, "-2147483648", 11},
        {IDM_UNSIGNED, 4, kHigh, "", "4294967295", 10, kAccept, 0xA1B2C3D4FFFFFFFFull, "4294967295", 10},
        {IDM_UNSIGNED, 4, kHigh, "", "3000000000", 10, kAccept, 0xA1B2C3D4B2D05E00ull, "3000000000", 10},
        {IDM_UNSIGNED, 2, kHigh, "1816", "", 0, kAccept, 0xA1B2C3D4E5F60000ull, "", 0},
        {IDM_REAL, 4, kHigh, "0.5", "1.e5", 4, kAccept, 0xA1B2C3D447C35000ull, "1.e5", 4},
        {IDM_REAL, 4, kHigh, "0.5", "-0", 2, kAccept, 0xA1B2C3D480000000ull, "-0", 2},
        {IDM_REAL, 4, kHigh, "0.5", "", 0, kAccept, 0xA1B2C3D400000000ull, "", 0},
        {IDM_REAL, 4, kHigh, "0.5", "1.5e", 4, kAccept, 0xA1B2C3D43FC00000ull, "1.5e", 4},
        {IDM_REAL, 4, kHigh, "", "3.40282346639e+038", 18, kAccept, 0xA1B2C3D47F7FFFFFull,
         "3.40282346639e+038", 18},
        {IDM_REAL, 8, kHigh, "1.5d", "1.5d3", 5, kAccept, 0x4097700000000000ull, "1.5d3", 5},
        {IDM_REAL, 8, kHigh, "1.0e99", "1.0e999", 7, kAccept, 0x7FF0000000000000ull, "1.0e999", 7},
        {IDM_REAL, 8, kHigh, "1.", "-", 0, kAccept, 0, "-", 0},  // a sign alone is +0.0
        {IDM_ANSI, 1, kHigh, "A", "AB", 2, kAccept, 0xA1B2C3D4E5F60741ull, "A", 2},
        {IDM_ANSI, 4, kHigh, "", "AB", 2, kAccept, 0xA1B2C3D400004241ull, "AB", 2},
        {IDM_OEM, 2, kHigh, "AB", "", 0, kAccept, 0xA1B2C3D4E5F60000ull, "", 0},
        {IDM_OEM, 8, kHigh, "", "12345678", 8, kAccept, 0x3837363534333231ull, "12345678", 8},
    };
    for (const BoxCase& c : cases) ExpectBoxCase(c, false);
}

// A 4-byte real used to be read as a double and that double rounded again to single precision: a
// text just past a single's half-way point landed on the half-way double and then on the even
// neighbour. The text is rounded once now, as explain rounds it.
TEST(EditBoxes, SingleFromTextIsRoundedOnceNotTwice) {
    const BoxCase cases[] = {
        {IDM_REAL, 4, 0, "1.", "1.0000000596046448", 18, kAccept, 0x3F800001, "1.0000000596046448", 18},
        {IDM_REAL, 4, 0, "1.", "1.000000059604644775390625", 26, kAccept, 0x3F800000,
         "1.000000059604644775390625", 26},  // the half-way point itself: even
        {IDM_REAL, 4, 0, "1.", "1.0000001788139343", 18, kAccept, 0x3F800001, "1.0000001788139343", 18},
        {IDM_REAL, 4, 0, "7.", "7.0064923216240854e-46", 22, kAccept, 0x00000001, "7.0064923216240854e-46",
         22},
        {IDM_REAL, 4, 0, "-1.", "-1.0000000596046448", 19, kAccept, 0xBF800001, "-1.0000000596046448", 19},
    };
    for (const BoxCase& c : cases) ExpectBoxCase(c, false);
}

TEST(EditBoxes, ValueBoxRejectionMovesTheCaretBackOverWhatWasAdded) {
    const BoxCase cases[] = {
        {IDM_SIGNED, 1, 12, "12", "12a", 3, kBad, 12, "12", 2},
        {IDM_SIGNED, 1, 12, "12", "1a2", 2, kBad, 12, "12", 1},
        {IDM_SIGNED, 1, 12, "12", "128", 3, kRange, 12, "12", 2},
        {IDM_SIGNED, 1, 12, "12", "1x", 2, kBad, 12, "12", 2},     // a replaced digit: nothing added
        {IDM_SIGNED, 1, 12, "12", "xyz12", 3, kBad, 12, "12", 0},  // a pasted text
        {IDM_SIGNED, 1, 12, "12", "--5", 1, kBad, 12, "12", 0},    // never left of the start
        {IDM_UNSIGNED, 4, 7, "7", "+7", 1, kBad, 7, "7", 0},
        {IDM_REAL, 4, 0x3F800000, "1.", "1.e", 3, kAccept, 0x3F800000, "1.e", 3},
        {IDM_REAL, 4, 0x3F800000, "1.", "1.5d3", 5, kBad, 0x3F800000, "1.", 2},
        {IDM_REAL, 4, 0x3F800000, "1.", "3.4028234664e38", 15, kRange, 0x3F800000, "1.", 2},
        {0, 4, 5, "5", "55", 2, kBad, 5, "5", 1},  // no data type: an invalid text
    };
    for (const BoxCase& c : cases) ExpectBoxCase(c, false);
}

// A number longer than LastValueText holds used to be cut to 35 characters and the cut text stored:
// a value the user never typed. It is refused whole now; characters and hex digits are fields of a
// fixed width and are still cut to it.
TEST(EditBoxes, ValueBoxRefusesANumberTooLongToKeepInsteadOfCuttingIt) {
    const std::string zeros34(34, '0');
    const std::string ones35 = zeros34 + "1";  // 35 characters: accepted
    const std::string ones36 = "0" + ones35;   // 36: refused
    const std::string tenth35 = "0.1" + std::string(32, '0');
    const std::string tenth36 = tenth35 + "0";
    const std::string tiny36 = "0." + std::string(33, '0') + "1";
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMN";
    const BoxCase cases[] = {
        {IDM_SIGNED, 4, 7, "7", ones35.c_str(), 35, kAccept, 1, ones35.c_str(), 35},
        {IDM_SIGNED, 4, 7, "7", ones36.c_str(), 36, kBad, 7, "7", 1},
        {IDM_UNSIGNED, 2, 7, "7", ones35.c_str(), 35, kAccept, 1, ones35.c_str(), 35},
        {IDM_UNSIGNED, 2, 7, "7", ones36.c_str(), 36, kBad, 7, "7", 1},
        {IDM_REAL, 8, 0, "0.", tenth35.c_str(), 35, kAccept, 0x3FB999999999999Aull, tenth35.c_str(), 35},
        {IDM_REAL, 8, 0, "0.", tenth36.c_str(), 36, kBad, 0, "0.", 2},
        {IDM_REAL, 4, 0x3F800000, "1.", tiny36.c_str(), 36, kBad, 0x3F800000, "1.", 2},
        {IDM_ANSI, 2, 0, "", letters.c_str(), 40, kAccept, 0x4241, "AB", 40},
    };
    for (const BoxCase& c : cases) ExpectBoxCase(c, false);
    const BoxCase hex{IDM_SIGNED, 1, 0, "00", "ABC", 3, kAccept, 0xAB, "AB", 3};
    ExpectBoxCase(hex, true);
}

TEST(EditBoxes, ValueBoxKeepsATwentyFourCharacterRealWhole) {
    // Rendered from -1.7976931348623157e+308: 24 characters. Read back at the next keystroke it
    // must not be cut to 23 ("...e+30"), which would change the value by a factor of 10^278.
    const char* rendered = "-1.7976931348623157e+308";
    const BoxCase cases[] = {
        {IDM_REAL, 8, 0xFFEFFFFFFFFFFFFFull, rendered, rendered, 10, kAccept, 0xFFEFFFFFFFFFFFFFull, rendered,
         10},
        {IDM_REAL, 8, 0xFFEFFFFFFFFFFFFFull, rendered, "-1.79769313486231570e+308", 20, kAccept,
         0xFFEFFFFFFFFFFFFFull, "-1.79769313486231570e+308", 20},
        {IDM_REAL, 8, 0xFFEFFFFFFFFFFFFFull, rendered, "-1.7976931348623157e+3080", 25, kAccept,
         0xFFF0000000000000ull, "-1.7976931348623157e+3080", 25},
        {IDM_REAL, 8, 0xFFEFFFFFFFFFFFFFull, rendered, "-1.7976931348623157e+308x", 25, kBad,
         0xFFEFFFFFFFFFFFFFull, rendered, 24},
    };
    for (const BoxCase& c : cases) ExpectBoxCase(c, false);

    ResetState();
    DataType = IDM_REAL;
    ByteCount = 8;
    SetValue64(0xFFEFFFFFFFFFFFFFull);
    RenderValueText(cv::LastValueText, sizeof cv::LastValueText, nullptr);
    const std::string text = LastValueText;
    ASSERT_EQ(text, rendered);
    const EditOutcome outcome = ValueBoxEdited(text.c_str(), 3, nullptr);
    EXPECT_TRUE(outcome.accepted);
    EXPECT_FALSE(outcome.bitsChanged);
    EXPECT_EQ(Value64(), 0xFFEFFFFFFFFFFFFFull);
}

TEST(EditBoxes, HexBoxReadsRightAlignedWithinTheWidth) {
    const BoxCase cases[] = {
        {IDM_SIGNED, 1, kHigh, "AB", "ABC", 3, kAccept, (kHigh & ~0xFFull) | 0xAB, "AB", 3},
        {IDM_SIGNED, 1, kHigh, "AB", "CAB", 1, kAccept, (kHigh & ~0xFFull) | 0xCA, "CA", 1},
        {IDM_SIGNED, 1, kHigh, "18", "7", 1, kAccept, (kHigh & ~0xFFull) | 0x07, "7", 1},
        {IDM_SIGNED, 1, kHigh, "18", "", 0, kAccept, kHigh, "", 0},
        {IDM_SIGNED, 2, kHigh, "0718", "1", 1, kAccept, (kHigh & ~0xFFFFull) | 0x0001, "1", 1},
        {IDM_SIGNED, 2, kHigh, "0718", "", 0, kAccept, kHigh, "", 0},
        {IDM_REAL, 4, kHigh, "", "3f800000", 8, kAccept, 0xA1B2C3D43F800000ull, "3f800000", 8},
        {IDM_REAL, 4, kHigh, "E5F60718", "", 0, kAccept, kHigh, "", 0},
        {IDM_REAL, 4, kHigh, "E5F60718", "E5F60718", 3, kAccept, kHigh, "E5F60718", 3},
        {IDM_REAL, 4, kHigh, "E5F60718", "E5F607189", 9, kAccept, kHigh, "E5F60718", 9},
        {IDM_REAL, 8, kHigh, "A1B2C3D4E5F60718", "", 0, kAccept, 0, "", 0},
        {IDM_REAL, 8, kHigh, "", "1", 1, kAccept, 1, "1", 1},
        {IDM_REAL, 8, kHigh, "", "123456789", 9, kAccept, 0x0000000123456789ull, "123456789", 9},
        {IDM_REAL, 8, 0, "", "0123456789ABCDEF0123456789", 26, kAccept, 0x0123456789ABCDEFull,
         "0123456789ABCDEF", 26},
    };
    for (const BoxCase& c : cases) ExpectBoxCase(c, true);
}

TEST(EditBoxes, HexBoxRejectionMovesTheCaretBack) {
    const BoxCase cases[] = {
        {IDM_SIGNED, 4, 0x12345678, "12345678", "123G45678", 4, kBad, 0x12345678, "12345678", 3},
        {IDM_SIGNED, 4, 0x12345678, "12345678", "G12345678", 1, kBad, 0x12345678, "12345678", 0},
        {IDM_SIGNED, 4, 0x12345678, "12345678", "1234567G", 8, kBad, 0x12345678, "12345678", 8},
        // Only what the cut keeps is judged; the caret counts every character read (at most 23).
        {IDM_SIGNED, 1, 0xAB, "AB", "ABG", 3, kAccept, 0xAB, "AB", 3},
        {IDM_SIGNED, 1, 0xAB, "AB", "GAB", 1, kBad, 0xAB, "AB", 0},
        {IDM_REAL, 8, 5, "5", "G000000000000000000000000000000", 30, kBad, 5, "5", 8},
    };
    for (const BoxCase& c : cases) ExpectBoxCase(c, true);
}

TEST(EditBoxes, StoringInternalErrorsLeaveTheirShortText) {
    const struct {
        uint32_t dataType;
        uint32_t byteCount;
        bool hex;
        const char* message;
        const char* workText;
    } cases[] = {
        {IDM_SIGNED, 3, false, "Unexpected Byte Count in WndProc/IDM_VALUEBOX/EN_UPDATE/IDM_SIGNED",
         "Unexpected Byte Count"},
        {IDM_UNSIGNED, 8, false, "Unexpected Byte Count in WndProc/IDM_VALUEBOX/EN_UPDATE/IDM_UNSIGNED",
         "Unexpected Byte Count"},
        {IDM_REAL, 2, false, "Unexpected Byte Count in WndProc/IDM_VALUEBOX/EN_UPDATE/IDM_REAL",
         "Unexpected Byte Count"},
        {0, 4, false, "Unexpected Data Type in WndProc/IDM_VALUEBOX/EN_UPDATE", "Unexpected Data Type"},
        {IDM_SIGNED, 3, true, "Unexpected Byte Count in WndProc/IDM_HEXBOX/EN_UPDATE/IDM_REAL",
         "Unexpected Byte Count"},
    };
    for (const auto& c : cases) {
        ResetState();
        AlertRecorder recorder;
        DataType = c.dataType;
        ByteCount = c.byteCount;
        SetValue64(kHigh);
        CopyText(WorkText, "12");
        if (c.hex) {
            StoreHexText(nullptr);
        } else {
            StoreValueText(nullptr);
        }
        EXPECT_STREQ(MessageText, c.message);
        EXPECT_EQ(recorder.Log(), InternalBox(c.message));
        EXPECT_STREQ(WorkText, c.workText);
        EXPECT_EQ(Value64(), kHigh);
    }
}

TEST(EditBoxes, HexBoxWithUnexpectedByteCountShowsTheCutErrorText) {
    ResetState();
    AlertRecorder recorder;
    ByteCount = 3;
    SetValue64(kHigh);
    CopyText(LastHexText, "F60718");
    const EditOutcome outcome = HexBoxEdited("ABCDEF12", 8, nullptr);
    EXPECT_TRUE(outcome.accepted);
    EXPECT_FALSE(outcome.bitsChanged);
    EXPECT_EQ(Value64(), kHigh);
    EXPECT_STREQ(WorkText, "Unexpected Byte Count");
    EXPECT_STREQ(LastHexText, "Unexpected Byte Cou");
    EXPECT_EQ(recorder.Log(), InternalBox("Unexpected Byte Count in WndProc/IDM_HEXBOX/EN_UPDATE/IDM_REAL"));
}

}  // namespace
}  // namespace cv
