#include "engine/value_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/engine/alert_recorder.h"

namespace cv {
namespace {

struct RenderCase {
    uint32_t dataType;
    uint32_t byteCount;
    uint64_t bits;
    const char* text;
};

TEST(ValueText, IntegersAndCharactersReadOnlyTheView) {
    const RenderCase cases[] = {
        {IDM_SIGNED, 1, 0xFF, "-1"},
        {IDM_UNSIGNED, 1, 0xFF, "255"},
        {IDM_SIGNED, 1, 0xABCDEF7F, "127"},  // bytes above the view play no part
        {IDM_SIGNED, 1, 0x80, "-128"},
        {IDM_SIGNED, 2, 0x8000, "-32768"},
        {IDM_UNSIGNED, 2, 0x8000, "32768"},
        {IDM_SIGNED, 2, 0xFFFF, "-1"},
        {IDM_UNSIGNED, 2, 0x1234FFFF, "65535"},
        {IDM_SIGNED, 4, 0x80000000, "-2147483648"},
        {IDM_UNSIGNED, 4, 0x80000000, "2147483648"},
        {IDM_SIGNED, 4, 0xFFFFFFFF00000000ull, "0"},
        {IDM_SIGNED, 4, 0x7FFFFFFF, "2147483647"},
        {IDM_UNSIGNED, 4, 0xFFFFFFFF, "4294967295"},
        {IDM_SIGNED, 4, 1000000, "1000000"},
        {IDM_ANSI, 4, 0x00420041, "A B "},
        {IDM_OEM, 4, 0x00420041, "A B "},
        {IDM_ANSI, 8, 0, "        "},
        {IDM_ANSI, 1, 0x4243, "C"},
        {IDM_ANSI, 2, 0x0A09, "\t\n"},  // control characters are copied unchanged
        {IDM_OEM, 8, 0x4847464544434241ull, "ABCDEFGH"},
        {IDM_ANSI, 2, 0xFF80, "\x80\xFF"},
    };
    for (const RenderCase& c : cases) {
        ResetState();
        AlertRecorder recorder;
        DataType = c.dataType;
        ByteCount = c.byteCount;
        SetValue64(c.bits);
        RenderValueText(cv::LastValueText, sizeof cv::LastValueText, nullptr);
        EXPECT_STREQ(WorkText, c.text) << c.dataType << " " << c.byteCount << " " << std::hex << c.bits;
        EXPECT_STREQ(LastValueText, c.text);
        EXPECT_EQ(Value64(), c.bits);
        EXPECT_EQ(recorder.Log(), "");
    }
}

TEST(ValueText, RealsThroughTheClassificationAndFormatReal) {
    const RenderCase cases[] = {
        {IDM_REAL, 4, 0x3F800000, "1."},
        {IDM_REAL, 4, 0xFFFFFFFF3F800000ull, "1."},
        {IDM_REAL, 4, 0x7F7FFFFF, "3.40282346639e+038"},
        {IDM_REAL, 4, 0x3DCCCCCD, "0.10000000149"},
        {IDM_REAL, 4, 0xC0200000, "-2.5"},
        {IDM_REAL, 4, 0x80000000, "-0.0"},
        {IDM_REAL, 4, 0x00000001, "+Denormalized Number"},
        {IDM_REAL, 4, 0x7F800000, "+Infinity"},
        {IDM_REAL, 4, 0xFF800000, "-Infinity"},
        {IDM_REAL, 4, 0x7FC00000, "+Not a Number"},
        {IDM_REAL, 4, 0xFFFFFFFF, "-Not a Number"},
        {IDM_REAL, 8, 0x3FF0000000000000ull, "1."},
        {IDM_REAL, 8, 0x3FB999999999999Aull, "0.10000000000000001"},
        {IDM_REAL, 8, 0x4090000000000000ull, "1024."},
        {IDM_REAL, 8, 0x0000000000000001ull, "+Denormalized Number"},
        {IDM_REAL, 8, 0x7FF0000000000001ull, "+Not a Number"},
        {IDM_REAL, 8, 0xFFF0000000000000ull, "-Infinity"},
        {IDM_REAL, 8, 0x0000000000000000ull, "+0.0"},
        // The longest rendering: 24 characters, which LastValueText holds whole.
        {IDM_REAL, 8, 0xFFEFFFFFFFFFFFFFull, "-1.7976931348623157e+308"},
        {IDM_REAL, 8, 0x8010000000000000ull, "-2.2250738585072014e-308"},
    };
    for (const RenderCase& c : cases) {
        ResetState();
        DataType = c.dataType;
        ByteCount = c.byteCount;
        SetValue64(c.bits);
        RenderValueText(cv::LastValueText, sizeof cv::LastValueText, nullptr);
        EXPECT_STREQ(WorkText, c.text) << c.byteCount << " " << std::hex << c.bits;
        EXPECT_STREQ(LastValueText, c.text);
    }
}

TEST(ValueText, ClassificationOfSpecialReals) {
    const struct {
        uint32_t byteCount;
        uint64_t bits;
        unsigned result;
        const char* text;  // "keep" when WorkText is not touched
    } cases[] = {
        {4, 0x3F800000, 1, "keep"},
        {4, 0x00800000, 1, "keep"},  // the least normal single
        {4, 0x7F7FFFFF, 1, "keep"},
        {4, 0x00000000, 0, "+0.0"},
        {4, 0x80000000, 0, "-0.0"},
        {4, 0x007FFFFF, 0, "+Denormalized Number"},
        {4, 0x80000001, 0, "-Denormalized Number"},
        {4, 0x7F800000, 0, "+Infinity"},
        {4, 0xFF800000, 0, "-Infinity"},
        {4, 0x7F800001, 0, "+Not a Number"},
        {4, 0xFFC00000, 0, "-Not a Number"},
        {4, 0x7FF0000000000000ull, 0, "+0.0"},  // only the low half counts for 4 bytes
        {8, 0x3FF0000000000000ull, 1, "keep"},
        {8, 0x0010000000000000ull, 1, "keep"},
        {8, 0x000000007F800000ull, 0, "+Denormalized Number"},  // the low half is fraction
        {8, 0x8000000000000000ull, 0, "-0.0"},
        {8, 0x0008000000000000ull, 0, "+Denormalized Number"},
        {8, 0x7FF0000000000000ull, 0, "+Infinity"},
        {8, 0x7FF0000000000001ull, 0, "+Not a Number"},
        {8, 0xFFF8000000000000ull, 0, "-Not a Number"},
    };
    for (const auto& c : cases) {
        ResetState();
        AlertRecorder recorder;
        ByteCount = c.byteCount;
        DataType = IDM_SIGNED;  // the classification does not look at the type
        SetValue64(c.bits);
        CopyText(WorkText, "keep");
        EXPECT_EQ(ClassifyReal(nullptr), c.result) << c.byteCount << " " << std::hex << c.bits;
        EXPECT_STREQ(WorkText, c.text) << c.byteCount << " " << std::hex << c.bits;
        EXPECT_EQ(recorder.Log(), "");
    }
}

TEST(ValueText, HexHasExactlyTwoDigitsPerByte) {
    const struct {
        uint32_t byteCount;
        uint64_t bits;
        const char* text;
    } cases[] = {
        {1, 0x123456789ABCDEF0ull, "F0"},
        {1, 0x05, "05"},
        {2, 0x8000, "8000"},
        {2, 0xFFFFFFFF000000ABull, "00AB"},
        {4, 0x3F800000, "3F800000"},
        {4, 0xFFFFFFFF0000000Aull, "0000000A"},
        {8, 0x3FF0000000000000ull, "3FF0000000000000"},
        {8, 0x123456789ABCDEF0ull, "123456789ABCDEF0"},
        {8, 0, "0000000000000000"},
    };
    for (const auto& c : cases) {
        for (uint32_t type : {0u, static_cast<uint32_t>(IDM_ANSI), static_cast<uint32_t>(IDM_REAL)}) {
            ResetState();
            AlertRecorder recorder;
            DataType = type;  // the hex text ignores the type
            ByteCount = c.byteCount;
            SetValue64(c.bits);
            RenderHexText(cv::LastHexText, sizeof cv::LastHexText, nullptr);
            EXPECT_STREQ(WorkText, c.text);
            EXPECT_STREQ(LastHexText, c.text);
            EXPECT_EQ(recorder.Log(), "");
        }
    }
}

std::string InternalBox(const std::string& text) {
    return "beep;beep;beep;box[Corvane Internal Error|" + text + "|64];";
}

TEST(ValueText, InternalErrorsOfTheValueBox) {
    const struct {
        uint32_t dataType;
        uint32_t byteCount;
        const char* message;
        const char* workText;
    } cases[] = {
        {0, 4, "Unexpected Data Type in WndProc/WM_RECALCVALUEBOX", "Unexpected Data Type"},
        {206, 4, "Unexpected Data Type in WndProc/WM_RECALCVALUEBOX", "Unexpected Data Type"},
        {IDM_SIGNED, 8, "Unexpected Byte Count in WndProc/IDM_SIGNED", "before"},
        {IDM_SIGNED, 3, "Unexpected Byte Count in WndProc/IDM_SIGNED", "before"},
        {IDM_UNSIGNED, 8, "Unexpected Byte Count in WndProc/IDM_UNSIGNED", "before"},
        // The classification meets the bad size first; the real's own check is never reached.
        {IDM_REAL, 2, "Unexpected Byte Count in ValidateInput/IDM_SHADE", "before"},
    };
    for (const auto& c : cases) {
        ResetState();
        AlertRecorder recorder;
        DataType = c.dataType;
        ByteCount = c.byteCount;
        SetValue64(0x0102030405060708ull);
        CopyText(WorkText, "before");
        int owner = 0;
        RenderValueText(cv::LastValueText, sizeof cv::LastValueText, &owner);
        EXPECT_STREQ(MessageText, c.message);
        EXPECT_EQ(recorder.Log(), InternalBox(c.message));
        EXPECT_EQ(recorder.LastOwner(), &owner);
        EXPECT_STREQ(WorkText, c.workText);
        EXPECT_STREQ(LastValueText, c.workText);
        EXPECT_EQ(Value64(), 0x0102030405060708ull);
    }
}

TEST(ValueText, ClassificationWithUnexpectedByteCountRejects) {
    ResetState();
    AlertRecorder recorder;
    ByteCount = 2;
    SetValue64(0x7F800000);
    CopyText(WorkText, "before");
    EXPECT_EQ(ClassifyReal(nullptr), 0u);
    EXPECT_STREQ(WorkText, "before");
    EXPECT_EQ(recorder.Log(), InternalBox("Unexpected Byte Count in ValidateInput/IDM_SHADE"));
}

TEST(ValueText, HexInternalErrorIsCutToFitLastHexText) {
    for (uint32_t bytes : {0u, 3u, 16u}) {
        ResetState();
        AlertRecorder recorder;
        ByteCount = bytes;
        RenderHexText(cv::LastHexText, sizeof cv::LastHexText, nullptr);
        EXPECT_EQ(recorder.Log(), InternalBox("Unexpected Byte Count in WndProc/WM_RECALCHEXBOX"));
        EXPECT_STREQ(WorkText, "Unexpected Byte Count");
        EXPECT_STREQ(LastHexText, "Unexpected Byte Cou");  // 19 characters and the terminator
    }
}

}  // namespace
}  // namespace cv
